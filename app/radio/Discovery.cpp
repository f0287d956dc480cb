// Finding and identifying the radio on the machine's serial ports. The
// probes run on the radio's thread; the window shows how far each gets.
#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "ChannelFrame.h"
#include "EditorStyles.h"
#include "RadioConnection.h"
#include "RadioThread.h"
#include "SerialPorts.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>

namespace {

// Texts of the device label; shown as they stand, untranslated.
constexpr char connectingText[] = "connecting...";
constexpr char noDeviceText[] = "No device";
constexpr char aliveText[] = "alive";
constexpr char readText[] = "read";

const auto portSelectionChanged = QOverload<int>::of(&QComboBox::currentIndexChanged);

// How often the port list is looked at while no radio is connected: a
// radio plugged in is noticed within this, and probed.
constexpr int portWatchInterval = 1000; // ms

} // namespace

RadioThread &MainWindow::radioThread()
{
    if (!radio) {
        radio = new RadioThread(this);
        radio->portVanished = [this] { radioVanished(); };
    }
    return *radio;
}

// Shows how far each probe gets ("alive", "read") as the radio's thread
// reaches it.
Link::ProbeProgress MainWindow::probeStagesShown()
{
    return [this](Link::ProbeStage stage) {
        QMetaObject::invokeMethod(this, [this, stage] {
            showDeviceText(QLatin1String(stage == Link::ProbeStage::Alive ? aliveText : readText));
        }, Qt::QueuedConnection);
    };
}

void MainWindow::searchVKR()
{
    if (activity != Activity::Idle)
        return;
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    showDeviceState(QLatin1String(connectingText), EditorStyle::black);
    showStatusMessage(tr("Connecting device"));

    // Refilling the list and selecting the radio's port below must not start
    // probes of their own.
    disconnect(ui->comPortComboBox, portSelectionChanged, nullptr, nullptr);
    fillComPortComboBox();
    // No radio is shown until a probe finds one, also when there is no port
    // to probe.
    showDeviceState(QLatin1String(noDeviceText), EditorStyle::red);

    QStringList ports;
    for (int i = 0; i < ui->comPortComboBox->count(); ++i)
        ports.append(ui->comPortComboBox->itemText(i));
    probePorts(ports, [this](const RadioModel *model, int index) {
        probeEnded(model, index);
        if (model)
            showStatusMessage(tr("Device connected"));
        connect(ui->comPortComboBox, portSelectionChanged, this, &MainWindow::comPortChanged);
        QGuiApplication::restoreOverrideCursor();
        if (!portWatch) {
            portWatch = new QTimer(this);
            connect(portWatch, &QTimer::timeout, this, &MainWindow::watchPorts);
            portWatch->start(portWatchInterval);
        }
    });
}

// A port that appeared since the list was last looked at, while no radio
// is connected, is probed alone: a radio plugged in after the scan. The
// other ports were probed already; a port another program holds is not
// opened (the probe says who holds it).
void MainWindow::watchPorts()
{
    if (activity != Activity::Idle || connectedModel)
        return;
    const QStringList names = Link::serialPortNames();
    QStringList appeared;
    for (const QString &name : names) {
        if (!seenPorts.contains(name))
            appeared.append(name);
    }
    if (appeared.isEmpty()) {
        seenPorts = names;
        return;
    }
    {
        // The list shows the new port; picking it is the user's, not this.
        const QSignalBlocker quiet(ui->comPortComboBox);
        const QString current = ui->comPortComboBox->currentText();
        fillComPortComboBox();
        ui->comPortComboBox->setCurrentIndex(std::max(0, ui->comPortComboBox->findText(current)));
    }
    showDeviceState(QLatin1String(connectingText), EditorStyle::black);
    probePorts(appeared, [this, appeared](const RadioModel *model, int index) {
        const QSignalBlocker quiet(ui->comPortComboBox);
        if (model) {
            probeEnded(model, ui->comPortComboBox->findText(appeared.at(index)));
            showStatusMessage(tr("Device connected"));
        } else {
            showDeviceState(QLatin1String(noDeviceText), EditorStyle::red);
            probeEnded(nullptr, -1);
        }
    });
}

void MainWindow::comPortChanged(int currIndex)
{
    if (activity != Activity::Idle)
        return;
    showDeviceState(QLatin1String(connectingText), EditorStyle::black);
    probePorts({ui->comPortComboBox->itemText(currIndex)}, [this, currIndex](const RadioModel *model, int) {
        if (!model)
            showDeviceState(QLatin1String(noDeviceText), EditorStyle::red);
        probeEnded(model, currIndex);
    });
}

void MainWindow::fillComPortComboBox()
{
    const QStringList names = Link::serialPortNames();
    seenPorts = names;
    ui->comPortComboBox->clear();
    for (const QString &name : names)
        ui->comPortComboBox->addItem(name);
}

// Closes the port the window holds and probes the ports given, in order,
// on the radio's thread; the port stays open only where a radio answered.
// `ended` follows on the window's thread with the model found (or null)
// and the place of its port in `ports`.
void MainWindow::probePorts(const QStringList &ports, const std::function<void(const RadioModel *, int)> &ended)
{
    connectedModel = nullptr;
    firstFailedBackup.clear(); // another radio, maybe
    sheet.forgetRadioMemory();
    setActivity(Activity::Scanning);
    RadioThread &thread = radioThread();
    thread.run([this, ports, ended, stop = thread.stopCheck()](RadioConnection &connection) {
        const RadioConnection::Search search = connection.connect(ports, probeStagesShown(), stop);
        const RadioModel *model = search.found ? &connection.model() : nullptr;
        const int index = model ? int(ports.indexOf(connection.portName())) : -1;
        // A port another program holds is left alone, and said: "No device"
        // alone would send the user looking for a cable.
        QString held;
        for (const RadioConnection::PortFailure &failure : search.failures) {
            if (failure.probe.lock.held() && held.isEmpty())
                held = tr("%1 is in use by %2").arg(failure.port, Link::describeLock(failure.probe.lock));
        }
        QMetaObject::invokeMethod(this, [this, ended, model, index, held] {
            ended(model, index);
            if (!model && !held.isEmpty())
                showPortHeld(held);
        }, Qt::QueuedConnection);
    });
}

// The port that may hold the radio is held by another program: the status
// bar says so until the next message, the device label as long as it shows.
void MainWindow::showPortHeld(const QString &held)
{
    ui->statusBar->showMessage(held);
    ui->VKRInfo->setToolTip(held);
}

// The window takes on the radio found, or none: the device label, the
// table's rows and numbering, and the controls that need a radio.
void MainWindow::probeEnded(const RadioModel *model, int portIndex)
{
    connectedModel = model;
    ui->VKRInfo->setToolTip(QString());
    if (model) {
        ui->comPortComboBox->setCurrentIndex(portIndex);
        connectedPort = ui->comPortComboBox->itemText(portIndex);
        showDeviceState(QLatin1String(model->label), EditorStyle::green);
        setRadioModel(*model);
    }
    setActivity(Activity::Idle);
}

// The radio vanished (unplugged, its adapter pulled): its port was closed
// on the radio's thread; the window shows that no radio is connected.
void MainWindow::radioVanished()
{
    connectedModel = nullptr;
    // Plugged in again, its port is new to the watch, however quickly.
    seenPorts.removeAll(connectedPort);
    sheet.forgetRadioMemory();
    showDeviceState(QLatin1String(noDeviceText), EditorStyle::red);
    updateControls();
}

void MainWindow::showDeviceState(const QString &text, EditorStyle::Tone tone)
{
    deviceTone = tone;
    ui->VKRInfo->setStyleSheet(EditorStyle::labelStyleSheet(tone, palette()));
    showDeviceText(text);
}

// Painted at once: a scan sets "connecting..." and "No device" in one go,
// and the user is to see each state as it is reached.
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
