// Reading and writing the radio's channel memory from the window. The
// session's jobs run on the radio's thread; the window shows their progress
// as it comes and stays usable meanwhile, with every control that could
// start another transfer or change the table, the port or the file
// disabled until the job ends.
#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "ChannelDelegate.h"
#include "EditorStyles.h"
#include "RadioConnection.h"
#include "RadioRead.h"
#include "RadioThread.h"
#include "SafeWrite.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QShortcut>

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

// The progress bar runs from 0 to the radio's channel count during a transfer.
void MainWindow::showTransferProgress()
{
    ui->progressBar->show();
    ui->progressBar->setMinimum(0);
    ui->progressBar->setMaximum(channelCount());
    ui->progressBar->reset();
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

    Session::JobObserver observer;
    observer.channelRead = [this](int row, const Channel &channel) {
        QMetaObject::invokeMethod(this, [this, row, channel] {
            // The table is emptied only once the radio has begun to send: a
            // radio that sends nothing leaves it as it was.
            if (row == 0)
                tableReadFrom = QLatin1String(connectedModel->label);
            showReceivedChannel(row, channel);
            ui->progressBar->setValue(row);
        }, Qt::QueuedConnection);
    };
    observer.stopRequested = radio->stopCheck();
    radio->run([this, observer](RadioConnection &connection) {
        BackupStore store;
        const Session::ReadOutcome read = Session::readRadio(connection, &store, Session::Phase::Reading, observer);
        QMetaObject::invokeMethod(this, [this, read] { readEnded(read); }, Qt::QueuedConnection);
    });
}

// Fewer channels than the radio holds, a frame cut short or garbled, or a
// read stopped is no success: rows not received are empty, not the
// radio's, and a bad frame was decoded from the bytes that came.
void MainWindow::readEnded(const Session::ReadOutcome &read)
{
    setActivity(Activity::Idle);
    // What came replaces the table as one step that can be undone.
    if (read.result.received > 0)
        showRadioChannels(read.channels.mid(0, read.result.received), read.isComplete());
    // A complete read, kept as a backup, is the radio's memory as it stands.
    currentBackup = read.isComplete() ? read.backup.path : QString();
    showStatusMessage(read.isComplete() ? tr("Read finished") : tr("Read incomplete"));
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

// The safe write of the channels, or of a backup file when the source names
// one; writeEnded() follows.
void MainWindow::startWrite(const Channels &channels, const WriteSource &source)
{
    setActivity(Activity::Writing);
    Session::JobObserver observer;
    observer.phaseStarted = [this](Session::Phase phase) {
        QMetaObject::invokeMethod(this, [this, phase] {
            ui->progressBar->reset();
            if (phase == Session::Phase::BackingUp)
                ui->statusBar->showMessage(tr("Backing up..."));
            else if (phase == Session::Phase::Writing)
                ui->statusBar->clearMessage();
        }, Qt::QueuedConnection);
    };
    observer.progress = [this](Session::Phase, int row) {
        QMetaObject::invokeMethod(this, [this, row] { ui->progressBar->setValue(row); }, Qt::QueuedConnection);
    };
    observer.frameAnswered = [this, shown = std::make_shared<bool>(false)](int, Link::FrameAnswer answer) {
        if (answer != Link::FrameAnswer::Refused || *shown)
            return;
        *shown = true; // said at the first refusal, as it happens
        QMetaObject::invokeMethod(this, [this] { showStatusMessage(tr("Write error")); }, Qt::QueuedConnection);
    };
    observer.stopRequested = radio->stopCheck();

    Session::WriteRequest request;
    request.channels = channels;
    request.currentBackup = currentBackup;
    // A table that would empty most of the radio's channels (a list cut
    // short, the wrong file) is written only once the user agrees.
    request.refuseEmptying = !source.emptyingAgreed;
    radio->run([this, observer, request, source](RadioConnection &connection) {
        BackupStore store;
        const Session::WriteReport result = source.restoreFrom.isEmpty()
            ? Session::safeWrite(connection, store, request, observer)
            : Session::restoreBackup(connection, store, source.restoreFrom, observer, request.currentBackup);
        QMetaObject::invokeMethod(this, [this, result, source] { writeEnded(result, source); },
                                  Qt::QueuedConnection);
    });
}
