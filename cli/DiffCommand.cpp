// vkrtool diff: two channel lists, each a file or the radio, compared as
// the radio stores channels.
#include "Commands.h"

#include "ChannelComparison.h"
#include "ChannelFileSource.h"
#include "Console.h"
#include "ExitCodes.h"
#include "Interrupt.h"
#include "RadioReports.h"

#include <optional>

namespace {

constexpr char radioWord[] = "radio";

// The channels of one side; the radio is read at most once, and a complete
// read of it is kept as a backup.
std::optional<ChannelRecords> channelsOf(const QString &source, ToolRadio &radio,
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
    const Session::ReadOutcome read =
        Session::readRadio(radio.connection(), &radio.backups(), Session::Phase::Reading, radio.observer());
    radio.endProgress();
    // Ctrl+C is reported once both sides are done.
    if (read.result.stopped)
        return std::nullopt;
    if (!read.isComplete()) {
        Console::fail(QStringLiteral("the read of the radio is incomplete (%1); check the cable and try again.")
                          .arg(Session::describeIncompleteRead(read.result, radio.connection().channelCount())));
        return std::nullopt;
    }
    reportKeptBackup(read);
    radioChannels = read.channels;
    return radioChannels;
}

} // namespace

int Commands::diff(const QString &first, const QString &second)
{
    ToolRadio radio;
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
                         .arg(first, ChannelComparison::describe(d.first), second, ChannelComparison::describe(d.second)));
    return differences.isEmpty() ? ExitCode::success : ExitCode::dataNotRight;
}
