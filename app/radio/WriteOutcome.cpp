// How a write from the window ends: written and verified, said in the
// status bar with the backup, or a box that says what failed, where the memory before the write was kept,
// and offers to put it back.
#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "RadioModels.h"
#include "SafeWrite.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

// Differences named in the box itself; all of them are in its details.
constexpr int differencesNamed = 10;

// Why nothing was written: no backup could be taken first.
QString backupFailure(const Session::WriteReport &report, const QString &radioName)
{
    switch (report.cause) {
    case Session::WriteCause::NotConnected:
        return QStringLiteral("The radio is not connected any more; nothing was written.");
    case Session::WriteCause::BackupNotSaved:
        return QStringLiteral("The backup of the %1's memory could not be saved (%2). Nothing was written; free "
                              "some disk space and try again.")
            .arg(radioName, report.backupError);
    default:
        return QStringLiteral("The %1's memory could not be backed up: the read was incomplete (%2). Nothing was "
                              "written; check the cable and try again.")
            .arg(radioName, report.readFaults());
    }
}

QString channelLine(int number, const ChannelComparison::Difference &difference)
{
    return QStringLiteral("Channel %1: expected %2, found %3")
        .arg(number)
        .arg(ChannelComparison::describeFirst(difference), ChannelComparison::describeSecond(difference));
}

} // namespace

QString MainWindow::connectedRadioName() const
{
    return connectedModel ? QLatin1String(connectedModel->label) : QStringLiteral("radio");
}

void MainWindow::writeEnded(const Session::WriteReport &report, const WriteSource &source)
{
    setActivity(Activity::Idle);
    using Cause = Session::WriteCause;
    if (report.cause == Cause::Written) {
        firstFailedBackup.clear();
        // What the radio holds now: the table, or the backup put back.
        Backup restored;
        const bool restore = !source.restoreFrom.isEmpty();
        const bool known = !restore || readBackup(source.restoreFrom, restored);
        if (restore && known && source.showRestored)
            showRadioChannels(restored.channels);
        const Channels held = restore ? restored.channels : sheet.radioChannels();
        if (known)
            sheet.setRadioMemory(held);
        else
            sheet.forgetRadioMemory();
        showWritten(usedCount(held.mid(0, channelCount())), report.backupPath);
        // A backup put back from the box of a failed write leaves the
        // table as it was, unlike the radio: the message says the restore
        // took, the line beside it that the table is not on the radio.
        // Records beyond the radio's channels stayed in the table, unsent.
        if (restore)
            showStatusMessage(tr("Backup restored and verified"));
        else if (sheet.usedBeyondRadio() > 0)
            showStatusMessage(withRecordsLeftOut(tr("Written and verified")));
        else
            ui->statusBar->clearMessage();
        closeIfAsked();
        return;
    }
    if (report.cause == Cause::WouldEmpty && !closeAfterTransfer) {
        askToEmpty(report, source);
        return;
    }
    // Frames went out: the radio may hold other channels than it was last
    // known to hold. The backup to put back is the memory as it was before
    // the first of the writes or restores that failed, not one of a radio
    // already half written.
    if (report.radioChanged()) {
        sheet.forgetRadioMemory();
        if (firstFailedBackup.isEmpty())
            firstFailedBackup = report.backupPath;
    }
    const QString kept = report.radioChanged() ? firstFailedBackup : report.backupPath;
    const bool stopped = report.cause == Cause::StoppedBeforeWrite || report.cause == Cause::StoppedWriting
        || report.cause == Cause::StoppedVerifying;
    showStatusMessage(stopped ? tr("Write stopped") : tr("Write error"));
    const QString radioName = connectedRadioName();
    // The backup can be put back from here while the radio is still there.
    const QString restorable = report.radioGone ? QString() : kept;
    switch (report.cause) {
    case Cause::Written:
    case Cause::WouldEmpty: // asked above
        break;
    case Cause::Refused: {
        QStringList lines;
        for (const ChannelProblem &problem : report.problems.mid(0, differencesNamed))
            lines << QStringLiteral("Channel %1: %2").arg(firstChannelNumber() + problem.channel).arg(problem.text);
        offerRestore(QStringLiteral("Write error"),
                     QStringLiteral("The backup does not fit the %1; nothing was written.").arg(radioName),
                     lines.join(QLatin1Char('\n')), QString(), QString());
        break;
    }
    case Cause::ForeignBackup:
        offerRestore(QStringLiteral("Write error"),
                     QStringLiteral("The backup %1 is not of the %2; nothing was written.").arg(source.restoreFrom, radioName),
                     QString(), QString(), QString());
        break;
    case Cause::BackupNotWhole:
        offerRestore(QStringLiteral("Write error"),
                     QStringLiteral("The backup %1 is not a whole memory of the %2 (cut short?); nothing was written.")
                         .arg(source.restoreFrom, radioName),
                     QString(), QString(), QString());
        break;
    case Cause::Unreadable:
        offerRestore(QStringLiteral("Write error"),
                     QStringLiteral("The backup %1 could not be read; nothing was written.").arg(source.restoreFrom),
                     QString(), QString(), QString());
        break;
    case Cause::NotConnected:
    case Cause::BackupNotSaved:
    case Cause::BackupIncomplete:
        offerRestore(QStringLiteral("Write error"), backupFailure(report, radioName), QString(), QString(), QString());
        break;
    case Cause::StoppedBeforeWrite:
        showStatusMessage(tr("Write stopped; the radio was not changed"));
        break;
    case Cause::StoppedWriting:
        offerRestore(QStringLiteral("Write stopped"),
                     QStringLiteral("The write was stopped after %1 of %2 channels, without its closing byte. "
                                    "The %3 may now hold a mix of old and new channels.")
                         .arg(report.sent)
                         .arg(report.channelCount)
                         .arg(radioName),
                     QString(), restorable, kept);
        break;
    case Cause::StoppedVerifying:
        offerRestore(QStringLiteral("Write stopped"),
                     QStringLiteral("The write was done, but stopped while it was read back: it is unchecked, "
                                    "and the %1 may not hold the table.")
                         .arg(radioName),
                     QString(), restorable, kept);
        break;
    case Cause::FramesFailed:
        offerRestore(QStringLiteral("Write error"),
                     QStringLiteral("The write failed: %1. The %2 may now hold a mix of old and new channels.")
                         .arg(report.frameFaultText(firstChannelNumber()), radioName),
                     QString(), restorable, kept);
        break;
    case Cause::ReadBackIncomplete:
        offerRestore(QStringLiteral("Write error"),
                     QStringLiteral("The write could not be checked: reading it back was incomplete (%1). The %2 "
                                    "may not hold the table.")
                         .arg(report.readFaults(), radioName),
                     QString(), restorable, kept);
        break;
    case Cause::Differs: {
        QStringList lines;
        for (const ChannelComparison::Difference &difference : report.differences)
            lines << channelLine(firstChannelNumber() + difference.channel, difference);
        QString text = QStringLiteral("The %1 holds %2 channel(s) other than written:\n")
                           .arg(radioName)
                           .arg(report.differences.size())
            + lines.mid(0, differencesNamed).join(QLatin1Char('\n'));
        if (lines.size() > differencesNamed)
            text += QStringLiteral("\n... and %1 more (see the details)").arg(lines.size() - differencesNamed);
        offerRestore(QStringLiteral("Write error"), text, lines.join(QLatin1Char('\n')),
                     restorable, kept);
        break;
    }
    }
    closeIfAsked();
}

// The table would empty most of the channels in use in the radio: nothing
// was sent, and the memory read for the check is kept. The write goes ahead
// only when the user says so, from that backup, without reading again.
void MainWindow::askToEmpty(const Session::WriteReport &result, const WriteSource &source)
{
    ui->statusBar->clearMessage(); // the backup is done
    const bool restore = !source.restoreFrom.isEmpty();
    const QString what = restore ? QStringLiteral("backup") : QStringLiteral("table");
    const QString verb = restore ? QStringLiteral("Restore") : QStringLiteral("Write");
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Empty channels"),
                    QStringLiteral("The %1 would empty %2 of the %3 channels in use in the %4.")
                        .arg(what)
                        .arg(result.emptied)
                        .arg(result.usedBefore)
                        .arg(connectedRadioName()),
                    QMessageBox::Cancel, this);
    box.setInformativeText(
        QStringLiteral("The memory as it is now is kept in %1. %2 the %3 anyway?").arg(result.backupPath, verb, what));
    QPushButton *write = box.addButton(QStringLiteral("%1 anyway").arg(verb), QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    // The write reads the radio again first: agreed is the memory the box
    // told of, not what another radio on the cable may hold by then.
    if (box.clickedButton() == write && connectedModel) {
        WriteSource agreed = source;
        agreed.emptyingAgreedFor = result.memoryBefore;
        startWrite(source.restoreFrom.isEmpty() ? sheet.radioChannels() : Channels(), agreed);
    } else {
        showStatusMessage(tr("Write cancelled; the radio was not changed"));
    }
}

// The box of a failed or stopped write: what happened, where the memory
// before it was kept (`kept`), and a button that writes it back (`restorable`:
// the backup, while the radio is still there to take it).
void MainWindow::offerRestore(const QString &title, const QString &text, const QString &details,
                              const QString &restorable, const QString &kept)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Close, this);
    QPushButton *restore = nullptr;
    if (!restorable.isEmpty()) {
        box.setInformativeText(QStringLiteral("The memory as it was before the write is kept in %1.").arg(kept));
        restore = box.addButton(QStringLiteral("Restore backup"), QMessageBox::AcceptRole);
    } else if (!kept.isEmpty()) {
        box.setInformativeText(QStringLiteral("The memory as it was before the write is kept in %1. Connect the radio "
                                              "again and choose File > Restore backup... to put it back.")
                                   .arg(kept));
    }
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.exec();
    // The radio may have gone while the box was open.
    if (restore && box.clickedButton() == restore && connectedModel)
        startWrite(Channels(), {restorable, false, {}, true}); // the table keeps what the user made
}
