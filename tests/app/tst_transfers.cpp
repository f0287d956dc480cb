// Reading and writing the radio's memory through the window, against
// virtual radios on pseudo-terminals, with the real port and time-outs.
#include "TestMain.h"

#include "AirfieldsDriver.h"
#include "BackupStore.h"
#include "DeviceWindow.h"
#include "FileContent.h"
#include "FileDialogDriver.h"
#include "LinkConstants.h"
#include "ModalAnswerer.h"
#include "PdfFile.h"
#include "WireBytes.h"

#include <QAction>
#include <QCheckBox>
#include <QSpinBox>
#include <QDate>
#include <QFileInfo>
#include <QGuiApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <random>

using namespace DeviceTest;

Q_DECLARE_METATYPE(RadioFaults)

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

using namespace Wire;

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

// The box a failed or stopped write ends in: what it said, and whether it
// offered to put the backup back (pressed when asked to).
struct WriteBox {
    QString title;
    QString text;
    QString backupNamed;
    bool restoreOffered = false;
};

std::unique_ptr<ModalAnswerer<QMessageBox>> answerWriteBox(WriteBox &seen, bool restore = false,
                                                           std::function<void()> before = {})
{
    return std::make_unique<ModalAnswerer<QMessageBox>>([&seen, restore, before](QMessageBox *box) {
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.backupNamed = box->informativeText();
        QAbstractButton *restoreButton = nullptr;
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == QLatin1String("Restore backup"))
                restoreButton = button;
        }
        seen.restoreOffered = restoreButton != nullptr;
        if (before)
            before();
        if (restore && restoreButton)
            restoreButton->click();
        else
            box->button(QMessageBox::Close)->click();
    }, 120000);
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
        return radio.received().mid(pingCommand.size() + identifyCommand.size());
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

// A progress bar that ran once, never going back, from its start to `last`.
bool ranOnce(const QSignalSpy &progress, int last)
{
    for (int i = 1; i < progress.size(); ++i) {
        if (progress.at(i).at(0).toInt() <= progress.at(i - 1).at(0).toInt())
            return false;
    }
    return !progress.isEmpty() && progress.first().at(0).toInt() < 5 && progress.last().at(0).toInt() == last;
}

// A read over edits asks first; the user drops the edits.
std::unique_ptr<ModalAnswerer<QMessageBox>> discardWhenAsked()
{
    return std::make_unique<ModalAnswerer<QMessageBox>>(
        [](QMessageBox *box) { box->button(QMessageBox::Discard)->click(); }, 15000,
        [](QMessageBox *box) { return box->text() == QLatin1String("Save changes?"); });
}

// The box of an incomplete read, which shows what came apart from the
// table: its text and details, its channels put into the table if `take`.
struct IncompleteRead {
    QString text;
    QString details;
};

std::unique_ptr<ModalAnswerer<QMessageBox>> answerIncompleteRead(IncompleteRead &seen, bool take)
{
    return std::make_unique<ModalAnswerer<QMessageBox>>([&seen, take](QMessageBox *box) {
        seen.text = box->text();
        seen.details = box->detailedText();
        for (QAbstractButton *button : box->buttons()) {
            if (take && button->text() == QLatin1String("Put them in the table"))
                return button->click();
        }
        box->button(QMessageBox::Close)->click();
    }, transferPatience, [](QMessageBox *box) { return box->windowTitle() == QLatin1String("Read incomplete"); });
}

struct Row {
    QString name;
    QString frequency;
};

QVector<Row> tableRows(const DeviceWindow &w)
{
    QVector<Row> rows;
    for (int row = 0; row < w.table->rowCount(); ++row)
        rows.append({w.nameEditor(row)->text(), w.frequencyEditor(row)->text()});
    return rows;
}

// Names and frequencies a user may type, chosen so that they read back the
// same and the write takes them: no spaces at the ends or in runs (names
// are tidied on reading), no name without a frequency, and no nameless
// channel at 118.000 (the radio's empty channel).
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
        rows.append({name, frequency});
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
    void initTestCase();
    void init();
    void writeSendsExactFrames();
    void writeRefused_data();
    void writeRefused();
    void writeToRefusingRadio();
    void writeToSilentRadio();
    void writeCheckedByReadingBack();
    void cancelAndRestore();
    void readDecodesFrames();
    void readSplitsFrameAtPause();
    void incompleteReads();
    void strayBytes_data();
    void strayBytes();
    void roundTrip_data();
    void roundTrip();
    void unpluggedDuringRead();
    void unpluggedDuringWrite();
    void transfersNeedOpenPort();
    void swappedRadioIsBackedUp();
    void closingDuringReadSavesNothingHalfRead();
    void saveAfterReadAsksBeforeReplacing();
    void restoreListOutlivesTheRadio();
    void restoreByteForByteAndFirstBackupOffered();
    void readWithoutBackupSaysWhy();
    void cardAfterRead();
    void airfieldsAfterReadingTheRadio();

private:
    QTemporaryDir folder;
    std::unique_ptr<QTemporaryDir> dataFolder;
};

void TransfersTest::initTestCase()
{
    FileDialogDriver::useWidgetFileDialogs();
}

// Each test keeps its backups apart.
void TransfersTest::init()
{
    dataFolder = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", dataFolder->path().toLocal8Bit());
}

void TransfersTest::writeSendsExactFrames()
{
    Connected c(radioOf(0));
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    w.typeInto(w.nameEditor(0), QStringLiteral("TOWER"));
    w.typeInto(w.frequencyEditor(0), QStringLiteral("121.500"));
    w.typeInto(w.nameEditor(1), QStringLiteral("ABCDEFGH"));
    w.typeInto(w.frequencyEditor(1), QStringLiteral("136.975"));
    w.typeInto(w.nameEditor(2), QString::fromUtf8("ÄÖÜÄ"));
    w.typeInto(w.frequencyEditor(2), QStringLiteral("118.000"));

    QSignalSpy progress(w.progressBar, &QProgressBar::valueChanged);
    StatusMessages status(w.statusBar, w.progressBar);
    QVERIFY(w.transfer(w.writeButton));

    // The memory is backed up first, since the table did not come from it.
    QByteArray expected = readCommand + ack.repeated(100) + writeCommand;
    expected += hex("02 79 64 54 4F 57 45 52 20 20 20 99");
    expected += hex("02 88 C3 41 42 43 44 45 46 47 48 BC");
    expected += hex("02 76 00 C3 84 C3 96 C3 9C C3 84 83");
    expected += emptyFrameOnWire().repeated(97);
    expected += writeEnd;
    // Then the memory is read back. The status bar names each phase; one
    // bar runs over all three.
    expected += readCommand + ack.repeated(100);
    QCOMPARE(c.radio.completedWrites(), 1);
    QCOMPARE(c.heardAfterProbe().toHex(' '), expected.toHex(' '));
    QCOMPARE(status.messages, (QStringList{"Backing up...", "Writing...", "Checking..."}));
    QCOMPARE(status.duringTransfer, (QList<bool>{true, true, true}));
    QVERIFY(!w.progressBar->isVisible());
    QCOMPARE(w.progressBar->maximum(), 100);
    QVERIFY(ranOnce(progress, 100));
    QVERIFY2(w.writtenAndVerified(), qPrintable(w.radioStateText()));
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(c.radio.memory().channel(0).name, QStringLiteral("TOWER"));
    QCOMPARE(c.radio.memory().channel(1).frequency.text(), QStringLiteral("136.975"));
    QCOMPARE(w.nameEditor(0)->text(), QStringLiteral("TOWER")); // the table is only read
    const QVector<BackupStore::Entry> backups = BackupStore().list();
    QCOMPARE(backups.size(), 1);
    QCOMPARE(backups[0].usedChannels, 0);

    // Also after a complete read the write reads the radio first (another
    // radio may be on the cable by now), and a table that empties most of
    // the channels it holds waits for a yes, given for that memory.
    const auto discard = discardWhenAsked();
    QVERIFY(w.transfer(w.readButton));
    QVERIFY(discard->answered());
    for (int row = 0; row < 3; ++row) {
        w.typeInto(w.nameEditor(row), QString());
        w.typeInto(w.frequencyEditor(row), QString());
    }
    QAction *writeTo = w.window->findChild<QAction *>(QStringLiteral("actionWrite_to"));
    for (const QString &answer : {QStringLiteral("Cancel"), QStringLiteral("Write anyway")}) {
        c.radio.clearLogs();
        QString asked;
        ModalAnswerer<QMessageBox> emptying([&](QMessageBox *box) {
            asked = box->text();
            for (QAbstractButton *button : box->buttons()) {
                if (button->text().remove(QLatin1Char('&')) == answer)
                    button->click();
            }
        }, transferPatience, [](QMessageBox *box) { return box->windowTitle() == QLatin1String("Empty channels"); });
        QVERIFY(w.transfer(writeTo));
        QVERIFY(emptying.answered());
        QCOMPARE(asked, QStringLiteral("The table would empty 3 of the 3 channels in use in the VKR627A."));
        if (answer == QLatin1String("Cancel")) {
            QCOMPARE(c.radio.received(), readCommand + ack.repeated(100));
            QCOMPARE(w.lastMessage(), QStringLiteral("Write cancelled; the radio was not changed"));
            QCOMPARE(w.radioStateText(), QStringLiteral("Not on the radio yet: 3 channels changed"));
        }
    }
    QCOMPARE(c.radio.completedWrites(), 2);
    const QByteArray backupRead = readCommand + ack.repeated(100);
    QCOMPARE(c.radio.received().toHex(' '), (backupRead + backupRead + writeCommand + emptyFrameOnWire().repeated(100)
                                              + writeEnd + readCommand + ack.repeated(100))
                                                 .toHex(' '));
    QVERIFY2(w.writtenAndVerified(), qPrintable(w.radioStateText()));
    // The write, the read, the refused write and both reads before the one
    // that went ahead: every one was kept.
    QCOMPARE(BackupStore().list().size(), 5);
}

void TransfersTest::writeRefused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("row");    // the first row refused, selected
    QTest::addColumn<int>("column"); // and the cell at fault
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("red"); // the cell at fault shows red
    QTest::addColumn<QString>("said"); // then the status bar says why: the cell has the focus

    const QString bytes = QString::fromUtf8("longer than the radio's 8 bytes: letters such as Ä take two");
    const QString lowerCase = QStringLiteral("lower case: the radio shows upper case only");
    QTest::newRow("frequency partly typed") << QByteArray("TOWER;121.500\r\nGROUND;12\r\n") << 1 << 2
                                            << "Channel 2: \"12\" is no channel" << true
                                            << "incomplete: a channel has three decimals, like 121.500";
    QTest::newRow("lower case") << QByteArray(";\r\nTower;121.500\r\n") << 1 << 1
                                << "Channel 2: the name \"Tower\"" << true << lowerCase;
    QTest::newRow("sent as UTF-8, lower case") << QByteArray("M\xc3\xbcnchen;121.500\r\n") << 0 << 1
                                               << QString::fromUtf8("the name \"München\"") << true << lowerCase;
    QTest::newRow("longer than 8") << QByteArray("TOOLONGNAME12;121.500\r\n") << 0 << 1 << "\"TOOLONGNAME12\""
                                   << true << bytes;
    QTest::newRow("more than 8 bytes") << QByteArray("ABCDEFG\xc3\x84;121.500\r\n") << 0 << 1
                                       << QString::fromUtf8("\"ABCDEFGÄ\"") << true << bytes;
    QTest::newRow("name without frequency") << QByteArray(";\r\n;\r\nTOWER;\r\n") << 2 << 2 << "has no frequency"
                                            << false << "";
    QTest::newRow("nameless at 118.000") << QByteArray(";118.000\r\n") << 0 << 1 << "the radio's empty channel"
                                         << false << "";
}

// Every row is checked by the radio's rules before a byte is sent: the box
// names the rows refused and why, and the first is selected.
void TransfersTest::writeRefused()
{
    QFETCH(QByteArray, file);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, reason);
    QFETCH(bool, red);
    QFETCH(QString, said);
    Connected c(radioOf(1));
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    const QString path = folder.filePath(QStringLiteral("refused.csv"));
    QVERIFY(writeContent(path, file));
    {
        const auto answer = FileDialogDriver::answerWithFile(path);
        w.window->findChild<QAction *>(QStringLiteral("actionOpen"))->trigger();
        QVERIFY(answer->answered());
    }
    // The window active again, as for the user once the dialog closed, and
    // the focus away from the table: the refused cell must take it.
    w.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
    w.ports->setFocus();
    QTableWidgetItem *atFault = column == 1 ? w.nameEditor(row) : w.frequencyEditor(row);
    if (red)
        QCOMPARE(colourOf(atFault), ExpectedColour::red);

    QString title, text, rows;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    ModalAnswerer<QMessageBox> answerer([&](QMessageBox *box) {
        title = box->windowTitle();
        text = box->text();
        rows = box->informativeText();
        buttons = box->standardButtons();
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    QVERIFY(w.transfer(w.writeButton));
    QVERIFY(answerer.answered());
    QCOMPARE(title, QStringLiteral("Invalid data"));
    QCOMPARE(text, QStringLiteral("Please correct invalid (red) channel data before transfer."));
    QVERIFY2(rows.contains(reason), qPrintable(rows));
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(w.table->currentRow(), row);
    QCOMPARE(w.table->currentColumn(), column);
    QCOMPARE(w.lastMessage(), said);

    QVERIFY(!waitUntil([&c] { return !c.heardAfterProbe().isEmpty(); }, 300)); // nothing is sent
    QVERIFY(!w.progressBar->isVisible());
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(c.radio.completedWrites(), 0);
}

// A radio that refuses every frame still gets them all; "Write error" is
// shown at the first refusal, and the box names the channels refused.
void TransfersTest::writeToRefusingRadio()
{
    Connected c(radioOf(1, [](RadioFaults &f) { f.nakEveryFrame = true; }));
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    w.typeInto(w.nameEditor(0), QStringLiteral("TOWER"));
    w.typeInto(w.frequencyEditor(0), QStringLiteral("121.500"));
    StatusMessages status(w.statusBar, w.progressBar);
    WriteBox box;
    const auto answer = answerWriteBox(box);
    QVERIFY(w.transfer(w.writeButton));

    QVERIFY(answer->answered());
    // The closing byte may still be on its way to the radio as the box shows.
    QTRY_COMPARE_WITH_TIMEOUT(c.heardAfterProbe().toHex(' '),
                              (readCommand + ack.repeated(20) + writeCommand + hex("02 79 64 54 4F 57 45 52 20 20 20 99")
                               + emptyFrameOnWire().repeated(19) + writeEnd)
                                  .toHex(' '),
                              5000);
    QCOMPARE(status.messages, (QStringList{"Backing up...", "Writing...", "Write error"}));
    QCOMPARE(status.duringTransfer, (QList<bool>{true, true, true}));
    QCOMPARE(w.radioStateText(), QString());
    QCOMPARE(box.title, QStringLiteral("Write error"));
    QVERIFY2(box.text.contains("the radio refused channels 1, 2, 3,"), qPrintable(box.text));
    QVERIFY(box.restoreOffered);
    QVERIFY2(box.backupNamed.contains(BackupStore().list().value(0).path), qPrintable(box.backupNamed));
    QCOMPARE(c.radio.memory().channel(0).name, QString());
}

// No acknowledgement at all: every frame waits its 500 ms and is sent
// anyway, and the write ends in a box that says so.
void TransfersTest::writeToSilentRadio()
{
    Connected c(radioOf(1, [](RadioFaults &f) { f.noAcknowledge = true; }));
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    QVERIFY(w.transfer(w.readButton));
    QSignalSpy progress(w.progressBar, &QProgressBar::valueChanged);
    WriteBox box;
    const auto answer = answerWriteBox(box);
    c.radio.clearLogs();
    QVERIFY(w.transfer(w.writeButton));

    QVERIFY(answer->answered());
    QVERIFY2(box.text.contains("the radio did not answer channels 1, 2,"), qPrintable(box.text));
    QCOMPARE(w.lastMessage(), QStringLiteral("Write error"));
    QVERIFY(!progress.isEmpty() && progress.last().at(0).toInt() < 100); // no read-back
    QTRY_COMPARE_WITH_TIMEOUT(c.radio.received(), readCommand + ack.repeated(20) + writeCommand + emptyFrameOnWire().repeated(20) + writeEnd, 5000);
}

// Every frame acknowledged, but one stored other than sent: the read-back
// finds it, the box names it, and "Restore backup" puts the memory back,
// though that empties most of the channels in use (those the write added).
void TransfersTest::writeCheckedByReadingBack()
{
    Connected c(radioOf(1, [](RadioFaults &f) { f.corruptChannel = 3; }));
    c.radio.setChannel(5, "OLD", "122.100");
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    w.typeInto(w.frequencyEditor(1), QStringLiteral("118.100"));
    w.typeInto(w.frequencyEditor(2), QStringLiteral("118.200"));
    w.typeInto(w.nameEditor(3), QStringLiteral("NEW"));
    w.typeInto(w.frequencyEditor(3), QStringLiteral("121.500"));
    w.typeInto(w.nameEditor(5), QStringLiteral("OLD"));
    w.typeInto(w.frequencyEditor(5), QStringLiteral("122.100"));
    WriteBox box;
    // Plugged in again without the fault before the backup is put back.
    const auto answer = answerWriteBox(box, true, [&c] { c.radio.setSettings(radioOf(1)); });
    QVERIFY(w.transfer(w.writeButton));

    QVERIFY(answer->answered());
    QVERIFY2(box.text.contains("Channel 4: expected \"NEW\" 121.500, found \"NEW\" 121.505"), qPrintable(box.text));
    QVERIFY(box.restoreOffered);
    QCOMPARE(c.radio.completedWrites(), 2);
    for (const int emptied : {1, 2, 3})
        QCOMPARE(c.radio.memory().frame(emptied).toHex(' '), QByteArray("76 00 20 20 20 20 20 20 20 20"));
    QCOMPARE(c.radio.memory().channel(5).name, QStringLiteral("OLD"));
    QCOMPARE(w.nameEditor(3)->text(), QStringLiteral("NEW")); // the table keeps what the user made
    QCOMPARE(w.radioStateText(), QStringLiteral("Not on the radio yet: 3 channels changed"));
}

// Cancel stops the write after the channel on the line and without the
// closing byte; File > Restore backup puts the backup of choice back.
void TransfersTest::cancelAndRestore()
{
    Connected c(radioOf(1, [](RadioFaults &f) { f.answerDelay = 100; }));
    c.radio.setChannel(0, "OLD", "122.100");
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    QVERIFY(w.transfer(w.readButton));
    w.typeInto(w.nameEditor(0), QStringLiteral("NEW"));
    c.radio.clearLogs();
    WriteBox box;
    const auto answer = answerWriteBox(box);
    QMetaObject::invokeMethod(w.writeButton, "click");
    // Stopped once four frames of the write went out, after the backup read.
    QVERIFY(waitUntil([&c] {
        const QByteArray heard = c.radio.received();
        return heard.contains(writeCommand) && heard.mid(heard.indexOf(writeCommand)).count(frameStart) >= 5;
    }, transferPatience));
    w.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
    QTest::keyClick(w.window.get(), Qt::Key_Escape);
    QVERIFY(waitUntil([&w] { return !w.cancelButton->isVisible(); }, transferPatience));

    QVERIFY(answer->answered());
    QCOMPARE(box.title, QStringLiteral("Write stopped"));
    QVERIFY2(box.text.contains("mix of old and new channels"), qPrintable(box.text));
    QVERIFY(box.restoreOffered);
    QVERIFY(!c.radio.received().endsWith(writeEnd));
    QVERIFY(c.radio.received().count(frameStart) < 21);
    QCOMPARE(c.radio.completedWrites(), 0);

    QStringList listed;
    ModalAnswerer<QDialog> choose([&](QDialog *dialog) {
        auto *list = dialog->findChild<QListWidget *>(QStringLiteral("backupList"));
        for (int i = 0; i < list->count(); ++i)
            listed << list->item(i)->text();
        dialog->accept();
    }, 15000, [](QDialog *dialog) { return dialog->findChild<QListWidget *>(QStringLiteral("backupList")) != nullptr; });
    QString question;
    ModalAnswerer<QMessageBox> confirm([&](QMessageBox *box) {
        question = box->text();
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == QLatin1String("Write backup"))
                button->click();
        }
    }, 60000, [](QMessageBox *box) { return box->windowTitle() == QLatin1String("Restore backup"); });
    c.radio.setChannel(0, "OTHER", "123.100");
    const auto discard = discardWhenAsked();
    QVERIFY(w.transfer(w.window->findChild<QAction *>(QStringLiteral("actionRestore_backup"))));
    QVERIFY(discard->answered() && choose.answered() && confirm.answered());
    // The read's backup and the write's, the newest (chosen) first.
    QCOMPARE(listed.size(), 2);
    QVERIFY2(listed[0].contains(QLatin1String(", VKR627S, 1 channel(s), on ")), qPrintable(listed[0]));
    QVERIFY2(listed[0].endsWith(QLatin1String(", before a write")), qPrintable(listed[0]));
    QVERIFY2(listed[1].endsWith(QLatin1String(", read")), qPrintable(listed[1]));
    QVERIFY2(question.contains(QStringLiteral("to the VKR627S on %1?").arg(c.radio.portName())), qPrintable(question));
    QVERIFY2(w.writtenAndVerified(), qPrintable(w.radioStateText()));
    QCOMPARE(w.lastMessage(), QStringLiteral("Backup restored and verified"));
    QCOMPARE(c.radio.memory().channel(0).name, QStringLiteral("OLD"));
    QCOMPARE(w.nameEditor(0)->text(), QStringLiteral("OLD")); // the table shows what the radio holds now
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
    w.table->scrollToTop();
    QElapsedTimer clock;
    clock.start();
    const auto discard = discardWhenAsked();
    // The read is not whole: what came is shown apart, and put into the
    // table when the user says so.
    IncompleteRead incomplete;
    const auto take = answerIncompleteRead(incomplete, true);
    QVERIFY(w.transfer(w.readButton));
    const auto readEnded = RadioProtocol::Clock::now();
    QVERIFY(discard->answered());
    QVERIFY(take->answered());
    QVERIFY2(incomplete.text.contains("20 of 20 channels came, 1 of them cut short, 2 of them garbled"),
             qPrintable(incomplete.text));
    QVERIFY2(incomplete.details.contains("4: \"ABC\" 118.000"), qPrintable(incomplete.details)); // numbered from 1

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

    QCOMPARE(c.heardAfterProbe(), readCommand + ack.repeated(20));
    // The one-byte answer of channel 5 and the channels no radio stores
    // came, but the read did not get the memory whole.
    QCOMPARE(w.lastMessage(), QStringLiteral("Read incomplete"));
    QVERIFY(!w.progressBar->isVisible());
    QCOMPARE(w.progressBar->maximum(), 100);
    QCOMPARE(progress.size(), 20); // 5 in 100 for each of the radio's 20 channels
    for (int i = 0; i < progress.size(); ++i)
        QCOMPARE(progress.at(i).at(0).toInt(), 5 * (i + 1));
    QVERIFY(!QGuiApplication::overrideCursor());
    // After the last acknowledgement the read still listened for a second:
    // it ended a second after the radio sent the last frame at the least.
    // (When the radio heard that acknowledgement says less: on a loaded
    // machine the radio's thread may read it late.)
    const auto lastFrame = c.radio.sentLog().back().at;
    QVERIFY2(readEnded - lastFrame >= std::chrono::milliseconds(Link::readFrameTimeout - 10),
             QByteArray::number(static_cast<qint64>(
                 std::chrono::duration_cast<std::chrono::milliseconds>(readEnded - lastFrame).count())));
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
    // A press dragged off the button starts nothing; a second click while
    // the read runs does nothing.
    QTest::mousePress(w.readButton, Qt::LeftButton);
    QTest::mouseRelease(w.readButton, Qt::LeftButton, Qt::NoModifier, QPoint(-20, -20)); // it holds the mouse
    QVERIFY(!waitUntil([&c] { return !c.heardAfterProbe().isEmpty(); }, 300));
    IncompleteRead incomplete;
    const auto take = answerIncompleteRead(incomplete, true);
    QTest::mouseClick(w.readButton, Qt::LeftButton);
    QTest::mouseClick(w.readButton, Qt::LeftButton);
    QVERIFY(waitUntil([&w] { return !w.cancelButton->isVisible(); }, transferPatience));
    QVERIFY(take->answered());
    QCOMPARE(c.heardAfterProbe().count(readCommand), 1);

    QCOMPARE(w.nameEditor(0)->text(), QStringLiteral("ATIS"));
    QCOMPARE(w.frequencyEditor(2)->text(), QStringLiteral("121.500")); // 79 64 54 4F
    QCOMPARE(w.nameEditor(2)->text(), QStringLiteral("TO"));
    // 57 45 52 20 20 20, then the empty frame 76 00 20 ...
    QCOMPARE(w.frequencyEditor(3)->text(), QStringLiteral("87.345"));
    QCOMPARE(w.nameEditor(3)->text(), QStringLiteral("R v"));
    QCOMPARE(colourOf(w.frequencyEditor(3)), ExpectedColour::red);
    QCOMPARE(w.nameEditor(4)->text(), QStringLiteral("GROUND"));
    QCOMPARE(w.lastMessage(), QStringLiteral("Read incomplete"));
    QCOMPARE(c.heardAfterProbe(), readCommand + ack.repeated(20));
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
    IncompleteRead incomplete;
    auto close = answerIncompleteRead(incomplete, false);
    QVERIFY(w.transfer(w.readButton));
    QVERIFY(discard->answered());
    QVERIFY(close->answered());
    QCOMPARE(w.lastMessage(), QStringLiteral("Read incomplete"));
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
    // Five came: the table stays as it was, and the undo history too; the
    // five are in the box, and only "Put them in the table" puts them there.
    for (const bool take : {false, true}) {
        discard = discardWhenAsked();
        close = answerIncompleteRead(incomplete, take);
        QVERIFY(w.transfer(w.readButton));
        QVERIFY(close->answered());
        QCOMPARE(w.lastMessage(), QStringLiteral("Read incomplete"));
        QVERIFY2(incomplete.details.contains("5: \"CH4\" 119.000"), qPrintable(incomplete.details)); // numbered from 1
        for (int row = 0; row < 20; ++row) {
            const Row want = take ? Row{row < 5 ? QStringLiteral("CH%1").arg(row) : QString(),
                                        row < 5 ? QStringLiteral("119.000") : QString()}
                                  : before[row];
            QCOMPARE(w.nameEditor(row)->text(), want.name);
            QCOMPARE(w.frequencyEditor(row)->text(), want.frequency);
        }
    }
}

void TransfersTest::strayBytes_data()
{
    QTest::addColumn<RadioFaults>("faults");
    QTest::addColumn<bool>("before"); // a byte reaches the port before each transfer
    QTest::addColumn<QString>("readSays");

    QTest::newRow("before the command") << RadioFaults() << true << "Read finished";
    RadioFaults after;
    after.strayByteAfterTransfer = true;
    QTest::newRow("after each transfer") << after << false << "Read finished";
    RadioFaults inFrame;
    inFrame.strayByteBeforeFrame = 2;
    QTest::newRow("in front of a frame") << inFrame << false << "Read incomplete";
}

// Line noise is never read as a channel: a byte that reached the port before
// a transfer is dropped, the line falls quiet before a write's read-back,
// and a frame shifted by a byte in front of it makes the read incomplete
// (never a backup or a good read-back).
void TransfersTest::strayBytes()
{
    QFETCH(RadioFaults, faults);
    QFETCH(bool, before);
    QFETCH(QString, readSays);
    RadioSettings settings = radioOf(1);
    settings.faults = faults;
    Connected c(settings);
    c.radio.setChannel(0, "TOWER", "121.500");
    c.radio.setChannel(2, "APP", "119.300");
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    const auto noise = [&] {
        if (!before)
            return true;
        const int sent = c.radio.sent().size();
        c.radio.transmit(hex("15"));
        return waitUntil([&] { return c.radio.sent().size() > sent; }, 5000);
    };
    QVERIFY(noise());
    // What an incomplete read got is put into the table, to be looked at.
    IncompleteRead incomplete;
    const auto take = readSays == QLatin1String("Read incomplete") ? answerIncompleteRead(incomplete, true) : nullptr;
    QVERIFY(w.transfer(w.readButton));
    QVERIFY(!take || take->answered());
    QCOMPARE(w.lastMessage(), readSays);
    QCOMPARE(w.nameEditor(0)->text(), QStringLiteral("TOWER"));
    QCOMPARE(w.frequencyEditor(0)->text(), QStringLiteral("121.500"));
    if (readSays == QLatin1String("Read incomplete")) {
        QCOMPARE(colourOf(w.frequencyEditor(2)), ExpectedColour::red); // 21.595: shifted by the byte
        QCOMPARE(BackupStore().list().size(), 0);
        // A write then needs a backup, which the shifted frame spoils too.
        WriteBox box;
        const auto answer = answerWriteBox(box);
        w.typeInto(w.nameEditor(2), QStringLiteral("APP"));
        w.typeInto(w.frequencyEditor(2), QStringLiteral("119.300"));
        QVERIFY(w.transfer(w.writeButton));
        QVERIFY(answer->answered());
        QVERIFY2(box.text.contains("could not be backed up"), qPrintable(box.text));
        QCOMPARE(c.radio.completedWrites(), 0);
        return;
    }
    QVERIFY(noise());
    QVERIFY(w.transfer(w.writeButton));
    QVERIFY2(w.writtenAndVerified(), qPrintable(w.label->text() + "; " + w.radioStateText() + "; " + w.postedMessages()));
}

void TransfersTest::roundTrip_data()
{
    QTest::addColumn<int>("model");
    QTest::newRow("100") << 0;
    QTest::newRow("20") << 1;
}

// A table written to the radio and read back is the same, row by row. The
// status bar says so, until the table changes.
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

    QVERIFY(w.transfer(w.writeButton));
    if (rows < 100)
        QCOMPARE(w.lastMessage(), QStringLiteral("Written and verified; 1 record beyond the radio's 20 channels left out"));
    QCOMPARE(c.radio.completedWrites(), 1);
    // The line that stays says how many channels, when, and the backup.
    const int used = int(std::count_if(written.begin(), written.end(), [](const Row &r) { return !r.frequency.isEmpty(); }));
    const QString line = w.radioStateText();
    const QString name = QFileInfo(BackupStore().list().value(0).path).fileName(); // shortened where narrow
    const QString shownName = line.mid(line.indexOf(QLatin1String(". Backup: ")) + 10);
    QVERIFY2(line.startsWith(QStringLiteral("Written and verified: %1 channels, ").arg(used))
                 && line.contains(QRegularExpression(QStringLiteral(", \\d\\d:\\d\\d\\. Backup: ")))
                 && (shownName == name || (shownName.endsWith(QChar(0x2026)) && name.startsWith(shownName.chopped(1)))),
             qPrintable(line));
    // A click on the backup's name, at the line's end, lists the backups,
    // the one taken before the write first.
    QString listedFirst;
    ModalAnswerer<QDialog> list([&](QDialog *dialog) {
        listedFirst = dialog->findChild<QListWidget *>(QStringLiteral("backupList"))->currentItem()->text();
        dialog->reject();
    }, 15000, [](QDialog *dialog) { return dialog->findChild<QListWidget *>(QStringLiteral("backupList")) != nullptr; });
    const int lineEnd = w.radioState->fontMetrics().horizontalAdvance(line);
    QTest::mouseClick(w.radioState, Qt::LeftButton, Qt::NoModifier, QPoint(lineEnd - 10, w.radioState->height() / 2));
    QVERIFY(list.answered());
    QVERIFY2(listedFirst.contains(QLatin1String(", 0 channel(s)")) && listedFirst.endsWith(QLatin1String("before a write")),
             qPrintable(listedFirst)); // the radio was empty
    // Once the table changes, the line goes, and what differs is said.
    w.typeInto(w.frequencyEditor(0), written[0].frequency == QLatin1String("121.500") ? "121.600" : "121.500");
    QCOMPARE(w.radioStateText(), QStringLiteral("Not on the radio yet: 1 channel changed"));
    w.window->findChild<QAction *>(QStringLiteral("actionUndo"))->trigger();
    QCOMPARE(w.radioStateText(), QString());

    // Change the table, so that what the read shows can only come from the radio.
    typeRows(w, randomRows(rows, 99));
    const auto discard = discardWhenAsked();
    QVERIFY(w.transfer(w.readButton));
    QVERIFY(discard->answered());
    QCOMPARE(w.lastMessage(), QStringLiteral("Read finished"));
    const QVector<Row> read = tableRows(w);
    for (int row = 0; row < rows; ++row) {
        QCOMPARE(read[row].name, written[row].name);
        QCOMPARE(read[row].frequency, written[row].frequency);
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
    IncompleteRead incomplete;
    const auto take = answerIncompleteRead(incomplete, true);
    QVERIFY(w.transfer(w.readButton));
    QVERIFY(clock.elapsed() < 20000);
    QVERIFY(take->answered());
    QCOMPARE(w.lastMessage(), QStringLiteral("Read incomplete"));
    for (int row = 0; row < 100; ++row)
        QCOMPARE(w.nameEditor(row)->text(), row < 5 ? QStringLiteral("CH%1").arg(row) : QString());
    // The port is closed on the radio's thread first, then the window is told.
    QVERIFY(waitUntil([&w] { return w.label->text() == QLatin1String("No device"); }));
    QVERIFY(!w.portOpen());
    QVERIFY(w.buttonsDisabled());
}

// The radio goes away in the middle of the write: the box says where, and
// the dead port is closed.
void TransfersTest::unpluggedDuringWrite()
{
    // Unplugged once it heard the probe (6 bytes), the backup read (2 and
    // 100 acknowledgements), the write command and five frames of 12.
    Connected c(radioOf(0, [](RadioFaults &f) { f.unplugAfterBytes = 6 + 102 + 2 + 5 * 12; }));
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    WriteBox box;
    const auto answer = answerWriteBox(box);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(w.transfer(w.writeButton));
    QVERIFY(clock.elapsed() < 90000);
    QVERIFY(answer->answered());
    QVERIFY2(box.text.contains("stopped answering at channel"), qPrintable(box.text));
    QVERIFY(!w.progressBar->isVisible());
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(c.radio.completedWrites(), 0);
    // The port is closed on the radio's thread first, then the window is told.
    QVERIFY(waitUntil([&w] { return w.label->text() == QLatin1String("No device"); }));
    QVERIFY(!w.portOpen());
}

// Another radio put on the same cable between a read and a write: the
// write backs up what the radio holds now, and judges emptying by it.
void TransfersTest::swappedRadioIsBackedUp()
{
    Connected c(radioOf(1));
    for (int row = 0; row < 3; ++row)
        c.radio.setChannel(row, QStringLiteral("A%1").arg(row), "119.000");
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    QVERIFY(w.transfer(w.readButton));
    RadioMemory other = c.radio.memory(); // radio B, same cable, same port
    for (int row = 0; row < 20; ++row)
        other.setChannel(row, QStringLiteral("B%1").arg(row), "120.000");
    c.radio.setMemory(other);
    c.radio.clearLogs();
    StatusMessages status(w.statusBar, w.progressBar);
    QString asked;
    ModalAnswerer<QMessageBox> emptying([&asked](QMessageBox *box) {
        asked = box->text();
        box->button(QMessageBox::Cancel)->click();
    }, transferPatience, [](QMessageBox *box) { return box->windowTitle() == QLatin1String("Empty channels"); });
    QVERIFY(w.transfer(w.writeButton));
    QVERIFY(emptying.answered());
    QCOMPARE(asked, QStringLiteral("The table would empty 17 of the 20 channels in use in the VKR627S."));
    QCOMPARE(status.messages.value(0), QStringLiteral("Backing up..."));
    QCOMPARE(c.radio.received(), readCommand + ack.repeated(20)); // read, nothing written
    QVERIFY(c.radio.memory() == other);
    Backup kept;
    QVERIFY(readBackup(BackupStore().list().value(0).path, kept));
    QCOMPARE(kept.frames.value(19), hex("78 00 42 31 39 20 20 20 20 20")); // B19 120.000
}

// Closing the window while the radio is read: the read is stopped and let
// end first, and only then is the user asked about unsaved changes; a save
// then writes the table as it was, nothing of the half read.
void TransfersTest::closingDuringReadSavesNothingHalfRead()
{
    Connected c(radioOf(0, [](RadioFaults &f) { f.answerDelay = 50; }));
    for (int row = 0; row < 100; ++row)
        c.radio.setChannel(row, QStringLiteral("R%1").arg(row), "119.000");
    const QString club = folder.filePath(QStringLiteral("club.csv"));
    QVERIFY(writeContent(club, QByteArray("CLUB;121.500\r\n").repeated(50)));
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    const auto open = FileDialogDriver::answerWithFile(club);
    w.window->findChild<QAction *>(QStringLiteral("actionOpen"))->trigger();
    QVERIFY(open->answered());
    w.typeInto(w.nameEditor(0), QStringLiteral("EDITED"));
    QStringList asked;
    ModalAnswerer<QMessageBox> stop([&asked](QMessageBox *box) {
        asked << box->windowTitle();
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == QLatin1String("Stop and close"))
                button->click();
        }
    }, transferPatience, [](QMessageBox *box) { return box->windowTitle() == QLatin1String("Transfer running"); });
    // Asked before the read, the edits are kept in the table (not saved);
    // asked again as the window closes, they are saved.
    const auto discard = discardWhenAsked();
    QMetaObject::invokeMethod(w.readButton, "click");
    QVERIFY(waitUntil([&discard] { return discard->answered(); }, 15000));
    ModalAnswerer<QMessageBox> save([&asked, &w](QMessageBox *box) {
        asked << box->text() + (w.cancelButton->isVisible() ? QStringLiteral(" during the read") : QString());
        box->button(QMessageBox::Save)->click();
    }, transferPatience, [](QMessageBox *box) { return box->text() == QLatin1String("Save changes?"); });
    QVERIFY(waitUntil([&c] { return c.radio.received().count(ack) >= 10; }, transferPatience));
    QMetaObject::invokeMethod(w.window.get(), "close", Qt::QueuedConnection);
    QVERIFY(waitUntil([&w] { return !w.window->isVisible(); }, transferPatience));
    QCOMPARE(asked, (QStringList{"Transfer running", "Save changes?"}));
    QCOMPARE(contentOf(club), "EDITED;121.500\r\n" + QByteArray("CLUB;121.500\r\n").repeated(49));
}

// After a read, the title names the radio, and Save asks before it writes
// the radio's channels over the file that was open.
void TransfersTest::saveAfterReadAsksBeforeReplacing()
{
    Connected c(radioOf(1));
    c.radio.setChannel(0, "RADIO", "119.000");
    const QString club = folder.filePath(QStringLiteral("club2.csv"));
    QVERIFY(writeContent(club, "CLUB;121.500\r\n"));
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    const auto open = FileDialogDriver::answerWithFile(club);
    w.window->findChild<QAction *>(QStringLiteral("actionOpen"))->trigger();
    QVERIFY(open->answered());
    QVERIFY(w.transfer(w.readButton));
    QCOMPARE(w.window->windowTitle(), QStringLiteral("VKR627S (radio)[*] - VKR Frequency Tool"));
    QVERIFY(!w.window->isWindowModified());
    QString asked;
    ModalAnswerer<QMessageBox> replace([&asked](QMessageBox *box) {
        asked = box->text();
        box->button(QMessageBox::Cancel)->click();
    });
    w.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
    QTest::keyClick(w.window.get(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(replace.answered());
    QCOMPARE(asked, QStringLiteral("Replace club2.csv with the channels read from the radio?"));
    QCOMPARE(contentOf(club), QByteArray("CLUB;121.500\r\n"));
}

// The radio unplugged while the list of backups is open: Restore then
// writes nothing, and says why.
void TransfersTest::restoreListOutlivesTheRadio()
{
    Connected c(radioOf(1));
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    QVERIFY(w.transfer(w.readButton)); // a backup to list
    ModalAnswerer<QDialog> choose([&c, &w](QDialog *dialog) {
        c.radio.unplug();
        waitUntil([&w] { return w.label->text() == QLatin1String("No device"); }, 10000);
        dialog->accept();
    }, 15000, [](QDialog *dialog) { return dialog->findChild<QListWidget *>(QStringLiteral("backupList")) != nullptr; });
    w.window->findChild<QAction *>(QStringLiteral("actionRestore_backup"))->trigger();
    QVERIFY(choose.answered());
    QCOMPARE(w.label->text(), QStringLiteral("No device"));
    QCOMPARE(w.lastMessage(), QStringLiteral("No radio connected; nothing was written"));
    QCOMPARE(c.radio.completedWrites(), 0);
}

// A memory whose names a channel file cannot keep as they are (two spaces,
// a leading space, ';', '"') comes back byte for byte from its backup. A
// restore that fails after a write that failed offers the backup of the
// memory before the first of them.
void TransfersTest::restoreByteForByteAndFirstBackupOffered()
{
    Connected c(radioOf(1, [](RadioFaults &f) { f.nakFrame = 2; }));
    const QVector<QByteArray> odd = {hex("79 64 41 20 20 42 20 20 20 20"), hex("79 64 20 4C 45 41 44 20 20 20"),
                                     hex("79 64 58 3B 59 20 20 20 20 20"), hex("79 64 22 51 22 20 20 20 20 20")};
    for (int row = 0; row < odd.size(); ++row)
        c.radio.setFrame(row, odd[row]);
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    w.typeInto(w.nameEditor(0), QStringLiteral("NEW"));
    w.typeInto(w.frequencyEditor(0), QStringLiteral("121.500"));
    for (int row = 1; row < 4; ++row) {
        w.typeInto(w.nameEditor(row), QStringLiteral("N%1").arg(row));
        w.typeInto(w.frequencyEditor(row), QStringLiteral("121.500"));
    }
    // The write fails at channel 2; "Restore backup" fails too (the radio
    // still refuses it), and its box offers the first backup, not the one of
    // the half-written radio taken before the restore.
    WriteBox first, second;
    std::unique_ptr<ModalAnswerer<QMessageBox>> secondAnswer;
    const auto firstAnswer = answerWriteBox(first, true, [&] { secondAnswer = answerWriteBox(second, false); });
    QVERIFY(w.transfer(w.writeButton));
    QVERIFY(firstAnswer->answered());
    QVERIFY(waitUntil([&] { return secondAnswer && secondAnswer->answered(); }, transferPatience));
    const QVector<BackupStore::Entry> backups = BackupStore().list();
    QCOMPARE(backups.size(), 2);
    QCOMPARE(backups[1].purpose, BackupPurpose::Write);
    QVERIFY2(second.backupNamed.contains(backups[1].path), qPrintable(second.backupNamed));
    // Put back with a radio that takes it: byte for byte, and checked so.
    c.radio.setSettings(radioOf(1));
    const auto discard = discardWhenAsked();
    ModalAnswerer<QDialog> choose([&](QDialog *dialog) {
        auto *list = dialog->findChild<QListWidget *>(QStringLiteral("backupList"));
        list->setCurrentRow(1);
        dialog->accept();
    }, 15000, [](QDialog *dialog) { return dialog->findChild<QListWidget *>(QStringLiteral("backupList")) != nullptr; });
    ModalAnswerer<QMessageBox> confirm([](QMessageBox *box) {
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == QLatin1String("Write backup"))
                button->click();
        }
    }, 15000, [](QMessageBox *box) { return box->windowTitle() == QLatin1String("Restore backup"); });
    QVERIFY(w.transfer(w.window->findChild<QAction *>(QStringLiteral("actionRestore_backup"))));
    QVERIFY(choose.answered() && confirm.answered());
    QVERIFY2(w.writtenAndVerified(), qPrintable(w.radioStateText()));
    for (int row = 0; row < odd.size(); ++row)
        QCOMPARE(c.radio.memory().frame(row).toHex(' '), odd[row].toHex(' '));
}

// A read whose backup cannot be kept (a file where the data folder should
// be, which stops root too) says so after "Read finished".
void TransfersTest::readWithoutBackupSaysWhy()
{
    QVERIFY(writeContent(dataFolder->filePath(QStringLiteral("Corvane")), "not a folder"));
    Connected c(radioOf(1));
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    QVERIFY(w.transfer(w.readButton));
    QVERIFY2(w.lastMessage().startsWith(QStringLiteral("Read finished; no backup kept: ")),
             qPrintable(w.lastMessage()));
}

// Before a radio is connected, and after a probe failed, "Read from" and
// "Write to" are disabled, do nothing and say nothing.
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
    QVERIFY(w.pressAuto()); // the silent port is probed and closed
    QVERIFY(!w.portOpen());
    QVERIFY(!read->isEnabled() && !write->isEnabled());
    status.messages.clear();
    read->trigger();
    write->trigger();

    QCOMPARE(status.messages, QStringList());
    QCOMPARE(w.nameEditor(0)->text(), QStringLiteral("TOWER"));
    QCOMPARE(w.frequencyEditor(0)->text(), QStringLiteral("12"));
    QCOMPARE(radio.received(), pingCommand);
    QVERIFY(!QApplication::activeModalWidget());
}

// A card made after a read is titled by the radio and numbered as the radio
// numbers its channels (from 1 on a 20-channel radio), without the rows
// beyond its channels; once the table is saved, by its file; once the
// channels were chosen around a place, by that place.
void TransfersTest::cardAfterRead()
{
    Connected c(radioOf(1));
    c.radio.setFrame(0, hex("79 64 54 4F 57 45 52 20 20 20"));  // TOWER 121.500
    c.radio.setFrame(19, hex("88 C4 4C 41 53 54 20 20 20 20")); // LAST 136.980
    QVERIFY(c.identified());
    DeviceWindow &w = *c.window;
    QMetaObject::invokeMethod(w.readButton, "click");
    QVERIFY(!w.window->findChild<QAction *>(QStringLiteral("actionPrint_card"))->isEnabled()); // mid-read
    QVERIFY(waitUntil([&w] { return !w.cancelButton->isVisible(); }, transferPatience));
    QCOMPARE(w.lastMessage(), QStringLiteral("Read finished"));
    w.typeInto(w.nameEditor(25), QStringLiteral("BEYOND"));
    w.typeInto(w.frequencyEditor(25), QStringLiteral("122.500"));

    QTemporaryDir cards;
    const QString date = QStringLiteral(", ") + QDate::currentDate().toString(Qt::ISODate);
    const auto card = [&](const QString &pdf) {
        const auto answer = FileDialogDriver::answerWithFile(cards.filePath(pdf));
        w.window->findChild<QAction *>(QStringLiteral("actionExport_card_as_PDF"))->trigger();
        return PdfFile::pages(cards.filePath(pdf));
    };
    QCOMPARE(card(QStringLiteral("radio.pdf")),
             (QVector<QStringList>{{"Radio VKR627S" + date, "1 TOWER 121.500", "20 LAST 136.980 8.33"}}));
    QCOMPARE(w.lastMessage(), QStringLiteral("Card exported; 1 record beyond the radio's 20 channels left out"));

    const auto saveAs = FileDialogDriver::answerWithFile(cards.filePath(QStringLiteral("club.csv")));
    w.window->findChild<QAction *>(QStringLiteral("actionSave_as"))->trigger();
    QVERIFY(saveAs->answered());
    QCOMPARE(card(QStringLiteral("file.pdf")).value(0).value(0), "club, VKR627S" + date);
    w.window->setCardPlace(QStringLiteral("EDDF"));
    QCOMPARE(card(QStringLiteral("place.pdf")).value(0).value(0), "EDDF area, VKR627S" + date);
}

// An empty table and a radio whose memory was not read: the Airfields
// dialog reads it first, so that its 13 free channels take the nearest
// airfields and its own 7 stay where they are.
void TransfersTest::airfieldsAfterReadingTheRadio()
{
    Connected c(radioOf(1));
    for (int k = 0; k < 7; ++k)
        c.radio.setFrame(k, hex("79 64") + "OWN" + QByteArray::number(k) + "    "); // 121.500
    QVERIFY(c.identified());
    QVERIFY(AirfieldsDriver::keepData(QDate(2026, 12, 8)));
    DeviceWindow &w = *c.window;
    AirfieldsDriver::Seen seen;
    QString roomBefore;
    bool readOffered = false;
    int nearest = 0;
    AirfieldsDriver::openByKeys(*w.window, seen, [&](AirfieldsDialog *dialog) {
        roomBefore = seen.room;
        readOffered = dialog->findChild<QCheckBox *>(QStringLiteral("readFirstCheckBox"))->isChecked();
        AirfieldsDriver::typePlace(dialog, QStringLiteral("EDDF"), seen);
        nearest = dialog->findChild<QSpinBox *>(QStringLiteral("nearestSpinBox"))->value();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    QVERIFY(readOffered);
    QCOMPARE(roomBefore, QStringLiteral("The VKR627S holds 20 channels; they are read before the table is filled"));
    QCOMPARE(seen.room, QStringLiteral("The VKR627S holds 20 channels; 13 free from channel 8"));
    QCOMPARE(nearest, 13);
    QCOMPARE(seen.preview, QStringList({"8|EDDF TWR|119.900|Frankfurt|0.0 km (0.0 NM)|000\u00B0",
                                        "9|EDFE TWR|118.275|Egelsbach|11 km (6.0 NM)|000\u00B0",
                                        "10|EDFM TWR|121.100|Mannheim|22 km (12 NM)|180\u00B0"}));
    for (int row = 0; row < 7; ++row)
        QCOMPARE(w.nameEditor(row)->text() + w.frequencyEditor(row)->text(), "OWN" + QString::number(row) + "121.500");
    QCOMPARE(w.nameEditor(7)->text() + w.frequencyEditor(7)->text(), QStringLiteral("EDDF TWR119.900"));
    QCOMPARE(w.nameEditor(9)->text(), QStringLiteral("EDFM TWR"));
}

VKR_TEST_MAIN(TransfersTest)
#include "tst_transfers.moc"
