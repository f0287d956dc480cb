// vkrtool read: the radio's whole memory into a channel file, or onto
// standard output; nothing at all when the read was not complete. A
// complete read is kept as a backup too. With --all, every radio into a
// file of its own in a folder.
#include "Commands.h"

#include "ChannelCsv.h"

#include "Console.h"
#include "ExitCodes.h"
#include "JsonOutput.h"
#include "OutputTarget.h"
#include "QuotedText.h"
#include "RadioRuns.h"

#include <QDir>
#include <QFileInfo>

namespace {

// A complete read's keys: the channels in use, the backup, the whole memory.
QJsonObject readJson(const Session::ReadOutcome &read, const QString &file)
{
    QJsonObject object;
    object.insert(JsonKey::channels, usedCount(read.channels));
    object.insert(JsonKey::backup, JsonOutput::pathOrNull(read.backup.path));
    object.insert(JsonKey::file, JsonOutput::pathOrNull(file));
    object.insert(JsonKey::memory, JsonOutput::memory(read.channels));
    return object;
}

// Every radio into `folder`, each file named by port and model.
int readEveryRadio(const Commands::RadioChoice &choice, const QString &folder)
{
    const QFileInfo target(folder);
    if (!target.isDir()) {
        Console::fail(QStringLiteral("with --all, -o names a folder for a file per radio; %1 %2.")
                          .arg(QuotedText::escaped(folder),
                               target.exists() ? QStringLiteral("is no folder") : QStringLiteral("does not exist")));
        return target.exists() ? ExitCode::usage : ExitCode::cannotUse;
    }
    if (!target.isWritable()) {
        Console::fail(QStringLiteral("the folder %1 may not be written; nothing was done.").arg(QuotedText::escaped(folder)));
        return ExitCode::cannotUse;
    }
    const RadioRuns runs = runRadioJob(choice, QStringLiteral("saved to"), [&](RadioConnection &radio,
                                                                                      const Session::JobObserver &observer) {
        BackupStore store;
        const Session::ReadOutcome read = Session::readRadio(radio, &store, Session::Phase::Reading, observer);
        RadioRun run;
        run.verdict = judgeRead(read, radio.channelCount(), QStringLiteral("nothing was written"));
        if (!run.verdict.succeeded())
            return run;
        const QString file =
            QDir(folder).filePath(QStringLiteral("%1-%2.csv").arg(portFileTag(radio.portName()), radio.modelLabel()));
        QString why;
        if (!ChannelCsv::saveBytes(file, ChannelCsv::toBytes(read.channels), &why)) {
            run.verdict.exitCode = ExitCode::cannotUse;
            run.verdict.outcome = JsonValue::notSaved;
            run.verdict.result = QStringLiteral("read, not saved");
            run.verdict.sentence = QStringLiteral("could not write %1: %2.").arg(QuotedText::escaped(file), why);
            return run;
        }
        run.file = file;
        run.json = readJson(read, file);
        run.verdict.sentence = QStringLiteral("%1 channels saved to %2").arg(radio.channelCount()).arg(QuotedText::escaped(file));
        return run;
    });
    printRunDocument(QJsonObject(), runs, true);
    return runs.exitCode;
}

} // namespace

int Commands::read(const RadioChoice &choice, const QString &output)
{
    if (choice.all)
        return readEveryRadio(choice, output);
    // A folder that is missing is said before the radio is searched and read.
    const OutputTarget target(output);
    if (const int failed = target.check())
        return failed;
    ToolRadio radio;
    if (const int failed = connectRadio(radio, choice.port))
        return failed;
    const Session::ReadOutcome read =
        Session::readRadio(radio.connection(), &radio.backups(), Session::Phase::Reading, radio.observer());
    radio.endProgress();
    const int channelCount = radio.connection().channelCount();
    RadioVerdict verdict = judgeRead(read, channelCount, QStringLiteral("nothing was written"));
    if (!verdict.succeeded()) {
        if (JsonOutput::enabled())
            JsonOutput::print(radioKeys(radio.connection(), verdict));
        return sayVerdict(verdict);
    }
    reportKeptBackup(read);
    // With --json the channels are in the document: no file on standard output.
    const bool toFile = !target.isStandardOutput();
    if ((toFile || !JsonOutput::enabled()) && !target.write(ChannelCsv::toBytes(read.channels)))
        return ExitCode::cannotUse;
    if (toFile) {
        verdict.sentence = QStringLiteral("%1 channels of the %2 saved to %3")
                               .arg(channelCount)
                               .arg(radio.connection().modelLabel(), QuotedText::escaped(output));
        Console::err(verdict.sentence);
    }
    if (JsonOutput::enabled())
        JsonOutput::print(JsonOutput::merged(readJson(read, toFile ? output : QString()),
                                             radioKeys(radio.connection(), verdict)));
    return ExitCode::success;
}
