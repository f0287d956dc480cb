// Finding and identifying the radio on the machine's serial ports.
#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "ChannelFrame.h"
#include "EditorStyles.h"
#include "PortProbe.h"
#include "Reply.h"
#include "SerialPorts.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QSerialPort>

namespace {

// Texts of the device label; shown as they stand, untranslated.
constexpr char connectingText[] = "connecting...";
constexpr char noDeviceText[] = "No device";
constexpr char aliveText[] = "alive";
constexpr char readText[] = "read";

const auto portSelectionChanged = QOverload<int>::of(&QComboBox::currentIndexChanged);

} // namespace

void MainWindow::searchVKR()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    showDeviceState(QLatin1String(connectingText), EditorStyle::black);
    showStatusMessage(tr("Connecting device"));

    // Refilling the list and selecting the radio's port below must not start
    // probes of their own.
    disconnect(ui->comPortComboBox, portSelectionChanged, nullptr, nullptr);
    fillComPortComboBox();

    if (!serialPort) {
        serialPort = new QSerialPort(this);
        connect(serialPort, &QSerialPort::errorOccurred, this,
                [this](QSerialPort::SerialPortError error) {
                    if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError)
                        closeVanishedPort();
                },
                Qt::QueuedConnection);
    } else {
        // Nothing can be transferred over the closed port, even when no port
        // is left to probe below.
        serialPort->close();
        setTransferButtonsEnabled(false);
    }
    // Each probe below applies the radio's line settings as it opens a port.

    showDeviceState(QLatin1String(noDeviceText), EditorStyle::red);
    for (int i = 0; i < ui->comPortComboBox->count(); ++i) {
        if (probePort(ui->comPortComboBox->itemText(i))) {
            ui->comPortComboBox->setCurrentIndex(i);
            showStatusMessage(tr("Device connected"));
            break;
        }
        serialPort->close();
    }

    connect(ui->comPortComboBox, portSelectionChanged, this, &MainWindow::comPortChanged);
    QGuiApplication::restoreOverrideCursor();
}

void MainWindow::comPortChanged(int currIndex)
{
    showDeviceState(QLatin1String(connectingText), EditorStyle::black);
    if (serialPort->isOpen())
        serialPort->close();
    if (probePort(ui->comPortComboBox->itemText(currIndex)))
        return;
    showDeviceState(QLatin1String(noDeviceText), EditorStyle::red);
    serialPort->close();
    setTransferButtonsEnabled(false);
}

void MainWindow::fillComPortComboBox()
{
    const QStringList names = Link::serialPortNames();
    ui->comPortComboBox->clear();
    for (const QString &name : names)
        ui->comPortComboBox->addItem(name);
}

// Leaves the port open only when a radio was identified on it; on failure
// the caller closes it.
bool MainWindow::probePort(const QString &portName)
{
    setTransferButtonsEnabled(false);
    const Link::RadioModel *model = Link::openAndProbe(*serialPort, portName, [this](Link::ProbeStage stage) {
        showDeviceText(QLatin1String(stage == Link::ProbeStage::Alive ? aliveText : readText));
    });
    if (!model)
        return false;

    showDeviceState(QLatin1String(model->label), EditorStyle::green);
    setRadioChannelCount(model->channelCount, model->firstChannelNumber);
    setTransferButtonsEnabled(true);
    return true;
}

// A radio that vanished (unplugged, its adapter pulled) leaves the port
// failing to read on every turn of the event loop, which would keep the
// program busy for good. Close it and show that no radio is connected. The
// check runs when the queued error arrives: a port that was closed, or
// opened afresh, since then has no error and is left alone.
void MainWindow::closeVanishedPort()
{
    const QSerialPort::SerialPortError error = serialPort->error();
    if (!serialPort->isOpen() || (error != QSerialPort::ResourceError && error != QSerialPort::ReadError))
        return;
    serialPort->close();
    showDeviceState(QLatin1String(noDeviceText), EditorStyle::red);
    setTransferButtonsEnabled(false);
}

void MainWindow::showDeviceState(const QString &text, EditorStyle::Tone tone)
{
    deviceTone = tone;
    ui->VKRInfo->setStyleSheet(EditorStyle::labelStyleSheet(tone, palette()));
    showDeviceText(text);
}

// The scan blocks the event loop for seconds; the label is painted at once
// so that the user sees each state as it is reached.
void MainWindow::showDeviceText(const QString &text)
{
    ui->VKRInfo->setText(text);
    ui->VKRInfo->repaint();
}

void MainWindow::setTransferButtonsEnabled(bool enabled)
{
    ui->loadFromDeviceButton->setEnabled(enabled);
    ui->writeToDeviceButton->setEnabled(enabled);
}

void MainWindow::collectReply(QByteArray &reply, int quietTime)
{
    Link::collectReply(*serialPort, reply, quietTime);
}

char MainWindow::frameChecksum(const QByteArray &frame, int n)
{
    return Link::frameChecksum(frame, n);
}
