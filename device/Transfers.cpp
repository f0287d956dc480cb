// Reading and writing the radio's channel memory: the window moves the
// channels between the table and the link's transfer loops.
#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "ChannelComparison.h"
#include "MemoryTransfer.h"
#include "ChannelTransfer.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QSerialPort>

void MainWindow::loadFreqsFromVkr()
{
    if (!serialPort || !serialPort->isOpen())
        return;

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    showTransferProgress();

    const Link::ReadResult result = Link::readChannelMemory(
        *serialPort, channelCount, [this](int row, const Link::ReceivedChannel &channel) {
            // The table is emptied only once the radio has begun to send: a
            // radio that sends nothing leaves it as it was.
            if (row == 0)
                clearFrequencyTable();
            setEditorText(nameEditor(row), channel.name);
            setEditorText(frequencyEditor(row), channel.frequency);
            ui->progressBar->setValue(row);
            // The thread stays blocked until the read ends; show the rows now.
            repaint();
        });

    QGuiApplication::restoreOverrideCursor();
    ui->progressBar->hide();
    // Fewer channels than the radio holds, or a frame cut short, is no
    // success: rows not received are empty, not the radio's, and a short
    // frame was decoded from the bytes that came.
    showStatusMessage(result.isComplete(channelCount) ? tr("Read finished") : tr("Read incomplete"));
}

void MainWindow::saveFreqsToVkr()
{
    if (!serialPort || !serialPort->isOpen())
        return;
    if (!allChannelsValid())
        return;

    const ChannelRecords written = tableRecords();

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    showTransferProgress();

    const Link::WriteResult result = MemoryTransfer::write(
        *serialPort, written, written.size(), [this](int row) { ui->progressBar->setValue(row); },
        [this](int, Link::FrameAnswer answer) {
            if (answer == Link::FrameAnswer::Refused)
                showStatusMessage(tr("Write error"));
        });
    // A frame the radio did not acknowledge may not be in its memory, and
    // one it acknowledged may still be stored wrongly: the write is finished
    // only when every frame was taken and the memory read back holds them.
    const bool holdsWrite = result.allAcknowledged && radioHolds(written);

    ui->progressBar->hide();
    showStatusMessage(holdsWrite ? tr("Write finished") : tr("Write error"));
    QGuiApplication::restoreOverrideCursor();
}

// Reads the memory back, leaving the table as it is, and compares it with
// what was written as the radio stores channels. The progress bar runs again.
bool MainWindow::radioHolds(const ChannelRecords &written)
{
    ui->progressBar->reset();
    const MemoryTransfer::Read read =
        MemoryTransfer::read(*serialPort, channelCount, [this](int row) { ui->progressBar->setValue(row); });
    return read.isComplete() && ChannelComparison::differences(written, read.channels).isEmpty();
}

// The progress bar runs from 0 to the radio's channel count during a transfer.
void MainWindow::showTransferProgress()
{
    ui->progressBar->show();
    ui->progressBar->setMinimum(0);
    ui->progressBar->setMaximum(channelCount);
    ui->progressBar->reset();
}

// Every frequency must be valid or empty before anything is sent.
bool MainWindow::allChannelsValid()
{
    for (int row = 0; row < ui->frequencyTable->rowCount(); ++row) {
        const QLineEdit *editor = frequencyEditor(row);
        if (editor->hasAcceptableInput() || editor->text().isEmpty())
            continue;
        QMessageBox::warning(this, QStringLiteral("Invalid data"),
                             QStringLiteral("Please correct invalid (red) channel data before transfer."),
                             QMessageBox::Ok);
        return false;
    }
    return true;
}
