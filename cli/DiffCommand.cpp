// vkrtool diff: two channel lists, each a file or the radio, compared as
// the radio stores channels.
#include "Commands.h"

#include "ChannelComparison.h"
#include "ChannelFileSource.h"
#include "Console.h"
#include "ExitCodes.h"
#include "Interrupt.h"
#include "RadioSession.h"

#include <optional>

namespace {

constexpr char radioWord[] = "radio";

// The channels of one side; the radio is read at most once.
std::optional<ChannelRecords> channelsOf(const QString &source, RadioSession &radio,
                                         std::optional<ChannelRecords> &radioChannels)
{
    if (source != QLatin1String(radioWord)) {
        CsvTable table;
        if (!loadChannelFile(source, table))
            return std::nullopt;
        return ChannelCsv::fromTable(table, table.rowCount());
    }
    if (radioChannels)
        return radioChannels;
    if (!radio.connect(QString()))
        return std::nullopt;
    // Ctrl+C is reported once both sides are done.
    int failure = ExitCode::success;
    radioChannels = radio.read(QStringLiteral("reading"),
                               {QString(), QStringLiteral("the read of the radio"),
                                QStringLiteral("; check the cable and try again")},
                               failure);
    return radioChannels;
}

} // namespace

int Commands::diff(const QString &first, const QString &second)
{
    RadioSession radio;
    std::optional<ChannelRecords> radioChannels;
    const std::optional<ChannelRecords> a = channelsOf(first, radio, radioChannels);
    const std::optional<ChannelRecords> b = a ? channelsOf(second, radio, radioChannels) : std::nullopt;
    if (Interrupt::requested()) {
        Console::fail(QStringLiteral("interrupted; nothing was compared."));
        return ExitCode::interrupted;
    }
    if (!a || !b)
        return ExitCode::cannotUse;
    const QVector<ChannelComparison::Difference> differences = ChannelComparison::differences(*a, *b);
    for (const ChannelComparison::Difference &d : differences)
        Console::out(QStringLiteral("channel %1: %2: %3, %4: %5")
                         .arg(d.channel)
                         .arg(first, describeChannel(d.first), second, describeChannel(d.second)));
    return differences.isEmpty() ? ExitCode::success : ExitCode::dataNotRight;
}
