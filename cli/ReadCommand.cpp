// vkrtool read: the radio's whole memory into a channel file, or onto
// standard output; nothing at all when the read was not complete.
#include "Commands.h"

#include "Console.h"
#include "ExitCodes.h"
#include "RadioSession.h"

int Commands::read(const QString &port, const QString &output)
{
    RadioSession radio;
    if (!radio.connect(port))
        return ExitCode::cannotUse;
    int failure = ExitCode::success;
    const std::optional<ChannelRecords> channels =
        radio.read(QStringLiteral("reading"),
                   {QStringLiteral("interrupted; nothing was written."), QStringLiteral("the read"),
                    QStringLiteral(", so nothing was written; check the cable and read again")},
                   failure);
    if (!channels)
        return failure;
    if (output.isEmpty() || output == QLatin1String("-")) {
        Console::outBytes(ChannelCsv::toBytes(*channels));
        return ExitCode::success;
    }
    if (!ChannelCsv::writeFile(output, *channels)) {
        Console::fail(QStringLiteral("could not write %1; check that its folder exists and may be written.").arg(output));
        return ExitCode::cannotUse;
    }
    Console::err(QStringLiteral("%1 channels of the %2 saved to %3").arg(radio.channelCount()).arg(radio.modelLabel(), output));
    return ExitCode::success;
}
