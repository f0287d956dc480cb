// Reading and writing the radio's channel memory from the window. The
// session's jobs run on the radio's thread; the window shows their progress
// as it comes and stays usable meanwhile, with every control that could
// start another transfer or change the table, the port or the file
// disabled until the job ends.
#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "ChannelComparison.h"
#include "ChannelDelegate.h"
#include "EditorStyles.h"
#include "JobProgress.h"
#include "RadioConnection.h"
#include "RadioRead.h"
#include "RadioThread.h"
#include "SafeWrite.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>

#include <memory>

namespace {

// The warning box names at most this many rows; the first is selected.
constexpr int problemsNamed = 10;

using Column = ChannelDelegate::Column;

} // namespace

void MainWindow::setActivity(Activity now)
{
    const bool transfer = now == Activity::Reading || now == Activity::Writing;
    const bool wasTransfer = activity == Activity::Reading || activity == Activity::Writing;
    activity = now;
    if (transfer && !wasTransfer) {
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
        showTransferProgress();
    } else if (!transfer && wasTransfer) {
        ui->progressBar->hide();
        QGuiApplication::restoreOverrideCursor();
    }
    updateControls();
}

// What the user may do now: transfers only with a radio and nothing else
// running; nothing that changes the table, the port or the file while a
// transfer runs.
void MainWindow::updateControls()
{
    const bool idle = activity == Activity::Idle;
    const bool transfer = activity == Activity::Reading || activity == Activity::Writing;
    const bool radioReady = idle && connectedModel;
    setTransferButtonsEnabled(radioReady);
    ui->actionRead_from->setEnabled(radioReady);
    ui->actionWrite_to->setEnabled(radioReady);
    ui->actionRestore_backup->setEnabled(radioReady);
    ui->autoButton->setEnabled(idle);
    ui->comPortComboBox->setEnabled(idle);
    for (QWidget *fileControl : {static_cast<QWidget *>(ui->toolButtonOpen), static_cast<QWidget *>(ui->toolButtonSave)})
        fileControl->setEnabled(!transfer);
    // A card shows the table as it stands: none of a table half read.
    for (QAction *fileAction : {ui->actionOpen, ui->actionSave, ui->actionSave_as, ui->actionCHIRP_file,
                                ui->actionAirfields, ui->actionPrint_card, ui->actionExport_card_as_PDF})
        fileAction->setEnabled(!transfer);
    ui->frequencyTable->setEnabled(!transfer);
    // Nor is the table edited under a transfer: not by undo, nor by a row
    // operation of the Edit menu.
    for (QAction *edit : ui->menuEdit->actions())
        edit->setEnabled(!transfer);
    if (!transfer) {
        ui->actionUndo->setEnabled(sheet.canUndo());
        ui->actionRedo->setEnabled(sheet.canRedo());
    }
    ui->cancelButton->setVisible(transfer);
    cancelShortcut->setEnabled(transfer);
}

// The progress bar runs once from 0 to 100 during a transfer, over all its
// phases; the last result line gives way to it.
void MainWindow::showTransferProgress()
{
    writtenLine.clear();
    showRadioState();
    ui->progressBar->show();
    ui->progressBar->setMinimum(0);
    ui->progressBar->setMaximum(100);
    ui->progressBar->reset();
}

// The job's progress, posted to the bar as its channels cross the line.
void MainWindow::observeProgress(Session::JobObserver &observer, const QVector<Session::Phase> &phases)
{
    auto progress = std::make_shared<Session::JobProgress>(channelCount(), phases);
    observer.progress = [this, progress](Session::Phase phase, int row) {
        const int percent = progress->percentAfter(phase, row);
        QMetaObject::invokeMethod(this, [this, percent] { ui->progressBar->setValue(percent); }, Qt::QueuedConnection);
    };
}

void MainWindow::cancelTransfer()
{
    if (radio && (activity == Activity::Reading || activity == Activity::Writing))
        radio->requestStop();
}

void MainWindow::loadFreqsFromVkr()
{
    if (activity != Activity::Idle || !connectedModel)
        return;
    if (!maySetTableAside())
        return;
    setActivity(Activity::Reading);
    ui->statusBar->showMessage(tr("Reading..."));

    // The table stays as it is until the read is complete: a read that
    // stops half-way must leave nothing of it there for a save to write.
    Session::JobObserver observer;
    observeProgress(observer, {Session::Phase::Reading});
    observer.stopRequested = radio->stopCheck();
    radio->run([this, observer](RadioConnection &connection) {
        BackupStore store;
        const Session::ReadOutcome read = Session::readRadio(connection, &store, Session::Phase::Reading, observer);
        QMetaObject::invokeMethod(this, [this, read] { readEnded(read); }, Qt::QueuedConnection);
    });
}

// Fewer channels than the radio holds, a frame cut short or garbled, or a
// read stopped is no success: the table stays as it was, and what came is
// shown apart from it, to be taken into the table only if the user wants.
void MainWindow::readEnded(const Session::ReadOutcome &read)
{
    setActivity(Activity::Idle);
    if (read.isComplete()) {
        showRadioChannels(read.channels);
        sheet.setRadioMemory(read.channels);
        showStatusMessage(read.backup.path.isEmpty()
                              ? tr("Read finished; no backup kept: %1").arg(read.backup.error)
                              : tr("Read finished"));
    } else {
        showStatusMessage(tr("Read incomplete"));
        if (!closeAfterTransfer)
            showIncompleteRead(read);
    }
    closeIfAsked();
}

// What an incomplete read got, apart from the table: it goes into the
// table, as one step that can be undone, only when the user says so.
void MainWindow::showIncompleteRead(const Session::ReadOutcome &read)
{
    const int came = read.result.received;
    QStringList lines;
    for (int row = 0; row < came; ++row)
        lines << QStringLiteral("%1: %2").arg(firstChannelNumber() + row).arg(ChannelComparison::describe(read.channels.at(row)));
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Read incomplete"),
                    QStringLiteral("The %1 was not read whole: %2. The table was left as it was.")
                        .arg(connectedRadioName(), Session::describeIncompleteRead(read.result, read.channels.size())),
                    QMessageBox::Close, this);
    QPushButton *take = nullptr;
    if (came > 0) {
        box.setInformativeText(QStringLiteral("The channels that came are in the details."));
        box.setDetailedText(lines.join(QLatin1Char('\n')));
        take = box.addButton(QStringLiteral("Put them in the table"), QMessageBox::ActionRole);
    }
    box.setDefaultButton(QMessageBox::Close);
    box.exec();
    if (take && box.clickedButton() == take)
        sheet.replace(read.channels.mid(0, came), tr("Read from radio"));
}

// Every row is checked by the radio's rules before a byte is sent; the
// rows refused are named with their reasons, and the first is shown.
bool MainWindow::channelsFitTheRadio()
{
    const QVector<ChannelProblem> problems = sheet.problems();
    if (problems.isEmpty())
        return true;
    QStringList lines;
    for (const ChannelProblem &problem : problems.mid(0, problemsNamed))
        lines << QStringLiteral("Channel %1: %2").arg(firstChannelNumber() + problem.channel).arg(problem.text);
    if (problems.size() > problemsNamed)
        lines << QStringLiteral("... and %1 more").arg(problems.size() - problemsNamed);
    const ChannelProblem &first = problems.first();
    showChannelProblem(first.channel,
                       first.field == ChannelProblem::Field::Frequency ? Column::FrequencyColumn : Column::NameColumn);

    QMessageBox box(QMessageBox::Warning, QStringLiteral("Invalid data"),
                    QStringLiteral("Please correct invalid (red) channel data before transfer."), QMessageBox::Ok, this);
    box.setInformativeText(lines.join(QLatin1Char('\n')));
    box.exec();
    return false;
}

void MainWindow::saveFreqsToVkr()
{
    if (activity != Activity::Idle || !connectedModel)
        return;
    if (!channelsFitTheRadio())
        return;
    startWrite(sheet.radioChannels(), WriteSource());
}

// Once a transfer the user stopped to close the window has ended.
void MainWindow::closeIfAsked()
{
    if (!closeAfterTransfer)
        return;
    closeAfterTransfer = false;
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

// The safe write of the channels, or of a backup file when the source names
// one; writeEnded() follows.
void MainWindow::startWrite(const Channels &channels, const WriteSource &source)
{
    setActivity(Activity::Writing);
    Session::JobObserver observer;
    // The status bar names the phase; one bar runs over all of them.
    observer.phaseStarted = [this](Session::Phase phase) {
        QMetaObject::invokeMethod(this, [this, phase] {
            if (phase == Session::Phase::BackingUp)
                ui->statusBar->showMessage(tr("Backing up..."));
            else if (phase == Session::Phase::Writing)
                ui->statusBar->showMessage(tr("Writing..."));
            else if (phase == Session::Phase::Verifying)
                ui->statusBar->showMessage(tr("Checking..."));
        }, Qt::QueuedConnection);
    };
    observeProgress(observer, Session::JobProgress::safeWritePhases());
    observer.frameAnswered = [this, shown = std::make_shared<bool>(false)](int, Link::FrameAnswer answer) {
        if (answer != Link::FrameAnswer::Refused || *shown)
            return;
        *shown = true; // said at the first refusal, as it happens
        QMetaObject::invokeMethod(this, [this] { showStatusMessage(tr("Write error")); }, Qt::QueuedConnection);
    };
    observer.stopRequested = radio->stopCheck();

    // Every write reads the radio's memory into a backup first: the radio
    // on the cable may not be the one read last. A table that would empty
    // most of its channels (a list cut short, the wrong file) is written
    // only once the user agreed, for the memory the radio holds now.
    Session::WriteRequest request;
    request.channels = channels;
    request.refuseEmptying = true;
    request.emptyingAgreedFor = source.emptyingAgreedFor;
    Session::RestoreRequest restore;
    restore.backupPath = source.restoreFrom;
    restore.emptyingAgreedFor = source.emptyingAgreedFor;
    restore.undoesFailedWrite = source.undoesFailedWrite;
    radio->run([this, observer, request, restore, source](RadioConnection &connection) {
        BackupStore store;
        const Session::WriteReport result = source.restoreFrom.isEmpty()
            ? Session::safeWrite(connection, store, request, observer)
            : Session::restoreBackup(connection, store, restore, observer);
        QMetaObject::invokeMethod(this, [this, result, source] { writeEnded(result, source); },
                                  Qt::QueuedConnection);
    });
}
