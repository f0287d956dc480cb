// vkrtool write: the safe write of a channel file. The file is checked
// first, the radio's memory is kept as a backup, then written, then read
// back and compared. With --all, every radio at once; with --dry-run, the
// radio is only read and what the write would change is said.
#include "Commands.h"

#include "ChannelFileSource.h"
#include "DryRun.h"
#include "Console.h"
#include "ExitCodes.h"
#include "JsonOutput.h"
#include "Messages.h"
#include "RadioRuns.h"

namespace {

// What the write would do to this radio, without writing: the file's
// problems against its memory, or the channels that would change.
RadioRun dryRun(RadioConnection &radio, const Session::JobObserver &observer, const Commands::WriteOptions &options,
                const CsvTable &table, const Session::WriteRequest &request)
{
    RadioRun run;
    BackupStore store;
    const Session::DryRunReport report = Session::dryRun(radio, options.backup ? &store : nullptr, request, observer);
    if (report.refused()) {
        // Said with the lines of the file.
        const QVector<ChannelProblem> problems = ChannelFileCheck::check(table, radio.model(), request.rules);
        run.verdict.exitCode = ExitCode::dataNotRight;
        run.verdict.outcome = JsonValue::refused;
        run.verdict.result = QStringLiteral("would be refused");
        run.verdict.details = problemLines(options.file, problems);
        run.verdict.sentence = problemsSentence(options.file, problems,
                                                QStringLiteral(", so the write would send nothing; correct %1 first"));
        run.json.insert(JsonKey::problems, JsonOutput::problems(problems));
        return run;
    }
    run.verdict = judgeRead(report.read, radio.channelCount(), QStringLiteral("nothing was compared"));
    if (!run.verdict.succeeded())
        return run;
    run.file = report.read.backup.path;
    const QString file = fileLabel(options.file);
    for (const ChannelComparison::Difference &d : report.differences)
        run.verdict.details << differenceLine(d, QLatin1String(radioWord), file);
    const QString changed = countOf(report.differences.size(), "channel", "channels");
    run.verdict.sentenceIsResult = true;
    if (report.wouldEmpty) {
        run.verdict.exitCode = ExitCode::dataNotRight;
        run.verdict.outcome = JsonValue::wouldRefuse;
        run.verdict.result = QStringLiteral("would be refused, would empty channels");
        run.verdict.tally = QStringLiteral("would be refused");
        run.verdict.sentence = QStringLiteral("the write would be refused, as it would empty %1 of the %2 channels in "
                                              "use of the %3 (--force writes it, changing %4); nothing was written")
                                   .arg(report.emptied)
                                   .arg(report.usedBefore)
                                   .arg(radio.modelLabel(), changed);
    } else if (report.differences.isEmpty()) {
        run.verdict.outcome = JsonValue::unchanged;
        run.verdict.result = QStringLiteral("would change nothing");
        run.verdict.sentence = QStringLiteral("the write would change nothing in the %1; nothing was written")
                                   .arg(radio.modelLabel());
    } else {
        run.verdict.exitCode = ExitCode::dataNotRight;
        run.verdict.outcome = JsonValue::wouldChange;
        run.verdict.result = QStringLiteral("would change %1").arg(changed);
        run.verdict.tally = QStringLiteral("would change channels");
        run.verdict.sentence = QStringLiteral("the write would change %1 of the %2; nothing was written")
                                   .arg(changed, radio.modelLabel());
    }
    run.json.insert(JsonKey::backup, JsonOutput::pathOrNull(report.read.backup.path));
    run.json.insert(JsonKey::differences, JsonOutput::differences(report.differences, JsonKey::first, JsonKey::second));
    return run;
}

RadioRun safeWrite(RadioConnection &radio, const Session::JobObserver &observer, const Commands::WriteOptions &options,
                   const CsvTable &table, const Session::WriteRequest &request)
{
    BackupStore store;
    Session::WriteReport result = Session::safeWrite(radio, store, request, observer);
    if (result.cause == Session::WriteCause::Refused) // now with the lines of the file
        result.problems = ChannelFileCheck::check(table, radio.model(), request.rules);
    // The commands it advises name the port: the radio is there, and the
    // one port named is probed again should a stopped write leave it deaf.
    RadioRun run;
    run.verdict = judgeWrite(result, radio.modelLabel(), {options.file, radio.portName()});
    run.file = result.backupPath;
    run.json = writeJson(result);
    return run;
}

} // namespace

int Commands::write(const WriteOptions &options)
{
    if (const int failed = checkInputs({options.file}))
        return failed;
    CsvTable table;
    if (!loadChannelFile(options.file, table))
        return ExitCode::cannotUse;
    // A file with nothing in it would blank the radio: never by mistake.
    if (table.rowCount() == 0 && !options.force) {
        Console::fail(QStringLiteral("%1 holds no records, so writing it would empty every channel of the radio; "
                                     "the radio received nothing. Write it with --force if that is meant.")
                          .arg(fileLabel(options.file)));
        JsonOutput::print(JsonOutput::refusedFile(options.file, {}));
        return ExitCode::dataNotRight;
    }
    Session::WriteRequest request;
    request.rules = options.force ? ChannelFileCheck::Rules::Encodable : ChannelFileCheck::Rules::Radio;
    request.backUp = options.backup;
    request.verify = options.verify;
    request.refuseEmptying = !options.force;
    request.channels = ChannelCsv::fromTable(table, table.rowCount());
    // What no radio of the series takes is refused before one is looked for.
    const QVector<ChannelProblem> problems = ChannelFileCheck::check(table, RadioModels::series(), request.rules);
    if (reportProblems(options.file, problems, refusedWriteAdvice())) {
        JsonOutput::print(JsonOutput::refusedFile(options.file, problems));
        return ExitCode::dataNotRight;
    }

    const RadioRuns runs = runRadioJob(options.radio, QStringLiteral("backup"),
                                       [&](RadioConnection &radio, const Session::JobObserver &observer) {
                                           return options.dryRun ? dryRun(radio, observer, options, table, request)
                                                                 : safeWrite(radio, observer, options, table, request);
                                       });
    QJsonObject top;
    top.insert(JsonKey::file, options.file);
    top.insert(JsonKey::dryRun, options.dryRun);
    if (options.dryRun) {
        top.insert(JsonKey::first, QLatin1String(radioWord));
        top.insert(JsonKey::second, options.file);
    }
    printRunDocument(top, runs, options.radio.all);
    return runs.exitCode;
}
