// vkrtool read: the radio's whole memory into a channel file, or onto
// standard output; nothing at all when the read was not complete. A
// complete read is kept as a backup too.
#include "Commands.h"

#include "Console.h"
#include "ExitCodes.h"
#include "Interrupt.h"
#include "OutputTarget.h"
#include "QuotedText.h"
#include "RadioReports.h"

int Commands::read(const QString &port, const QString &output)
{
    // A folder that is missing is said before the radio is searched and read.
    const OutputTarget target(output);
    if (const int failed = target.check())
        return failed;
    ToolRadio radio;
    if (const int failed = connectRadio(radio, port))
        return failed;
    const Session::ReadOutcome read =
        Session::readRadio(radio.connection(), &radio.backups(), Session::Phase::Reading, radio.observer());
    radio.endProgress();
    const int channelCount = radio.connection().channelCount();
    if (read.result.stopped) {
        Console::fail(QStringLiteral("%1; nothing was written.").arg(Interrupt::what()));
        return Interrupt::exitCode();
    }
    if (!read.isComplete()) {
        Console::fail(QStringLiteral("the read is incomplete (%1), so nothing was written; check the cable and "
                                     "read again.")
                          .arg(Session::describeIncompleteRead(read.result, channelCount)));
        return ExitCode::cannotUse;
    }
    reportKeptBackup(read);
    if (!target.write(ChannelCsv::toBytes(read.channels)))
        return ExitCode::cannotUse;
    if (!target.isStandardOutput())
        Console::err(QStringLiteral("%1 channels of the %2 saved to %3")
                         .arg(channelCount)
                         .arg(radio.connection().modelLabel(), QuotedText::escaped(output)));
    return ExitCode::success;
}
