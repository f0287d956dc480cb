// vkrtool read: the radio's whole memory into a channel file, or onto
// standard output; nothing at all when the read was not complete. A
// complete read is kept as a backup too.
#include "Commands.h"

#include "Console.h"
#include "ExitCodes.h"
#include "RadioReports.h"

int Commands::read(const QString &port, const QString &output)
{
    ToolRadio radio;
    if (const int failed = connectRadio(radio, port))
        return failed;
    const Session::ReadOutcome read =
        Session::readRadio(radio.connection(), &radio.backups(), Session::Phase::Reading, radio.observer());
    radio.endProgress();
    const int channelCount = radio.connection().channelCount();
    if (read.result.stopped) {
        Console::fail(QStringLiteral("interrupted; nothing was written."));
        return ExitCode::interrupted;
    }
    if (!read.isComplete()) {
        Console::fail(QStringLiteral("the read is incomplete (%1), so nothing was written; check the cable and "
                                     "read again.")
                          .arg(Session::describeIncompleteRead(read.result, channelCount)));
        return ExitCode::cannotUse;
    }
    reportKeptBackup(read);
    if (output.isEmpty() || output == QLatin1String("-")) {
        Console::outBytes(ChannelCsv::toBytes(read.channels));
        return ExitCode::success;
    }
    if (!ChannelCsv::writeFile(output, read.channels)) {
        Console::fail(QStringLiteral("could not write %1; check that its folder exists and may be written.").arg(output));
        return ExitCode::cannotUse;
    }
    Console::err(QStringLiteral("%1 channels of the %2 saved to %3")
                     .arg(channelCount)
                     .arg(radio.connection().modelLabel(), output));
    return ExitCode::success;
}
