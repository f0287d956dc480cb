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

bool isRadio(const QString &source)
{
    return source == QLatin1String(radioWord);
}

std::optional<ChannelRecords> fileChannels(const QString &source)
{
    CsvTable table;
    if (!loadChannelFile(source, table))
        return std::nullopt;
    return ChannelCsv::fromTable(table, table.rowCount());
}

// The radio's channels; a complete read of it is kept as a backup.
std::optional<ChannelRecords> radioChannels(ToolRadio &radio)
{
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
    return read.channels;
}

} // namespace

int Commands::diff(const QString &first, const QString &second)
{
    // The files first: one that cannot be read is said before the radio is
    // searched and read.
    QStringList files;
    for (const QString &source : {first, second}) {
        if (!isRadio(source))
            files << source;
    }
    if (const int failed = checkInputs(files))
        return failed;
    std::optional<ChannelRecords> a = isRadio(first) ? std::optional<ChannelRecords>(ChannelRecords()) : fileChannels(first);
    std::optional<ChannelRecords> b =
        a && !isRadio(second) ? fileChannels(second) : std::optional<ChannelRecords>(ChannelRecords());
    if (!a || !b)
        return ExitCode::cannotUse;
    if (isRadio(first) || isRadio(second)) {
        ToolRadio radio;
        const std::optional<ChannelRecords> read = radioChannels(radio);
        if (Interrupt::requested()) {
            Console::fail(QStringLiteral("%1; nothing was compared.").arg(Interrupt::what()));
            return Interrupt::exitCode();
        }
        if (!read)
            return ExitCode::cannotUse;
        if (isRadio(first))
            a = read;
        if (isRadio(second))
            b = read;
    }
    const QVector<ChannelComparison::Difference> differences = ChannelComparison::differences(*a, *b);
    const QString firstLabel = isRadio(first) ? first : fileLabel(first);
    const QString secondLabel = isRadio(second) ? second : fileLabel(second);
    for (const ChannelComparison::Difference &d : differences)
        Console::out(QStringLiteral("channel %1: %2: %3, %4: %5")
                         .arg(d.channel)
                         .arg(firstLabel, ChannelComparison::describe(d.first), secondLabel,
                              ChannelComparison::describe(d.second)));
    return differences.isEmpty() ? ExitCode::success : ExitCode::dataNotRight;
}
