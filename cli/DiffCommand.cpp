// vkrtool diff: two channel lists, each a file or the radio, compared as
// the radio stores channels. With --all, a file against every radio.
#include "Commands.h"

#include "ChannelComparison.h"
#include "ChannelFileSource.h"
#include "Console.h"
#include "ExitCodes.h"
#include "JsonOutput.h"
#include "Messages.h"
#include "RadioRuns.h"

#include <utility>

namespace {

bool isRadio(const QString &source)
{
    return source == QLatin1String(radioWord);
}

QString labelOf(const QString &source)
{
    return isRadio(source) ? source : fileLabel(source);
}

// The channels of a file, or the exit code of why there are none: the
// file cannot be read, or its records are no text (a zero byte, UTF-16),
// said with the records rather than compared as what is left of them.
int fileChannels(const QString &source, Channels &channels)
{
    CsvTable table;
    if (!loadChannelFile(source, table))
        return ExitCode::cannotUse;
    const QVector<ChannelProblem> problems = ChannelFileCheck::textProblems(table);
    if (reportProblems(source, problems, QStringLiteral("; correct %1 before comparing"))) {
        JsonOutput::print(JsonOutput::refusedFile(source, problems));
        return ExitCode::dataNotRight;
    }
    channels = ChannelCsv::fromTable(table, table.rowCount());
    return ExitCode::success;
}

// The lists compared: the channels differing and how it is said.
RadioVerdict compare(const Channels &a, const Channels &b, const QString &first, const QString &second,
                     QJsonObject &json)
{
    const QVector<ChannelComparison::Difference> differences = ChannelComparison::differences(a, b);
    RadioVerdict verdict;
    for (const ChannelComparison::Difference &d : differences)
        verdict.details << differenceLine(d, labelOf(first), labelOf(second));
    verdict.outcome = differences.isEmpty() ? JsonValue::same : JsonValue::differs;
    verdict.result = differences.isEmpty()
        ? QStringLiteral("the same")
        : QStringLiteral("differs in %1").arg(countOf(differences.size(), "channel", "channels"));
    verdict.tally = differences.isEmpty() ? QStringLiteral("the same") : QStringLiteral("different");
    verdict.exitCode = differences.isEmpty() ? ExitCode::success : ExitCode::dataNotRight;
    json.insert(JsonKey::differences, JsonOutput::differences(differences, JsonKey::first, JsonKey::second));
    return verdict;
}

} // namespace

int Commands::diff(const QString &first, const QString &second, const RadioChoice &choice)
{
    if (choice.all && isRadio(first) == isRadio(second)) {
        Console::fail(QStringLiteral("with --all, one of the two lists is the word radio: \"vkrtool diff FILE radio "
                                     "--all\" compares FILE with every radio."));
        return ExitCode::usage;
    }
    // The files first: one that cannot be read is said before the radio is
    // searched and read.
    QStringList files;
    for (const QString &source : {first, second}) {
        if (!isRadio(source))
            files << source;
    }
    if (const int failed = checkInputs(files))
        return failed;
    Channels a, b;
    for (const auto &[source, channels] : {std::make_pair(first, &a), std::make_pair(second, &b)}) {
        if (isRadio(source))
            continue;
        if (const int failed = fileChannels(source, *channels))
            return failed;
    }
    QJsonObject top;
    top.insert(JsonKey::first, first);
    top.insert(JsonKey::second, second);
    if (!isRadio(first) && !isRadio(second)) {
        const RadioVerdict verdict = compare(a, b, first, second, top);
        top.insert(JsonKey::outcome, verdict.outcome);
        if (JsonOutput::enabled())
            JsonOutput::print(top);
        return sayVerdict(verdict);
    }
    // The radio's channels; a complete read of it is kept as a backup.
    const RadioRuns runs = runRadioJob(choice, QStringLiteral("backup"),
                                       [&](RadioConnection &radio, const Session::JobObserver &observer) {
                                           BackupStore store;
                                           const Session::ReadOutcome read =
                                               Session::readRadio(radio, &store, Session::Phase::Reading, observer);
                                           RadioRun run;
                                           run.verdict = judgeRead(read, radio.channelCount(),
                                                                   QStringLiteral("nothing was compared"));
                                           if (!run.verdict.succeeded())
                                               return run;
                                           run.file = read.backup.path;
                                           run.json.insert(JsonKey::backup, JsonOutput::pathOrNull(read.backup.path));
                                           run.verdict = compare(isRadio(first) ? read.channels : a,
                                                                 isRadio(second) ? read.channels : b, first, second,
                                                                 run.json);
                                           return run;
                                       });
    if (!choice.all && !runs.radios.isEmpty()) {
        const QString backup = runs.radios.first().toObject().value(JsonKey::backup).toString();
        if (!backup.isEmpty())
            Console::err(QStringLiteral("kept as backup: %1").arg(backup));
    }
    printRunDocument(top, runs, choice.all);
    return runs.exitCode;
}
