// vkrtool read: the radio's whole memory into a channel file, or onto
// standard output; nothing at all when the read was not complete.
#include "Commands.h"

#include "Console.h"
#include "ExitCodes.h"
#include "Interrupt.h"
#include "RadioSession.h"

int Commands::read(const QString &port, const QString &output)
{
    RadioSession radio;
    if (!radio.connect(port))
        return ExitCode::cannotUse;
    const RadioSession::Read read = radio.read(QStringLiteral("reading"));
    if (read.result.stopped || Interrupt::requested()) {
        Console::fail(QStringLiteral("interrupted; nothing was written."));
        return ExitCode::interrupted;
    }
    if (!read.complete()) {
        Console::fail(QStringLiteral("the read is incomplete (%1), so nothing was written; check the cable and "
                                     "read again.")
                          .arg(describeIncompleteRead(read, radio.channelCount())));
        return ExitCode::cannotUse;
    }
    if (output.isEmpty() || output == QLatin1String("-")) {
        Console::outBytes(ChannelCsv::toBytes(read.channels));
        return ExitCode::success;
    }
    if (!ChannelCsv::writeFile(output, read.channels)) {
        Console::fail(QStringLiteral("could not write %1; check that its folder exists and may be written.").arg(output));
        return ExitCode::cannotUse;
    }
    Console::err(QStringLiteral("%1 channels of the %2 saved to %3").arg(radio.channelCount()).arg(radio.modelLabel(), output));
    return ExitCode::success;
}
