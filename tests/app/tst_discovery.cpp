// Finding and identifying a radio through the window, against virtual
// radios on pseudo-terminals, with the real port and the real time-outs.
#include "TestMain.h"

#include "DeviceWindow.h"
#include "WireBytes.h"

#include <QGuiApplication>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <optional>

using namespace DeviceTest;

namespace {

using Radios = std::vector<std::unique_ptr<VirtualRadio>>;

RadioSettings radioOf(int model)
{
    RadioSettings settings;
    settings.model = model;
    return settings;
}

RadioSettings withFault(void (*change)(RadioFaults &))
{
    RadioSettings settings;
    change(settings.faults);
    return settings;
}

RadioSettings silentRadio()
{
    return withFault([](RadioFaults &f) { f.silent = true; });
}

// Starts the radios and names their ports, in order, as the machine's ports.
Radios startRadios(const QVector<RadioSettings> &settings)
{
    Radios radios;
    for (const RadioSettings &s : settings)
        radios.push_back(std::make_unique<VirtualRadio>(s));
    setPortList(portsOf(radios));
    return radios;
}

bool allServing(const Radios &radios)
{
    return std::all_of(radios.begin(), radios.end(), [](const auto &radio) { return radio->isServing(); });
}

QByteArray probeBytes()
{
    return Wire::pingCommand + Wire::identifyCommand;
}

// The texts a label showed on screen, in the order painted, each once.
class PaintedTexts : public QObject
{
public:
    explicit PaintedTexts(QLabel *label)
        : label(label)
    {
        label->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && (texts.isEmpty() || texts.last() != label->text()))
            texts.append(label->text());
        return false;
    }

    QLabel *label;
    QStringList texts;
};

// A port held by another program (a terminal program): its lock file names
// a live process. Both go with this.
struct HeldPort {
    explicit HeldPort(const QString &port)
        : lock(QStringLiteral("/run/lock/LCK..") + port.mid(5).replace(QLatin1Char('/'), QLatin1Char('_')))
    {
        holder.start(QStringLiteral("sleep"), {QStringLiteral("300")});
        if (holder.waitForStarted() && lock.open(QIODevice::WriteOnly))
            lock.write(QByteArray::number(holder.processId()).rightJustified(10) + "\n");
        lock.close();
    }
    ~HeldPort()
    {
        lock.remove(); // this test's own lock
        holder.kill();
        holder.waitForFinished();
    }
    QProcess holder;
    QFile lock;
};

} // namespace

class DiscoveryTest : public QObject
{
    Q_OBJECT

private slots:
    void identifiesEachModel_data();
    void identifiesEachModel();
    void noPortsAtAll();
    void radioOnThirdOfFourPorts();
    void echoedPingAccepted();
    void wrongPingRejected();
    void pingWithoutIdentifyLeavesAlive();
    void unknownModelTextLeavesRead();
    void autoWhileConnectedRescansFromFirstPort();
    void choosingPortsProbesEachOnce();
    void twentyChannelsThenHundred();
    void repeatedScansKeepOneConnection();
    void randomAnswersNeverCrash();
    void unpluggedRadioIsDropped();
    void portHeldByAnotherProgramIsSaid();
    void portPluggedInAfterStart_data();
    void portPluggedInAfterStart();
};

void DiscoveryTest::identifiesEachModel_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("firstNumber");
    QTest::addColumn<QString>("lastNumber");

    QTest::newRow("VKR627A") << 0 << "VKR627A" << 100 << "0" << "99";
    QTest::newRow("VKR627S") << 1 << "VKR627S" << 20 << "1" << "20";
    QTest::newRow("VKR627-II") << 2 << "VKR627-II" << 20 << "1" << "20";
    QTest::newRow("VKR627") << 3 << "VKR627" << 100 << "0" << "99";
}

void DiscoveryTest::identifiesEachModel()
{
    QFETCH(int, model);
    QFETCH(QString, label);
    QFETCH(int, rows);
    QFETCH(QString, firstNumber);
    QFETCH(QString, lastNumber);

    Radios radios = startRadios({radioOf(model)});
    QVERIFY(allServing(radios));
    const QString portName = radios[0]->portName();
    {
        DeviceWindow w;
        QVERIFY(w.buttonsDisabled());
        QCOMPARE(w.table->rowCount(), 100);
        QVERIFY(w.waitForFirstScan());

        QCOMPARE(w.label->text(), label);
        QCOMPARE(w.label->styleSheet(), ExpectedStyle::green);
        QCOMPARE(w.table->rowCount(), 100); // the rows beyond the radio's stay
        QCOMPARE(w.number(0), firstNumber);
        QCOMPARE(w.number(rows - 1), lastNumber);
        QCOMPARE(w.table->item(rows - 1, 0)->toolTip(), QString());
        if (rows < 100)
            QCOMPARE(w.table->item(rows, 0)->toolTip(), QStringLiteral("not on this radio"));
        QVERIFY(w.buttonsEnabled());
        QVERIFY(w.portOpen());
        QVERIFY(w.isOnPort(portName));
        QCOMPARE(w.ports->count(), 1);
        QCOMPARE(w.ports->currentText(), portName);
        QCOMPARE(w.lastMessage(), QStringLiteral("Device connected"));
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(radios[0]->received(), probeBytes());
        QVERIFY(!portIsFree(portName));
    }
    // Closing the window closes the port.
    QVERIFY(portIsFree(portName));
}

void DiscoveryTest::noPortsAtAll()
{
    setPortList({});
    DeviceWindow w;
    QVERIFY(w.waitForFirstScan());
    QCOMPARE(w.ports->count(), 0);
    QCOMPARE(w.label->text(), QStringLiteral("No device"));
    QCOMPARE(w.label->styleSheet(), ExpectedStyle::red);
    QCOMPARE(w.lastMessage(), QStringLiteral("Connecting device"));
    QVERIFY(w.buttonsDisabled());
    QVERIFY(!w.portOpen());
    QCOMPARE(w.table->rowCount(), 100);
    QVERIFY(!QGuiApplication::overrideCursor());

    QVERIFY(w.pressAuto());
    QCOMPARE(w.ports->count(), 0);
    QCOMPARE(w.label->text(), QStringLiteral("No device"));
    QVERIFY(w.buttonsDisabled());
}

// The first two ports are probed and closed, the third stays open, the
// fourth is never touched.
void DiscoveryTest::radioOnThirdOfFourPorts()
{
    Radios radios = startRadios({silentRadio(), withFault([](RadioFaults &f) { f.wrongPingAnswer = true; }),
                                 radioOf(1), radioOf(0)});
    QVERIFY(allServing(radios));
    DeviceWindow w;
    QVERIFY(w.waitForFirstScan());

    QCOMPARE(w.label->text(), QStringLiteral("VKR627S"));
    QCOMPARE(w.ports->count(), 4);
    QCOMPARE(w.ports->currentIndex(), 2);
    QVERIFY(w.isOnPort(radios[2]->portName()));
    QVERIFY(w.portOpen());
    QCOMPARE(radios[0]->received(), Wire::pingCommand);
    QCOMPARE(radios[1]->received(), Wire::pingCommand);
    QCOMPARE(radios[2]->received(), probeBytes());
    QCOMPARE(radios[3]->received(), QByteArray());
    QVERIFY(portIsFree(radios[0]->portName()));
    QVERIFY(portIsFree(radios[1]->portName()));
    QVERIFY(!portIsFree(radios[2]->portName()));
}

void DiscoveryTest::echoedPingAccepted()
{
    Radios radios = startRadios({withFault([](RadioFaults &f) { f.echoPing = true; })});
    DeviceWindow w;
    QVERIFY(w.waitForFirstScan());
    QCOMPARE(w.label->text(), QStringLiteral("VKR627A"));
    QCOMPARE(w.label->styleSheet(), ExpectedStyle::green);
    QVERIFY(w.buttonsEnabled());
}

// A port that does not open is passed over; a wrong ping answer stops the
// probe before the identify request.
void DiscoveryTest::wrongPingRejected()
{
    Radios radios = startRadios({withFault([](RadioFaults &f) { f.wrongPingAnswer = true; })});
    const QString missing = QStringLiteral("/dev/no-such-serial-port");
    setPortList({missing, radios[0]->portName()});
    DeviceWindow w;
    QVERIFY(w.waitForFirstScan());
    QCOMPARE(w.ports->count(), 2);
    QCOMPARE(w.label->text(), QStringLiteral("No device"));
    QCOMPARE(w.label->styleSheet(), ExpectedStyle::red);
    QVERIFY(w.buttonsDisabled());
    QVERIFY(!w.portOpen());
    QCOMPARE(radios[0]->received(), Wire::pingCommand);
    QCOMPARE(w.table->rowCount(), 100);
}

void DiscoveryTest::pingWithoutIdentifyLeavesAlive()
{
    Radios radios = startRadios({withFault([](RadioFaults &f) { f.noIdentifyAnswer = true; })});
    DeviceWindow w;
    QVERIFY(w.waitForFirstScan());
    QCOMPARE(w.label->text(), QStringLiteral("alive"));
    QCOMPARE(w.label->styleSheet(), ExpectedStyle::red);
    QVERIFY(w.buttonsDisabled());
    QVERIFY(!w.portOpen());
    QCOMPARE(radios[0]->received(), probeBytes());
}

void DiscoveryTest::unknownModelTextLeavesRead()
{
    RadioSettings settings;
    settings.modelText = unknownModelText;
    Radios radios = startRadios({settings});
    DeviceWindow w;
    QVERIFY(w.waitForFirstScan());
    QCOMPARE(w.label->text(), QStringLiteral("read"));
    QCOMPARE(w.label->styleSheet(), ExpectedStyle::red);
    QVERIFY(w.buttonsDisabled());
    QVERIFY(!w.portOpen());
    QCOMPARE(w.table->rowCount(), 100);
}

void DiscoveryTest::autoWhileConnectedRescansFromFirstPort()
{
    Radios radios = startRadios({silentRadio(), radioOf(3), radioOf(0)});
    DeviceWindow w;
    QVERIFY(w.waitForFirstScan());
    QCOMPARE(w.ports->currentIndex(), 1);
    QVERIFY(w.portOpen());
    for (auto &radio : radios)
        radio->clearLogs();

    PaintedTexts painted(w.label);
    QVERIFY(w.pressAuto());
    // Each state was on screen as the scan reached it.
    QCOMPARE(painted.texts, (QStringList{"connecting...", "No device", "alive", "read", "VKR627"}));
    // The open port was closed, else the first port could not have been
    // opened by the same port object.
    QCOMPARE(radios[0]->received(), Wire::pingCommand);
    QCOMPARE(radios[1]->received(), probeBytes());
    QCOMPARE(radios[2]->received(), QByteArray());
    QCOMPARE(w.label->text(), QStringLiteral("VKR627"));
    QCOMPARE(w.ports->currentIndex(), 1);
    QVERIFY(w.portOpen());
    QVERIFY(w.buttonsEnabled());
    QVERIFY(!QGuiApplication::overrideCursor());

    // The radio's port is gone from the list: the scan closes the port and
    // leaves nothing to transfer with.
    setPortList({});
    QVERIFY(w.pressAuto());
    QVERIFY(!w.portOpen());
    QVERIFY(w.buttonsDisabled());
}

// A change of selection probes the chosen port once: a port without a radio
// gives "No device", a closed port and disabled buttons; the radio's port
// is identified again.
void DiscoveryTest::choosingPortsProbesEachOnce()
{
    Radios radios = startRadios({radioOf(1), silentRadio()});
    DeviceWindow w;
    QVERIFY(w.waitForFirstScan());
    QCOMPARE(w.label->text(), QStringLiteral("VKR627S"));
    for (auto &radio : radios)
        radio->clearLogs();

    QVERIFY(w.choosePort(1));
    QCOMPARE(w.ports->currentIndex(), 1);
    QCOMPARE(w.label->text(), QStringLiteral("No device"));
    QCOMPARE(w.label->styleSheet(), ExpectedStyle::red);
    QVERIFY(!w.portOpen());
    QVERIFY(w.buttonsDisabled());
    QCOMPARE(radios[1]->received(), Wire::pingCommand);
    QCOMPARE(radios[0]->received(), QByteArray());
    QVERIFY(portIsFree(radios[0]->portName()));
    QVERIFY(!QGuiApplication::overrideCursor());

    QVERIFY(w.choosePort(0));
    QCOMPARE(w.ports->currentIndex(), 0);
    QCOMPARE(w.label->text(), QStringLiteral("VKR627S"));
    QCOMPARE(w.label->styleSheet(), ExpectedStyle::green);
    QVERIFY(w.portOpen());
    QVERIFY(w.isOnPort(radios[0]->portName()));
    QVERIFY(w.buttonsEnabled());
    QCOMPARE(radios[0]->received(), probeBytes());
    QCOMPARE(radios[1]->received(), Wire::pingCommand);
}

// A 20-channel model keeps all 100 records, those beyond its channels
// greyed; a 100-channel model found afterwards shows them all again, working.
void DiscoveryTest::twentyChannelsThenHundred()
{
    Radios radios = startRadios({radioOf(2)});
    DeviceWindow w;
    w.typeInto(w.nameEditor(3), QStringLiteral("TOWER"));
    w.typeInto(w.frequencyEditor(3), QStringLiteral("121.500"));
    w.typeInto(w.nameEditor(50), QStringLiteral("KEPT"));
    w.typeInto(w.frequencyEditor(50), QStringLiteral("122.800"));
    QVERIFY(w.waitForFirstScan());
    QCOMPARE(w.label->text(), QStringLiteral("VKR627-II"));
    QCOMPARE(w.table->rowCount(), 100);
    QCOMPARE(w.number(0), QStringLiteral("1"));
    QCOMPARE(w.number(19), QStringLiteral("20"));
    QCOMPARE(w.nameEditor(3)->text(), QStringLiteral("TOWER"));
    QCOMPARE(w.nameEditor(50)->text(), QStringLiteral("KEPT"));
    QCOMPARE(colourOf(w.frequencyEditor(50)), w.table->palette().color(QPalette::Disabled, QPalette::Text));
    QCOMPARE(w.frequencyEditor(50)->toolTip(), QStringLiteral("not on this radio"));

    radios[0]->setSettings(radioOf(0));
    QVERIFY(w.pressAuto());
    QCOMPARE(w.label->text(), QStringLiteral("VKR627A"));
    QCOMPARE(w.table->rowCount(), 100);
    for (int row = 0; row < 100; ++row)
        QCOMPARE(w.number(row), QString::number(row));
    QCOMPARE(w.nameEditor(3)->text(), QStringLiteral("TOWER"));
    QCOMPARE(w.frequencyEditor(3)->text(), QStringLiteral("121.500"));
    QCOMPARE(colourOf(w.frequencyEditor(3)), ExpectedColour::green);
    QCOMPARE(colourOf(w.frequencyEditor(50)), ExpectedColour::green);
    QCOMPARE(w.frequencyEditor(50)->toolTip(), QString());

    QTableWidgetItem *name = w.nameEditor(51);
    w.typeInto(name, QStringLiteral("ab-cdefghij"));
    QCOMPARE(name->text(), QStringLiteral("ABCDEFGH"));
    QCOMPARE(colourOf(name), ExpectedColour::none);
    QTableWidgetItem *frequency = w.frequencyEditor(51);
    w.typeInto(frequency, QStringLiteral("137"));
    QCOMPARE(frequency->text(), QStringLiteral("13"));
    QCOMPARE(colourOf(frequency), ExpectedColour::red);
    w.typeInto(frequency, QStringLiteral("136.980"));
    QCOMPARE(frequency->text(), QStringLiteral("136.980"));
    QCOMPARE(colourOf(frequency), ExpectedColour::green);
}

// However often the list is scanned, one change of selection runs one probe.
void DiscoveryTest::repeatedScansKeepOneConnection()
{
    Radios radios = startRadios({silentRadio(), silentRadio()});
    DeviceWindow w;
    QVERIFY(w.waitForFirstScan());
    for (int scan = 0; scan < 3; ++scan)
        QVERIFY(w.pressAuto());
    QCOMPARE(timesHeard(*radios[0], Wire::pingCommand), 4);
    QCOMPARE(timesHeard(*radios[1], Wire::pingCommand), 4);

    QVERIFY(w.choosePort(1));
    QCOMPARE(timesHeard(*radios[1], Wire::pingCommand), 5);
    QVERIFY(w.choosePort(0));
    QCOMPARE(timesHeard(*radios[0], Wire::pingCommand), 5);
    QCOMPARE(timesHeard(*radios[1], Wire::pingCommand), 5);

    QCOMPARE(SignalReceivers::count(w.ports, SIGNAL(currentIndexChanged(int))), 1);
}

// Random bytes after random pauses, as answers to ping and identify: every
// scan ends in a consistent state, whatever the radios say.
void DiscoveryTest::randomAnswersNeverCrash()
{
    QVector<RadioSettings> settings;
    for (quint32 seed : {11u, 22u, 33u}) {
        RadioSettings s;
        s.faults.garbage = true;
        s.faults.garbageSeed = seed;
        settings.append(s);
    }
    Radios radios = startRadios(settings);
    QVERIFY(allServing(radios));
    DeviceWindow w;
    QVERIFY(w.waitForFirstScan());
    const QStringList modelLabels{"VKR627A", "VKR627S", "VKR627-II", "VKR627"};
    const QStringList failureLabels{"No device", "alive", "read"};
    for (int scan = 0; scan < 2; ++scan) {
        if (scan > 0)
            QVERIFY(w.pressAuto());
        const bool identified = w.label->styleSheet() == ExpectedStyle::green;
        if (identified) {
            QVERIFY2(modelLabels.contains(w.label->text()), qPrintable(w.label->text()));
            QVERIFY(w.portOpen());
            QVERIFY(w.buttonsEnabled());
            QCOMPARE(w.table->rowCount(), 100);
            const bool twenty = w.label->text() == QLatin1String("VKR627S") || w.label->text() == QLatin1String("VKR627-II");
            QCOMPARE(w.number(0), twenty ? QStringLiteral("1") : QStringLiteral("0"));
        } else {
            QCOMPARE(w.label->styleSheet(), ExpectedStyle::red);
            QVERIFY2(failureLabels.contains(w.label->text()), qPrintable(w.label->text()));
            QVERIFY(!w.portOpen());
            QVERIFY(w.buttonsDisabled());
        }
        for (auto &radio : radios)
            QVERIFY(radio->received().startsWith(Wire::pingCommand) || radio->received().isEmpty());
    }
}

// A radio that vanishes while connected (cable pulled) is dropped: port
// closed, "No device", buttons disabled, and the window keeps working.
void DiscoveryTest::unpluggedRadioIsDropped()
{
    Radios radios = startRadios({radioOf(0)});
    DeviceWindow w;
    QVERIFY(w.waitForFirstScan());
    QVERIFY(w.portOpen());

    radios[0]->unplug();
    QVERIFY(waitUntil([&w] { return w.label->text() == QLatin1String("No device"); }, 10000));
    QVERIFY(!w.portOpen());
    QCOMPARE(w.label->styleSheet(), ExpectedStyle::red);
    QVERIFY(w.buttonsDisabled());

    QVERIFY(w.pressAuto());
    QCOMPARE(w.label->text(), QStringLiteral("No device"));
    QVERIFY(!w.portOpen());
}

// The radio's port held by another program (a second window, a terminal
// program): left alone, and the window says who holds it, by its whole name.
void DiscoveryTest::portHeldByAnotherProgramIsSaid()
{
    Radios radios = startRadios({radioOf(0)});
    const HeldPort held(radios[0]->portName());
    QVERIFY(held.lock.exists());
    DeviceWindow w;
    QVERIFY(w.waitForFirstScan());
    QCOMPARE(w.label->text(), QStringLiteral("No device"));
    const QString said = w.statusBar->currentMessage();
    QVERIFY2(said.startsWith(radios[0]->portName() + QStringLiteral(" is in use by sleep (process ")), qPrintable(said));
    QVERIFY(radios[0]->received().isEmpty()); // not a byte sent to it
}

void DiscoveryTest::portPluggedInAfterStart_data()
{
    QTest::addColumn<bool>("held"); // by another program, announced by its lock file
    QTest::newRow("radio") << false;
    QTest::newRow("held") << true;
}

// With no radio connected, a port that appears (a radio plugged in after
// the scan) is probed alone within 3 s, unless another program holds it.
void DiscoveryTest::portPluggedInAfterStart()
{
    QFETCH(bool, held);
    Radios radios = startRadios({silentRadio()});
    DeviceWindow w;
    QVERIFY(w.waitForFirstScan());
    const QByteArray heardBefore = radios[0]->received();
    VirtualRadio plugged(radioOf(1));
    std::optional<HeldPort> heldPort;
    if (held)
        heldPort.emplace(plugged.portName());
    setPortList({radios[0]->portName(), plugged.portName()});
    if (held) {
        QVERIFY(waitUntil([&w, &plugged] {
            return w.statusBar->currentMessage().startsWith(plugged.portName() + QStringLiteral(" is in use by sleep"));
        }, 10000));
        QVERIFY(plugged.received().isEmpty());
    } else {
        QVERIFY(waitUntil([&plugged] { return plugged.received().startsWith(Wire::pingCommand); }, 3000));
        QVERIFY(waitUntil([&w] { return w.label->text() == QLatin1String("VKR627S"); }));
        QCOMPARE(w.ports->currentText(), plugged.portName());
        QVERIFY(w.isOnPort(plugged.portName()) && w.buttonsEnabled());
    }
    QCOMPARE(radios[0]->received(), heardBefore); // the port probed before is left alone
}

VKR_TEST_MAIN(DiscoveryTest)
#include "tst_discovery.moc"
