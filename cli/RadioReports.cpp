#include "RadioReports.h"

#include "ChannelComparison.h"
#include "ChannelFileSource.h"
#include "Console.h"
#include "ExitCodes.h"
#include "Interrupt.h"
#include "JobReport.h"
#include "Messages.h"
#include "QuotedText.h"

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

QString restoreCommand(const QString &backup, const QString &port)
{
    QString command = QStringLiteral("vkrtool restore \"%1\"").arg(backup);
    if (!port.isEmpty())
        command += QStringLiteral(" --port %1").arg(port);
    return command;
}

namespace {

QString restoreAdvice(const Session::WriteResult &result, const WriteContext &context)
{
    if (result.backupPath.isEmpty())
        return QStringLiteral("; no backup was made");
    return QStringLiteral("; restore the backup with: %1").arg(restoreCommand(result.backupPath, context.port));
}

QString checkAdvice(const WriteContext &context)
{
    return QStringLiteral("check it with \"vkrtool diff radio %1\"").arg(QuotedText::shown(context.file));
}

int reportStopped(const Session::WriteResult &result, const WriteContext &context)
{
    switch (result.phase) {
    case Session::Phase::Reading:
    case Session::Phase::BackingUp:
        Console::fail(QStringLiteral("%1 during the backup read; the radio was not changed.").arg(Interrupt::what()));
        break;
    case Session::Phase::Writing:
        Console::fail(QStringLiteral("%1 after %2 of %3 channels; the closing byte was not sent, so a "
                                     "radio that stores a write only when it is closed keeps its old memory, "
                                     "but the radio may hold a mix of old and new channels. %4%5.")
                          .arg(Interrupt::what())
                          .arg(result.sent)
                          .arg(result.channelCount)
                          .arg(checkAdvice(context).replace(0, 1, QLatin1Char('C')), restoreAdvice(result, context)));
        break;
    case Session::Phase::Verifying:
        Console::fail(QStringLiteral("%1 during the verify: the write is done but unchecked; %2.")
                          .arg(Interrupt::what(), checkAdvice(context)));
        break;
    }
    return Interrupt::exitCode();
}

} // namespace

int reportWrite(const Session::WriteResult &result, const QString &modelLabel, const WriteContext &context)
{
    switch (result.outcome) {
    case Session::WriteOutcome::Refused:
        reportProblems(context.file, result.problems, refusedWriteAdvice());
        return ExitCode::dataNotRight;
    case Session::WriteOutcome::WouldEmpty:
        Console::fail(QStringLiteral("%1 would empty %2 of the %3 channels in use in the radio, so the radio "
                                     "received nothing; write it with --force if that is meant.")
                          .arg(QuotedText::shown(context.file))
                          .arg(result.emptied)
                          .arg(result.usedBefore));
        return ExitCode::dataNotRight;
    case Session::WriteOutcome::Unreadable:
        Console::fail(QStringLiteral("cannot read %1, so the radio received nothing.").arg(QuotedText::shown(context.file)));
        return ExitCode::cannotUse;
    case Session::WriteOutcome::BackupFailed:
        if (result.radioGone && result.lastRead.received == 0 && result.channelCount == 0)
            Console::fail(QStringLiteral("the radio went away before the write began, so it received nothing; "
                                         "check the cable and try again."));
        else if (!result.backupError.isEmpty())
            Console::fail(QStringLiteral("the backup could not be saved in the data folder (%1), so the radio was "
                                         "not written; free some disk space, or write with --no-backup.")
                              .arg(result.backupError));
        else
            Console::fail(QStringLiteral("the backup read is incomplete (%1), so the radio was not written; check "
                                         "the cable and try again.")
                              .arg(Session::describeIncompleteRead(result.lastRead, result.channelCount)));
        return ExitCode::cannotUse;
    case Session::WriteOutcome::Stopped:
        return reportStopped(result, context);
    case Session::WriteOutcome::FramesFailed:
        Console::fail(QStringLiteral("the write failed: %1; the radio may hold a mix of old and new channels%2.")
                          .arg(Session::describeFrameFaults(result, 0), restoreAdvice(result, context)));
        return ExitCode::cannotUse;
    case Session::WriteOutcome::ReadBackIncomplete:
        if (result.radioGone) {
            Console::fail(QStringLiteral("every channel was written, but the radio went away while it was read back "
                                         "(%1), so the write is unchecked; connect it again and %2%3.")
                              .arg(Session::describeIncompleteRead(result.lastRead, result.channelCount),
                                   checkAdvice(context), restoreAdvice(result, context)));
            return ExitCode::cannotUse;
        }
        Console::fail(QStringLiteral("the read-back is incomplete (%1), so the write is unchecked; %2%3.")
                          .arg(Session::describeIncompleteRead(result.lastRead, result.channelCount), checkAdvice(context),
                               restoreAdvice(result, context)));
        return ExitCode::cannotUse;
    case Session::WriteOutcome::Differs:
        for (const ChannelComparison::Difference &d : result.differences)
            Console::out(QStringLiteral("channel %1: expected %2, found %3")
                             .arg(d.channel)
                             .arg(ChannelComparison::describe(d.first), ChannelComparison::describe(d.second)));
        Console::fail(QStringLiteral("the radio holds %1 other than written%2.")
                          .arg(countOf(result.differences.size(), "channel", "channels"))
                          .arg(restoreAdvice(result, context)));
        return ExitCode::dataNotRight;
    case Session::WriteOutcome::Written:
        break;
    }
    const bool verified = result.verified;
    Console::out(QStringLiteral("%1 channels %2 to the %3%4")
                     .arg(result.channelCount)
                     .arg(context.done, modelLabel,
                          verified ? QStringLiteral(" and verified") : QStringLiteral(" (not verified)")));
    return ExitCode::success;
}
