// Reading and writing the radio's channel memory: the window moves the
// channels between the table and the link's transfer loops.
#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "ChannelComparison.h"
#include "MemoryTransfer.h"
#include "ChannelTransfer.h"
#include "ChannelRules.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QSerialPort>

void MainWindow::loadFreqsFromVkr()
{
    if (!serialPort || !serialPort->isOpen())
        return;
    if (!maySetTableAside())
        return;

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    showTransferProgress();

    ChannelRecords received;
    const Link::ReadResult result = Link::readChannelMemory(
        *serialPort, channelCount, [this, &received](int row, const Link::ReceivedChannel &channel) {
            // The table is emptied only once the radio has begun to send: a
            // radio that sends nothing leaves it as it was.
            received.append({channel.name, channel.frequency});
            showReceivedChannel(row, received.last());
            ui->progressBar->setValue(row);
            // The thread stays blocked until the read ends; show the rows now.
            repaint();
        });

    if (!received.isEmpty())
        showRadioChannels(received, result.isComplete(channelCount));
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

    const ChannelRecords written = radioRecords();

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
    showStatusMessage(withRecordsLeftOut(holdsWrite ? tr("Write finished") : tr("Write error")));
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

// Every frequency the radio is sent must be valid or empty.
bool MainWindow::allChannelsValid()
{
    for (const ChannelRecord &record : radioRecords()) {
        if (record.frequency.isEmpty() || ChannelRules::isChannelFrequency(record.frequency))
            continue;
        QMessageBox::warning(this, QStringLiteral("Invalid data"),
                             QStringLiteral("Please correct invalid (red) channel data before transfer."),
                             QMessageBox::Ok);
        return false;
    }
    return true;
}
