// Reading and writing the radio's memory through the window, against
// virtual radios on pseudo-terminals, with the real port and time-outs.
#include "TestMain.h"

#include "DeviceWindow.h"
#include "LinkConstants.h"
#include "ModalAnswerer.h"

#include <QAction>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QtTest>

#include <random>

using namespace DeviceTest;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QByteArray emptyFrameOnWire()
{
    return hex("02 76 00 20 20 20 20 20 20 20 20 89");
}

RadioSettings radioOf(int model, void (*change)(RadioFaults &) = [](RadioFaults &) {})
{
    RadioSettings settings;
    settings.model = model;
    change(settings.faults);
    return settings;
}

// A window connected to one virtual radio, its first scan done.
struct Connected {
    explicit Connected(const RadioSettings &settings)
        : radio(settings)
    {
        setPortList({radio.portName()});
        window = std::make_unique<DeviceWindow>();
    }

    bool identified() const
    {
        return radio.isServing() && window->waitForFirstScan()
            && window->label->styleSheet() == ExpectedStyle::green;
    }

    // Bytes the radio heard since it answered the probe.
    QByteArray heardAfterProbe() const
    {
        return radio.received().mid(Link::pingCommand.size() + Link::identifyCommand.size());
    }

    VirtualRadio radio;
    std::unique_ptr<DeviceWindow> window;
};

// Every change of the status bar message while it lives, in order, each
// with whether a transfer was still running (its progress bar shown).
class StatusMessages
{
public:
    StatusMessages(QStatusBar *statusBar, QProgressBar *progressBar)
    {
        QObject::connect(statusBar, &QStatusBar::messageChanged, [this, progressBar](const QString &message) {
            if (message.isEmpty())
                return;
            messages.append(message);
            duringTransfer.append(progressBar->isVisible());
        });
    }
    QStringList messages;
    QList<bool> duringTransfer;
};

// Counts paint events of a widget and notes whether the wait cursor was up
// during each.
class PaintWatcher : public QObject
{
public:
    explicit PaintWatcher(QWidget *widget) { widget->installEventFilter(this); }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            const QCursor *cursor = QGuiApplication::overrideCursor();
            waitCursorEachTime = waitCursorEachTime && cursor && cursor->shape() == Qt::WaitCursor;
        }
        return false;
    }

    int paints = 0;
    bool waitCursorEachTime = true;
};

struct Row {
    QString name;
    QString frequency;
};

// A read over edits asks first; the user drops the edits.
std::unique_ptr<ModalAnswerer<QMessageBox>> discardWhenAsked(std::function<void()> answered = {})
{
    return std::make_unique<ModalAnswerer<QMessageBox>>([answered](QMessageBox *box) {
        QCOMPARE(box->text(), QStringLiteral("Save changes?"));
        if (answered)
            answered();
        box->button(QMessageBox::Discard)->click();
    });
}

QVector<Row> tableRows(const DeviceWindow &w)
{
    QVector<Row> rows;
    for (int row = 0; row < w.table->rowCount(); ++row)
        rows.append({w.nameEditor(row)->text(), w.frequencyEditor(row)->text()});
    return rows;
}

// Names and frequencies a user may type, chosen so that they read back the
// same: no spaces at the ends or in runs (names are tidied on reading), and
// no nameless channel at 118.000 (the radio's empty channel).
QVector<Row> randomRows(int count, quint32 seed)
{
    std::mt19937 random(seed);
    auto between = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const QString letters = QString::fromUtf8("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ÄÖÜ");
    const char *endings[] = {"00", "05", "10", "15", "25", "30", "35", "40",
                             "50", "55", "60", "65", "75", "80", "85", "90"};
    QVector<Row> rows;
    for (int i = 0; i < count; ++i) {
        if (between(0, 5) == 0) {
            rows.append(Row{});
            continue;
        }
        QString name;
        const int length = between(0, 8);
        while (name.size() < length && name.toUtf8().size() < 7) {
            if (!name.isEmpty() && !name.endsWith(' ') && name.size() < length - 1 && between(0, 6) == 0)
                name += ' ';
            else
                name += letters[between(0, letters.size() - 1)];
        }
        name = name.trimmed();
        const int megahertz = between(118, 136);
        QString frequency = QStringLiteral("%1.%2%3").arg(megahertz).arg(between(0, 9)).arg(endings[between(0, 15)]);
        if (megahertz == 136 && frequency > QLatin1String("136.980"))
            frequency = QStringLiteral("136.980");
        if (name.isEmpty() && frequency == QLatin1String("118.000"))
            frequency = QStringLiteral("118.005");
        rows.append({name, between(0, 9) == 0 ? QString() : frequency});
        if (rows.last().frequency.isEmpty() && rows.last().name.isEmpty())
            rows.last().frequency = frequency;
    }
    return rows;
}

void typeRows(const DeviceWindow &w, const QVector<Row> &rows)
{
    for (int row = 0; row < rows.size(); ++row) {
        w.typeInto(w.nameEditor(row), rows[row].name);
        w.typeInto(w.frequencyEditor(row), rows[row].frequency);
    }
}

} // namespace

class TransfersTest : public QObject
{
    Q_OBJECT

private slots:
    void writeSendsExactFrames();
    void writeRefusedForInvalidFrequency();
    void writeToRefusingRadio();
    void writeToSilentRadio();
    void writeCheckedByReadingBack();
    void readDecodesFrames();
    void readSplitsFrameAtPause();
    void incompleteReads();
    void strayByteBeforeTransfers();
    void roundTrip_data();
    void roundTrip();
    void unpluggedDuringRead();
    void unpluggedDuringWrite();
    void transfersNeedOpenPort();
};

void TransfersTest::writeSendsExactFrames()
{
    Connected c(radioOf(0));
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    w.typeInto(w.nameEditor(0), QStringLiteral("TOWER"));
    w.typeInto(w.frequencyEditor(0), QStringLiteral("121.500"));
    w.typeInto(w.nameEditor(1), QStringLiteral("ABCDEFGH"));
    w.typeInto(w.frequencyEditor(1), QStringLiteral("136.975"));
    w.typeInto(w.nameEditor(2), QStringLiteral("TOWER"));
    w.typeInto(w.nameEditor(3), QString::fromUtf8("ÄÖÜÄÖÜÄÖ"));
    w.typeInto(w.nameEditor(4), QString::fromUtf8("ABCDEFGÄ"));
    QCOMPARE(w.nameEditor(3)->text(), QString::fromUtf8("ÄÖÜÄÖÜÄÖ"));

    QSignalSpy progress(w.progressBar, &QProgressBar::valueChanged);
    QMetaObject::invokeMethod(w.writeButton, "click"); // pressed and released, as by the mouse

    QByteArray expected = Link::writeMemoryCommand;
    expected += hex("02 79 64 54 4F 57 45 52 20 20 20 99");
    expected += hex("02 88 C3 41 42 43 44 45 46 47 48 BC");
    expected += hex("02 76 00 54 4F 57 45 52 20 20 20 F2"); // no frequency: sent as 118.000
    expected += hex("02 76 00 C3 84 C3 96 C3 9C C3 84 83"); // the first 8 bytes of the name
    expected += hex("02 76 00 41 42 43 44 45 46 47 20 E9"); // cut before the character that does not fit
    expected += emptyFrameOnWire().repeated(95);
    expected += Link::eotByte;
    // Then the memory is read back, and the progress bar runs again.
    expected += Link::readMemoryCommand + Link::ackByte.repeated(100);
    QVERIFY(waitUntil([&c] { return c.radio.completedWrites() == 1; }, 5000));
    QCOMPARE(c.heardAfterProbe().toHex(' '), expected.toHex(' '));
    QCOMPARE(w.statusBar->currentMessage(), QStringLiteral("Write finished"));
    QVERIFY(!w.progressBar->isVisible());
    QCOMPARE(w.progressBar->maximum(), 100);
    QCOMPARE(progress.size(), 200);
    QCOMPARE(progress.at(99).at(0).toInt(), 99);
    QCOMPARE(progress.last().at(0).toInt(), 99);
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(c.radio.memory().channel(0).name, QStringLiteral("TOWER"));
    QCOMPARE(c.radio.memory().channel(1).frequency, QStringLiteral("136.975"));
    QCOMPARE(w.nameEditor(0)->text(), QStringLiteral("TOWER")); // the table is only read

    // An all-empty table, through the menu.
    for (int row = 0; row < 5; ++row) {
        w.typeInto(w.nameEditor(row), QString());
        w.typeInto(w.frequencyEditor(row), QString());
    }
    c.radio.clearLogs();
    w.window->findChild<QAction *>(QStringLiteral("actionWrite_to"))->trigger();
    QVERIFY(waitUntil([&c] { return c.radio.completedWrites() == 2; }, 5000));
    QCOMPARE(c.radio.received().toHex(' '), (Link::writeMemoryCommand + emptyFrameOnWire().repeated(100)
                                              + Link::eotByte + Link::readMemoryCommand + Link::ackByte.repeated(100))
                                                 .toHex(' '));
    QCOMPARE(w.statusBar->currentMessage(), QStringLiteral("Write finished"));
}

// A partly typed frequency stops the write before a single byte is sent.
void TransfersTest::writeRefusedForInvalidFrequency()
{
    Connected c(radioOf(1));
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    w.typeInto(w.nameEditor(0), QStringLiteral("TOWER"));
    w.typeInto(w.frequencyEditor(0), QStringLiteral("121.500"));
    w.typeInto(w.frequencyEditor(7), QStringLiteral("12"));
    QCOMPARE(colourOf(w.frequencyEditor(7)), ExpectedColour::red);

    QString title, text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    ModalAnswerer<QMessageBox> answerer([&](QMessageBox *box) {
        title = box->windowTitle();
        text = box->text();
        buttons = box->standardButtons();
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    QMetaObject::invokeMethod(w.writeButton, "click");
    QVERIFY(answerer.answered());
    QCOMPARE(title, QStringLiteral("Invalid data"));
    QCOMPARE(text, QStringLiteral("Please correct invalid (red) channel data before transfer."));
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(icon, QMessageBox::Warning);

    QTest::qWait(300); // anything sent would have arrived by now
    QCOMPARE(c.heardAfterProbe(), QByteArray());
    QVERIFY(!w.progressBar->isVisible());
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(c.radio.completedWrites(), 0);
}

// A radio that refuses every frame still gets them all, and the write ends
// in "Write error", also shown at each refusal.
void TransfersTest::writeToRefusingRadio()
{
    Connected c(radioOf(1, [](RadioFaults &f) { f.nakEveryFrame = true; }));
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    w.typeInto(w.nameEditor(0), QStringLiteral("TOWER"));
    w.typeInto(w.frequencyEditor(0), QStringLiteral("121.500"));
    StatusMessages status(w.statusBar, w.progressBar);
    QMetaObject::invokeMethod(w.writeButton, "click");

    QVERIFY(waitUntil([&c] { return c.heardAfterProbe().endsWith(Link::eotByte); }, 5000));
    QCOMPARE(c.heardAfterProbe().toHex(' '),
             (Link::writeMemoryCommand + hex("02 79 64 54 4F 57 45 52 20 20 20 99") + emptyFrameOnWire().repeated(19)
              + Link::eotByte)
                 .toHex(' '));
    // Shown at the first refusal, and still there at the end.
    QCOMPARE(status.messages, QStringList{QStringLiteral("Write error")});
    QCOMPARE(status.duringTransfer, QList<bool>{true});
    QCOMPARE(w.statusBar->currentMessage(), QStringLiteral("Write error"));
    QCOMPARE(c.radio.memory().channel(0).name, QString());
}

// No acknowledgement at all: every frame waits its 500 ms and is sent
// anyway; nothing is shown until the write ends in "Write error".
void TransfersTest::writeToSilentRadio()
{
    Connected c(radioOf(1, [](RadioFaults &f) { f.noAcknowledge = true; }));
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    StatusMessages status(w.statusBar, w.progressBar);
    QSignalSpy progress(w.progressBar, &QProgressBar::valueChanged);
    QMetaObject::invokeMethod(w.writeButton, "click");

    QCOMPARE(status.messages, QStringList{QStringLiteral("Write error")});
    QCOMPARE(status.duringTransfer, QList<bool>{false});
    QCOMPARE(progress.size(), 20);
    QVERIFY(waitUntil([&c] { return c.heardAfterProbe().endsWith(Link::eotByte); }, 5000));
    QCOMPARE(c.heardAfterProbe(), Link::writeMemoryCommand + emptyFrameOnWire().repeated(20) + Link::eotByte);
}

// Every frame acknowledged, but one stored other than sent: the read-back
// finds it, and the write is no success.
void TransfersTest::writeCheckedByReadingBack()
{
    Connected c(radioOf(1, [](RadioFaults &f) { f.corruptChannel = 3; }));
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    w.typeInto(w.frequencyEditor(3), QStringLiteral("121.500"));
    QMetaObject::invokeMethod(w.writeButton, "click");
    QCOMPARE(c.radio.completedWrites(), 1);
    QCOMPARE(c.radio.memory().channel(3).frequency, QStringLiteral("121.505"));
    QCOMPARE(w.statusBar->currentMessage(), QStringLiteral("Write error"));
}

// Frames decoded by position, colours by validity, 20 acknowledgements for
// a 20-channel radio, and the final wait after the last frame.
void TransfersTest::readDecodesFrames()
{
    Connected c(radioOf(1));
    c.radio.setFrame(0, hex("79 64 54 4F 57 45 52 20 20 20"));   // TOWER 121.500
    c.radio.setFrame(1, hex("76 00 20 20 20 20 20 20 20 20"));   // empty
    c.radio.setFrame(2, hex("76 00 00 41 42 43 44 45 46 47"));   // empty: the name ends at once
    c.radio.setFrame(3, hex("76 00 41 42 43 20 20 20 20 20"));   // ABC at 118.000
    c.radio.setFrame(4, hex("76 64 41 20 20 42 20 20 20 20"));   // "A  B" at 118.500
    c.radio.setFrame(5, hex("77"));                              // one byte
    c.radio.setFrame(6, hex("89 00 42 41 44 20 20 20 20 20"));   // BAD at 137.000
    c.radio.setFrame(7, hex("76 04 20 20 20 20 20 20 20 20"));   // 118.020, not on the raster
    c.radio.setFrame(19, hex("88 C4 4C 41 53 54 20 20 20 20"));  // LAST 136.980
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    w.typeInto(w.nameEditor(1), QStringLiteral("OLD"));
    w.typeInto(w.frequencyEditor(1), QStringLiteral("120.000"));
    w.typeInto(w.frequencyEditor(12), QStringLiteral("122.000"));
    QCOMPARE(colourOf(w.frequencyEditor(15)), ExpectedColour::none);

    QSignalSpy progress(w.progressBar, &QProgressBar::valueChanged);
    PaintWatcher painting(w.table->viewport());
    QElapsedTimer clock;
    const auto discard = discardWhenAsked([&] {
        painting.paints = 0; // from the read on
        painting.waitCursorEachTime = true;
        clock.start();
    });
    QMetaObject::invokeMethod(w.readButton, "click");
    const auto readEnded = RadioProtocol::Clock::now();
    QVERIFY(discard->answered());

    const QVector<Row> expected = {
        {"TOWER", "121.500"}, {"", ""}, {"", ""}, {"ABC", "118.000"}, {"A B", "118.500"},
        {"", "119.000"}, {"BAD", "137.000"}, {"", "118.020"},
    };
    // The whole table is replaced: rows beyond the radio's 20 are emptied.
    for (int row = 0; row < 100; ++row) {
        const Row want = row < expected.size() ? expected[row] : row == 19 ? Row{"LAST", "136.980"} : Row{};
        QCOMPARE(w.nameEditor(row)->text(), want.name);
        QCOMPARE(w.frequencyEditor(row)->text(), want.frequency);
    }
    for (int row : {0, 3, 4, 5, 19})
        QCOMPARE(colourOf(w.frequencyEditor(row)), ExpectedColour::green);
    for (int row : {6, 7})
        QCOMPARE(colourOf(w.frequencyEditor(row)), ExpectedColour::red);
    for (int row : {1, 12, 15})
        QCOMPARE(colourOf(w.frequencyEditor(row)), ExpectedColour::none);
    // The view is back on the first row, and the read is one step to undo.
    QCOMPARE(w.table->rowAt(0), 0);
    w.window->findChild<QAction *>(QStringLiteral("actionUndo"))->trigger();
    QCOMPARE(w.nameEditor(1)->text(), QStringLiteral("OLD"));
    QCOMPARE(w.frequencyEditor(12)->text(), QStringLiteral("122.000"));

    QCOMPARE(c.heardAfterProbe(), Link::readMemoryCommand + Link::ackByte.repeated(20));
    // The one-byte answer of channel 5 was shown as it came, but the read
    // did not get the radio's memory whole.
    QCOMPARE(w.statusBar->currentMessage(), QStringLiteral("Read incomplete"));
    QVERIFY(!w.progressBar->isVisible());
    QCOMPARE(w.progressBar->maximum(), 20);
    QCOMPARE(progress.size(), 20);
    for (int i = 0; i < progress.size(); ++i)
        QCOMPARE(progress.at(i).at(0).toInt(), i);
    // Each row in view that a channel changed (0 and 3 to 7) was painted as
    // it came, under the wait cursor.
    QVERIFY(painting.paints >= 6);
    QVERIFY(painting.waitCursorEachTime);
    QVERIFY(!QGuiApplication::overrideCursor());
    // After the last acknowledgement the read still listened for a second.
    const auto lastAck = c.radio.receivedLog().back().at;
    QVERIFY2(readEnded - lastAck >= std::chrono::milliseconds(Link::readFrameTimeout - 10),
             QByteArray::number(static_cast<qint64>(
                 std::chrono::duration_cast<std::chrono::milliseconds>(readEnded - lastAck).count())));
    QVERIFY(clock.elapsed() < 20000);
}

// A pause of more than 200 ms inside a frame splits it: the first part is
// one channel, the rest starts the next channel's answer, and the read is
// reported incomplete.
void TransfersTest::readSplitsFrameAtPause()
{
    Connected c(radioOf(1, [](RadioFaults &f) {
        f.pauseFrame = 2;
        f.pauseOffset = 4;
        f.pauseTime = 600;
    }));
    c.radio.setChannel(0, "ATIS", "127.125");
    c.radio.setChannel(2, "TOWER", "121.500");
    c.radio.setChannel(4, "GROUND", "121.900");
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    QMetaObject::invokeMethod(w.readButton, "click");

    QCOMPARE(w.nameEditor(0)->text(), QStringLiteral("ATIS"));
    QCOMPARE(w.frequencyEditor(2)->text(), QStringLiteral("121.500")); // 79 64 54 4F
    QCOMPARE(w.nameEditor(2)->text(), QStringLiteral("TO"));
    // 57 45 52 20 20 20, then the empty frame 76 00 20 ...
    QCOMPARE(w.frequencyEditor(3)->text(), QStringLiteral("87.345"));
    QCOMPARE(w.nameEditor(3)->text(), QStringLiteral("R v"));
    QCOMPARE(colourOf(w.frequencyEditor(3)), ExpectedColour::red);
    QCOMPARE(w.nameEditor(4)->text(), QStringLiteral("GROUND"));
    QCOMPARE(w.statusBar->currentMessage(), QStringLiteral("Read incomplete"));
    QCOMPARE(c.heardAfterProbe(), Link::readMemoryCommand + Link::ackByte.repeated(20));
}

// A radio that sends no frame leaves the table exactly as it was; one that
// stops early leaves the rest empty; both end in "Read incomplete".
void TransfersTest::incompleteReads()
{
    Connected c(radioOf(1, [](RadioFaults &f) { f.stopAfterFrames = 0; }));
    for (int row = 0; row < 20; ++row)
        c.radio.setChannel(row, QStringLiteral("CH%1").arg(row), "119.000");
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    w.typeInto(w.nameEditor(0), QStringLiteral("MINE"));
    w.typeInto(w.frequencyEditor(0), QStringLiteral("121.500"));
    w.typeInto(w.nameEditor(10), QStringLiteral("KEEP"));
    w.typeInto(w.frequencyEditor(10), QStringLiteral("1"));
    const QVector<Row> before = tableRows(w);
    const QColor colourBefore = colourOf(w.frequencyEditor(10));

    auto discard = discardWhenAsked();
    QMetaObject::invokeMethod(w.readButton, "click");
    QVERIFY(discard->answered());
    QCOMPARE(w.statusBar->currentMessage(), QStringLiteral("Read incomplete"));
    const QVector<Row> after = tableRows(w);
    for (int row = 0; row < 20; ++row) {
        QCOMPARE(after[row].name, before[row].name);
        QCOMPARE(after[row].frequency, before[row].frequency);
    }
    QCOMPARE(colourOf(w.frequencyEditor(10)), colourBefore);
    QVERIFY(!w.progressBar->isVisible());
    QVERIFY(!QGuiApplication::overrideCursor());

    RadioSettings settings = c.radio.settings();
    settings.faults.stopAfterFrames = 5;
    c.radio.setSettings(settings);
    discard = discardWhenAsked();
    QMetaObject::invokeMethod(w.readButton, "click");
    QVERIFY(discard->answered());
    QCOMPARE(w.statusBar->currentMessage(), QStringLiteral("Read incomplete"));
    for (int row = 0; row < 20; ++row) {
        QCOMPARE(w.nameEditor(row)->text(), row < 5 ? QStringLiteral("CH%1").arg(row) : QString());
        QCOMPARE(w.frequencyEditor(row)->text(), row < 5 ? QStringLiteral("119.000") : QString());
    }
}

// A byte that reached the port before a transfer began (line noise, a late
// acknowledgement) is neither read as channel 0 nor as the first answer.
void TransfersTest::strayByteBeforeTransfers()
{
    Connected c(radioOf(1));
    c.radio.setChannel(0, "TOWER", "121.500");
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    c.radio.transmit(hex("15"));
    QVERIFY(waitUntil([&w] { return w.port()->bytesAvailable() > 0; }, 5000));
    QMetaObject::invokeMethod(w.readButton, "click");
    QCOMPARE(w.nameEditor(0)->text(), QStringLiteral("TOWER"));
    QCOMPARE(w.frequencyEditor(0)->text(), QStringLiteral("121.500"));
    QCOMPARE(w.statusBar->currentMessage(), QStringLiteral("Read finished"));

    c.radio.transmit(hex("15"));
    QVERIFY(waitUntil([&w] { return w.port()->bytesAvailable() > 0; }, 5000));
    QMetaObject::invokeMethod(w.writeButton, "click");
    QCOMPARE(w.statusBar->currentMessage(), QStringLiteral("Write finished"));
}

void TransfersTest::roundTrip_data()
{
    QTest::addColumn<int>("model");
    QTest::newRow("100") << 0;
    QTest::newRow("20") << 1;
}

// A table written to the radio and read back is the same, row by row; a
// write says how many records below the radio's channels it left out.
void TransfersTest::roundTrip()
{
    QFETCH(int, model);
    Connected c(radioOf(model));
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    const int rows = model == 0 ? 100 : 20; // the radio's channels
    const QVector<Row> written = randomRows(rows, 4711 + rows);
    typeRows(w, written);
    const QVector<Row> typed = tableRows(w);
    for (int row = 0; row < rows; ++row) {
        QCOMPARE(typed[row].name, written[row].name);
        QCOMPARE(typed[row].frequency, written[row].frequency);
    }
    // A record below a 20-channel radio's rows stays in the table, unsent.
    if (rows < 100)
        w.typeInto(w.nameEditor(25), QStringLiteral("EXTRA"));

    QMetaObject::invokeMethod(w.writeButton, "click");
    QCOMPARE(w.statusBar->currentMessage(), rows < 100 ? QStringLiteral("Write finished; 1 record beyond the radio's 20 channels left out")
                                                       : QStringLiteral("Write finished"));
    QVERIFY(waitUntil([&c] { return c.radio.completedWrites() == 1; }, 5000));

    // Change the table, so that what the read shows can only come from the radio.
    typeRows(w, randomRows(rows, 99));
    const auto discard = discardWhenAsked();
    QMetaObject::invokeMethod(w.readButton, "click");
    QVERIFY(discard->answered());
    QCOMPARE(w.statusBar->currentMessage(), QStringLiteral("Read finished"));
    const QVector<Row> read = tableRows(w);
    for (int row = 0; row < rows; ++row) {
        const QString expectedFrequency = written[row].frequency.isEmpty() && !written[row].name.isEmpty()
            ? QStringLiteral("118.000")
            : written[row].frequency;
        QCOMPARE(read[row].name, written[row].name);
        QCOMPARE(read[row].frequency, expectedFrequency);
    }
}

// The radio vanishes mid-read: the read ends within its time-outs with the
// rows it got, and the dead port is closed.
void TransfersTest::unpluggedDuringRead()
{
    Connected c(radioOf(0, [](RadioFaults &f) { f.unplugAfterFrames = 5; }));
    for (int row = 0; row < 100; ++row)
        c.radio.setChannel(row, QStringLiteral("CH%1").arg(row), "119.000");
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    QElapsedTimer clock;
    clock.start();
    QMetaObject::invokeMethod(w.readButton, "click");
    QVERIFY(clock.elapsed() < 20000);
    QCOMPARE(w.statusBar->currentMessage(), QStringLiteral("Read incomplete"));
    for (int row = 0; row < 100; ++row)
        QCOMPARE(w.nameEditor(row)->text(), row < 5 ? QStringLiteral("CH%1").arg(row) : QString());
    QVERIFY(waitUntil([&w] { return !w.portOpen(); }, 5000));
    QCOMPARE(w.label->text(), QStringLiteral("No device"));
    QVERIFY(w.buttonsDisabled());
}

void TransfersTest::unpluggedDuringWrite()
{
    Connected c(radioOf(0, [](RadioFaults &f) { f.unplugAfterFrames = 5; }));
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    QElapsedTimer clock;
    clock.start();
    QMetaObject::invokeMethod(w.writeButton, "click");
    QVERIFY(clock.elapsed() < 60000);
    QCOMPARE(w.statusBar->currentMessage(), QStringLiteral("Write error"));
    QVERIFY(!w.progressBar->isVisible());
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(c.radio.completedWrites(), 0);
    QVERIFY(waitUntil([&w] { return !w.portOpen(); }, 5000));
    QCOMPARE(w.label->text(), QStringLiteral("No device"));
}

// Before a radio is connected, and after a probe failed, "Read from" and
// "Write to" do nothing and say nothing.
void TransfersTest::transfersNeedOpenPort()
{
    RadioSettings settings;
    settings.faults.silent = true;
    VirtualRadio radio(settings);
    setPortList({});
    DeviceWindow w;
    auto *read = w.window->findChild<QAction *>(QStringLiteral("actionRead_from"));
    auto *write = w.window->findChild<QAction *>(QStringLiteral("actionWrite_to"));
    w.typeInto(w.nameEditor(0), QStringLiteral("TOWER"));
    w.typeInto(w.frequencyEditor(0), QStringLiteral("12")); // would stop a write with a box
    StatusMessages status(w.statusBar, w.progressBar);

    read->trigger(); // before the first scan: no port object yet
    write->trigger();
    QVERIFY(w.waitForFirstScan());
    setPortList({radio.portName()});
    w.pressAuto(); // the silent port is probed and closed
    QVERIFY(!w.portOpen());
    status.messages.clear();
    read->trigger();
    write->trigger();

    QCOMPARE(status.messages, QStringList());
    QCOMPARE(w.nameEditor(0)->text(), QStringLiteral("TOWER"));
    QCOMPARE(w.frequencyEditor(0)->text(), QStringLiteral("12"));
    QCOMPARE(radio.received(), Link::pingCommand);
    QVERIFY(!QApplication::activeModalWidget());
}

VKR_TEST_MAIN(TransfersTest)
#include "tst_transfers.moc"
