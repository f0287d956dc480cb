#include "RadioReports.h"

#include "ChannelComparison.h"
#include "ChannelFileSource.h"
#include "Console.h"
#include "Interrupt.h"
#include "JsonOutput.h"
#include "Messages.h"
#include "QuotedText.h"

#include <QJsonArray>

#include <algorithm>

int connectRadio(ToolRadio &radio, const QString &port)
{
    if (radio.connect(port))
        return ExitCode::success;
    if (Interrupt::requested()) {
        Console::fail(QStringLiteral("%1 while looking for the radio; nothing was done.").arg(Interrupt::what()));
        return Interrupt::exitCode();
    }
    return ExitCode::cannotUse;
}

void reportKeptBackup(const Session::ReadOutcome &read)
{
    if (!read.backup.path.isEmpty())
        Console::err(QStringLiteral("kept as backup: %1").arg(read.backup.path));
    else
        Console::err(QStringLiteral("vkrtool: the read could not be kept as a backup: %1").arg(read.backup.error));
}

QString refusedWriteAdvice()
{
    return QStringLiteral(", so the radio received nothing; correct %1 and write again");
}

QString restoreCommand(const QString &backup, const QString &port, bool force)
{
    QString command = QStringLiteral("vkrtool restore \"%1\"").arg(QuotedText::escaped(backup));
    if (!port.isEmpty())
        command += QStringLiteral(" --port %1").arg(QuotedText::escaped(port));
    if (force)
        command += QStringLiteral(" --force");
    return command;
}

int sayVerdict(const RadioVerdict &verdict)
{
    for (const QString &line : verdict.details)
        Console::out(line);
    if (verdict.sentence.isEmpty())
        return verdict.exitCode;
    if (verdict.succeeded() || verdict.sentenceIsResult)
        Console::out(verdict.sentence);
    else
        Console::fail(verdict.sentence);
    return verdict.exitCode;
}

RadioVerdict judgeRead(const Session::ReadOutcome &read, int channelCount, const QString &nothingDone)
{
    RadioVerdict verdict;
    if (read.result.stopped) {
        verdict.exitCode = Interrupt::exitCode();
        verdict.outcome = JsonValue::stopped;
        verdict.result = QStringLiteral("stopped");
        verdict.sentence = QStringLiteral("%1; %2.").arg(Interrupt::what(), nothingDone);
    } else if (!read.isComplete()) {
        verdict.exitCode = ExitCode::cannotUse;
        verdict.outcome = JsonValue::incomplete;
        verdict.result = QStringLiteral("read incomplete");
        verdict.sentence = QStringLiteral("the read is incomplete (%1), so %2; check the cable and try again.")
                               .arg(Session::describeIncompleteRead(read.result, channelCount), nothingDone);
    } else {
        verdict.outcome = JsonValue::read;
        verdict.result = QStringLiteral("read, %1 in use").arg(countOf(usedCount(read.channels), "channel", "channels"));
        verdict.tally = QStringLiteral("read");
    }
    return verdict;
}

QString differenceLine(const ChannelComparison::Difference &difference, const QString &firstLabel,
                       const QString &secondLabel)
{
    return QStringLiteral("channel %1: %2: %3, %4: %5")
        .arg(difference.channel)
        .arg(firstLabel, ChannelComparison::describe(difference.first), secondLabel,
             ChannelComparison::describe(difference.second));
}

namespace {

QString restoreAdvice(const Session::WriteReport &result, const WriteContext &context)
{
    if (context.restoring) {
        // The backup taken just before a failed restore holds a radio the
        // failed write before it had already mixed up: what the user wants
        // back is still the backup being restored, so that is the command.
        QString advice = QStringLiteral("; restore it again with: %1")
                             .arg(restoreCommand(context.file, context.port, context.forced));
        if (!result.backupPath.isEmpty())
            advice += QStringLiteral(" (the radio as it was just before this restore is kept in \"%1\")")
                          .arg(QuotedText::escaped(result.backupPath));
        return advice;
    }
    if (result.backupPath.isEmpty())
        return QStringLiteral("; no backup was made");
    // The channels this write added are all that putting the backup back
    // empties: the hint forces that, and says so.
    QString advice = QStringLiteral("; restore the backup with: %1")
                         .arg(restoreCommand(result.backupPath, context.port, result.undoEmptiesMost));
    if (result.undoEmptiesMost)
        advice += QStringLiteral(" (forced: it empties the channels this write added)");
    return advice;
}

QString checkAdvice(const WriteContext &context)
{
    // A command to run as it is: the file's whole name, quoted, never cut.
    QString command = QStringLiteral("vkrtool diff radio \"%1\"").arg(QuotedText::escaped(context.file));
    if (!context.port.isEmpty())
        command += QStringLiteral(" --port %1").arg(QuotedText::escaped(context.port));
    return QStringLiteral("check it with: %1").arg(command);
}

RadioVerdict verdictOf(int exitCode, QLatin1String outcome, const QString &result, const QString &sentence)
{
    RadioVerdict verdict;
    verdict.exitCode = exitCode;
    verdict.outcome = outcome;
    verdict.result = result;
    verdict.sentence = sentence;
    return verdict;
}

QString stoppedSentence(const Session::WriteReport &report, const WriteContext &context)
{
    switch (report.cause) {
    case Session::WriteCause::StoppedWriting:
        return QStringLiteral("%1 after %2 of %3 channels; the closing byte was not sent, so a "
                              "radio that stores a write only when it is closed keeps its old memory, "
                              "but the radio may hold a mix of old and new channels. %4%5.")
            .arg(Interrupt::what())
            .arg(report.sent)
            .arg(report.channelCount)
            .arg(checkAdvice(context).replace(0, 1, QLatin1Char('C')), restoreAdvice(report, context));
    case Session::WriteCause::StoppedVerifying:
        return QStringLiteral("%1 during the verify: the write is done but unchecked; %2.")
            .arg(Interrupt::what(), checkAdvice(context));
    default:
        return QStringLiteral("%1 during the backup read; the radio was not changed.").arg(Interrupt::what());
    }
}

QString backupFailedSentence(const Session::WriteReport &report)
{
    switch (report.cause) {
    case Session::WriteCause::NotConnected:
        return QStringLiteral("the radio went away before the write began, so it received nothing; "
                              "check the cable and try again.");
    case Session::WriteCause::BackupNotSaved:
        return QStringLiteral("the backup could not be saved in the data folder (%1), so the radio was "
                              "not written; free some disk space, or write with --no-backup.")
            .arg(report.backupError);
    default:
        return QStringLiteral("the backup read is incomplete (%1), so the radio was not written; check "
                              "the cable and try again.")
            .arg(report.readFaults());
    }
}

RadioVerdict judgeReadBack(const Session::WriteReport &report, const WriteContext &context)
{
    const QString came = report.readFaults();
    const QString sentence = report.radioGone
        ? QStringLiteral("every channel was written, but the radio went away while it was read back "
                         "(%1), so the write is unchecked; connect it again and %2%3.")
              .arg(came, checkAdvice(context), restoreAdvice(report, context))
        : QStringLiteral("the read-back is incomplete (%1), so the write is unchecked; %2%3.")
              .arg(came, checkAdvice(context), restoreAdvice(report, context));
    return verdictOf(ExitCode::cannotUse, JsonValue::readBackIncomplete, QStringLiteral("written, not verified"),
                  sentence);
}

QLatin1String answerWord(Link::FrameAnswer answer)
{
    return answer == Link::FrameAnswer::Refused ? JsonValue::refused : JsonValue::missing;
}

} // namespace

RadioVerdict judgeWrite(const Session::WriteReport &report, const QString &modelLabel, const WriteContext &context)
{
    using Cause = Session::WriteCause;
    switch (report.cause) {
    case Cause::Refused: {
        RadioVerdict verdict = verdictOf(ExitCode::dataNotRight, JsonValue::refused, QStringLiteral("refused, not written"),
                                      problemsSentence(context.file, report.problems, refusedWriteAdvice()));
        verdict.details = problemLines(context.file, report.problems);
        return verdict;
    }
    case Cause::WouldEmpty:
        return verdictOf(ExitCode::dataNotRight, JsonValue::wouldEmpty, QStringLiteral("refused, would empty channels"),
                      QStringLiteral("%1 would empty %2 of the %3 channels in use in the radio, so the radio "
                                     "received nothing; write it with --force if that is meant.")
                          .arg(QuotedText::shown(context.file))
                          .arg(report.emptied)
                          .arg(report.usedBefore));
    case Cause::Unreadable:
        return verdictOf(ExitCode::cannotUse, JsonValue::unreadable, QStringLiteral("file unreadable, not written"),
                      QStringLiteral("cannot read %1, so the radio received nothing.").arg(QuotedText::shown(context.file)));
    case Cause::ForeignBackup:
        return verdictOf(ExitCode::dataNotRight, JsonValue::foreignBackup, QStringLiteral("refused, another model's backup"),
                         report.backupModel.isEmpty()
                             ? QStringLiteral("%1 does not say which model's memory it holds (its name is not one the "
                                              "program gives its backups), so the radio received nothing; restore it "
                                              "with --force if it is this %2's.")
                                   .arg(QuotedText::shown(context.file), modelLabel)
                             : QStringLiteral("%1 is the memory of a %2, not of this %3, so the radio received nothing.")
                                   .arg(QuotedText::shown(context.file), report.backupModel, modelLabel));
    case Cause::BackupNotWhole:
        return verdictOf(ExitCode::dataNotRight, JsonValue::notWhole, QStringLiteral("refused, backup not whole"),
                         QStringLiteral("%1 is not the whole memory of a %2 as the program keeps it (cut short, or "
                                        "not one of its backups), so the radio received nothing; restore it with "
                                        "--force if that is meant.")
                             .arg(QuotedText::shown(context.file), modelLabel));
    case Cause::NotConnected:
    case Cause::BackupNotSaved:
    case Cause::BackupIncomplete:
        return verdictOf(ExitCode::cannotUse, JsonValue::backupFailed, QStringLiteral("backup failed, not written"),
                         backupFailedSentence(report));
    case Cause::StoppedBeforeWrite:
    case Cause::StoppedWriting:
    case Cause::StoppedVerifying:
        return verdictOf(Interrupt::exitCode(), JsonValue::stopped, QStringLiteral("stopped"),
                         stoppedSentence(report, context));
    case Cause::FramesFailed:
        return verdictOf(ExitCode::cannotUse, JsonValue::framesFailed, QStringLiteral("write failed"),
                      QStringLiteral("the %1 failed: %2; the radio may hold a mix of old and new channels%3.")
                          .arg(context.restoring ? QStringLiteral("restore") : QStringLiteral("write"),
                               report.frameFaultText(0), restoreAdvice(report, context)));
    case Cause::ReadBackIncomplete:
        return judgeReadBack(report, context);
    case Cause::Differs: {
        RadioVerdict verdict = verdictOf(ExitCode::dataNotRight, JsonValue::differs,
                                      QStringLiteral("written, differs in %1")
                                          .arg(countOf(report.differences.size(), "channel", "channels")),
                                      QStringLiteral("the radio holds %1 other than written%2.")
                                          .arg(countOf(report.differences.size(), "channel", "channels"))
                                          .arg(restoreAdvice(report, context)));
        verdict.tally = QStringLiteral("written, not as the file");
        for (const ChannelComparison::Difference &d : report.differences)
            verdict.details << QStringLiteral("channel %1: expected %2, found %3")
                                   .arg(d.channel)
                                   .arg(ChannelComparison::describeFirst(d), ChannelComparison::describeSecond(d));
        return verdict;
    }
    case Cause::Written:
        break;
    }
    const QString checked = report.verified ? QStringLiteral(" and verified") : QStringLiteral(" (not verified)");
    const QString done = context.restoring ? QStringLiteral("restored") : QStringLiteral("written");
    RadioVerdict verdict;
    verdict.outcome = JsonValue::written;
    verdict.result = done + checked;
    verdict.sentence = QStringLiteral("%1 channels %2 to the %3%4").arg(report.channelCount).arg(done, modelLabel, checked);
    return verdict;
}

QJsonObject writeJson(const Session::WriteReport &result)
{
    QJsonArray faults;
    for (const Session::FrameFault &fault : result.frameFaults) {
        QJsonObject object;
        object.insert(JsonKey::channel, fault.channel);
        object.insert(JsonKey::answer, answerWord(fault.answer));
        faults.append(object);
    }
    QJsonObject object;
    object.insert(JsonKey::backup, JsonOutput::pathOrNull(result.backupPath));
    object.insert(JsonKey::verified, result.verified);
    object.insert(JsonKey::sent, result.sent);
    object.insert(JsonKey::differences,
                  JsonOutput::differences(result.differences, JsonKey::expected, JsonKey::found));
    object.insert(JsonKey::faults, faults);
    object.insert(JsonKey::problems, JsonOutput::problems(result.problems));
    return object;
}
