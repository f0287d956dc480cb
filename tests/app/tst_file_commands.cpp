// Open, save and save as driven through the window as a user does: menu
// actions and tool buttons, the real file dialogs answered by typing a name
// and pressing their buttons, and the warning box.
#include "AirfieldsDriver.h"
#include "LocalHttpServer.h"
#include "ExpectedStyles.h"
#include "FileDialogDriver.h"
#include "FirstScan.h"
#include "ImportReportDialog.h"
#include "MainWindow.h"
#include "PostedMessages.h"
#include "SettingsKeys.h"
#include "FileContent.h"
#include "TestMain.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QSpinBox>
#include <QRandomGenerator>
#include <QSettings>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace FileDialogDriver;

// Reaches what only discovery calls: the table set for a radio model.
class MainWindowTestAccess
{
public:
    static void setRadio(MainWindow &window, int channelCount, int firstChannelNumber)
    {
        window.setRadioChannelCount(channelCount, firstChannelNumber);
    }
};

namespace {

std::unique_ptr<MainWindow> newWindow()
{
    auto window = std::make_unique<MainWindow>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()) || !waitForFirstScan(*window))
        return nullptr;
    return window;
}

void trigger(MainWindow &window, const char *actionName)
{
    window.findChild<QAction *>(QLatin1String(actionName))->trigger();
}

QTableWidget *tableOf(MainWindow &window)
{
    return window.findChild<QTableWidget *>(QStringLiteral("frequencyTable"));
}

QTableWidgetItem *nameAt(MainWindow &window, int row)
{
    return tableOf(window)->item(row, 1);
}

QTableWidgetItem *frequencyAt(MainWindow &window, int row)
{
    return tableOf(window)->item(row, 2);
}

// Rows given as "name|frequency" pasted from the clipboard from `first` on,
// as a user brings them from a spreadsheet (any text: nothing is checked).
void setRows(MainWindow &window, const QStringList &rows, int first = 0)
{
    QTableWidget *table = tableOf(window);
    table->setCurrentCell(first, 1, QItemSelectionModel::ClearAndSelect);
    QApplication::clipboard()->setText(QStringList(rows).replaceInStrings(QStringLiteral("|"), QStringLiteral("\t")).join('\n'));
    trigger(window, "actionPaste");
}

void setRow(MainWindow &window, int row, const QString &name, const QString &frequency)
{
    setRows(window, {name + QLatin1Char('|') + frequency}, row);
}

// Every row of the table as "name|frequency".
QStringList rowsOf(MainWindow &window)
{
    QStringList rows;
    for (int row = 0; row < tableOf(window)->rowCount(); ++row)
        rows << nameAt(window, row)->text() + QLatin1Char('|') + frequencyAt(window, row)->text();
    return rows;
}

// `filled` followed by empty rows up to `count`.
QStringList padded(QStringList filled, int count = 100)
{
    while (filled.size() < count)
        filled << QStringLiteral("|");
    return filled;
}

void release(MainWindow &window, const char *buttonName)
{
    QTest::mouseClick(window.findChild<QToolButton *>(QLatin1String(buttonName)), Qt::LeftButton);
}

QString statusOf(MainWindow &window)
{
    return window.statusBar()->currentMessage();
}

QString storedDirectory()
{
    QSettings settings{QLatin1String(SettingsKeys::organisation), QLatin1String(SettingsKeys::application)};
    return settings.value(QLatin1String(SettingsKeys::currentDirectory)).toString();
}

// Opens a file through the open dialog, as the user does, dropping any
// unsaved changes.
QString openThroughDialog(MainWindow &window, const QString &fileName)
{
    const auto discard = answerSaveChanges(QMessageBox::Discard);
    const auto answer = answerWithFile(fileName);
    release(window, "toolButtonOpen");
    return answer->answered() ? statusOf(window) : QStringLiteral("(no dialog)");
}

} // namespace

class FileCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void dialogs_data();
    void dialogs();
    void dialogStartsInFrameworkDefault();
    void openLoadsFile();
    void openCancelled();
    void openMissingFile();
    void openEmptyFile();
    void load_data();
    void load();
    void coloursAndFocusAfterLoad();
    void saveWithoutNameGoesThroughSaveAs();
    void saveCancelled();
    void saveAfterOpenWritesBack();
    void saveAsMakesNewFileCurrent();
    void write_data();
    void write();
    void saveFails_data();
    void saveFails();
    void saveWhileDiskFills();
    void roundTrip();
    void fileKeepsWhatTheTableShows();
    void importChirp_data();
    void importChirp();
    void airfields_data();
    void airfields();
    void airfieldDataDownload_data();
    void airfieldDataDownload();
    void airfieldsFromChosenFiles();
    void unsavedChangesAreGuarded_data();
    void unsavedChangesAreGuarded();
    void longFileKeepsItsRest();
    void folderRemembered();
    void folderStoredAsUtf8();

private:
    std::unique_ptr<QTemporaryDir> folder;
};

void FileCommandsTest::initTestCase()
{
    useWidgetFileDialogs();
}

void FileCommandsTest::init()
{
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    QSettings settings{QLatin1String(SettingsKeys::organisation), QLatin1String(SettingsKeys::application)};
    settings.remove(QLatin1String(SettingsKeys::currentDirectory));
    settings.sync();
}

void FileCommandsTest::cleanup()
{
    folder.reset();
}

void FileCommandsTest::dialogs_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("isButton");
    QTest::addColumn<int>("acceptMode");
    QTest::newRow("Open in the menu") << "actionOpen" << false << int(QFileDialog::AcceptOpen);
    QTest::newRow("Open button") << "toolButtonOpen" << true << int(QFileDialog::AcceptOpen);
    QTest::newRow("Save as in the menu") << "actionSave_as" << false << int(QFileDialog::AcceptSave);
    QTest::newRow("Save without a file name") << "actionSave" << false << int(QFileDialog::AcceptSave);
    QTest::newRow("Save button without a file name") << "toolButtonSave" << true << int(QFileDialog::AcceptSave);
}

// Every command's dialog: window-modal on the window, suffix "csv", filter
// "*.csv", any file; cancelling it changes nothing and shows nothing.
void FileCommandsTest::dialogs()
{
    QFETCH(QString, command);
    QFETCH(bool, isButton);
    QFETCH(int, acceptMode);
    auto window = newWindow();
    QVERIFY(window);
    setRows(*window, {"TOWER|118.000"});
    window->statusBar()->clearMessage();

    Seen seen;
    SeenBox box;
    const auto discard = answerSaveChanges(QMessageBox::Discard);
    const auto answer = answerWithCancel(&seen);
    const auto boxAnswer = answerBoxWithOk(&box);
    if (isButton)
        release(*window, command.toLatin1().constData());
    else
        trigger(*window, command.toLatin1().constData());

    QVERIFY(seen.shown);
    QCOMPARE(int(seen.acceptMode), acceptMode);
    QCOMPARE(seen.fileMode, QFileDialog::AnyFile);
    QCOMPARE(seen.modality, Qt::WindowModal);
    QCOMPARE(seen.parent, window.get());
    QCOMPARE(seen.defaultSuffix, QStringLiteral("csv"));
    QCOMPARE(seen.nameFilters, QStringList{"*.csv"});
    QVERIFY(!box.shown);
    QCOMPARE(statusOf(*window), QString());
    QCOMPARE(rowsOf(*window), padded({"TOWER|118.000"}));
    QVERIFY(folderEntries(folder->path()).isEmpty());
}

// With no folder remembered the window leaves the start folder to the
// framework: the one a dialog given no folder shows.
void FileCommandsTest::dialogStartsInFrameworkDefault()
{
    auto window = newWindow();
    QVERIFY(window);
    const QString frameworkDefault = QFileDialog(nullptr, QString(), QString(), QString()).directory().absolutePath();
    Seen seen;
    const auto answer = answerWithCancel(&seen);
    trigger(*window, "actionOpen");
    QVERIFY(seen.shown);
    QCOMPARE(seen.directory, frameworkDefault);
}

void FileCommandsTest::openLoadsFile()
{
    const QString fileName = folder->filePath("channels.csv");
    QVERIFY(writeContent(fileName, "TOWER;118.000\r\n;121.500\r\nATIS\r\n"));
    auto window = newWindow();
    QVERIFY(window);

    QCOMPARE(openThroughDialog(*window, fileName), QStringLiteral("File loaded"));
    QCOMPARE(rowsOf(*window), padded({"TOWER|118.000", "|121.500", "ATIS|"}));

    // The menu entry does the same.
    QVERIFY(writeContent(fileName, "GROUND;121.900\r\n"));
    const auto answer = answerWithFile(fileName);
    trigger(*window, "actionOpen");
    QVERIFY(answer->answered());
    QCOMPARE(statusOf(*window), QStringLiteral("File loaded"));
    QCOMPARE(rowsOf(*window), padded({"GROUND|121.900"}));
}

void FileCommandsTest::openCancelled()
{
    auto window = newWindow();
    QVERIFY(window);
    setRows(*window, {"TOWER|118.000"});
    window->statusBar()->clearMessage();
    const auto discard = answerSaveChanges(QMessageBox::Discard);
    const auto answer = answerWithCancel();
    release(*window, "toolButtonOpen");
    QVERIFY(answer->answered());
    QCOMPARE(statusOf(*window), QString());
    QCOMPARE(rowsOf(*window), padded({"TOWER|118.000"}));
}

// A file that does not open leaves the table and the current file as they
// were: a later save still goes to the file loaded before.
void FileCommandsTest::openMissingFile()
{
    const QString fileName = folder->filePath("channels.csv");
    QVERIFY(writeContent(fileName, "TOWER;118.000\r\n"));
    auto window = newWindow();
    QVERIFY(window);
    QCOMPARE(openThroughDialog(*window, fileName), QStringLiteral("File loaded"));
    setRow(*window, 1, "ATIS", "121.500");

    QCOMPARE(openThroughDialog(*window, folder->filePath("missing.csv")), QStringLiteral("File not loaded"));
    QCOMPARE(rowsOf(*window), padded({"TOWER|118.000", "ATIS|121.500"}));
    QVERIFY(!QFile::exists(folder->filePath("missing.csv")));

    const auto noDialog = answerWithCancel();
    release(*window, "toolButtonSave");
    QVERIFY(!noDialog->answered());
    QCOMPARE(statusOf(*window), QStringLiteral("File saved"));
    QCOMPARE(contentOf(fileName), QByteArray("TOWER;118.000\r\nATIS;121.500\r\n"));
}

// An empty file loads: every row empty, and it is the current file.
void FileCommandsTest::openEmptyFile()
{
    const QString fileName = folder->filePath("empty.csv");
    QVERIFY(writeContent(fileName, QByteArray()));
    auto window = newWindow();
    QVERIFY(window);
    setRows(*window, {"TOWER|118.000", "ATIS|121.500"});

    QCOMPARE(openThroughDialog(*window, fileName), QStringLiteral("File loaded"));
    QCOMPARE(rowsOf(*window), padded({}));

    setRow(*window, 0, "A", "119.000");
    const auto noDialog = answerWithCancel();
    trigger(*window, "actionSave");
    QVERIFY(!noDialog->answered());
    QCOMPARE(contentOf(fileName), QByteArray("A;119.000\r\n"));
}

void FileCommandsTest::load_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("status");

    QTest::newRow("blank lines do not shift records") << QByteArray("\r\nA;118.000\r\n\r\nB;119.000\r\n")
                                                      << QStringList{"A|118.000", "B|119.000"} << "File loaded";
    QTest::newRow("header line is channel 0") << QByteArray("NAME;FREQUENCY\r\nA;118.000\r\n")
                                              << QStringList{"NAME|FREQUENCY", "A|118.000"} << "File loaded";
    QTest::newRow("line without separator") << QByteArray("ATIS\r\n") << QStringList{"ATIS|"} << "File loaded";
    QTest::newRow("lone separator") << QByteArray(";\r\nA;118.000\r\n") << QStringList{"|", "A|118.000"} << "File loaded";
    QTest::newRow("three fields") << QByteArray("A;118.000;x;y\r\n") << QStringList{"A|118.000"} << "File loaded";
    QTest::newRow("Windows-1252") << QByteArray("K\xD6LN;118.000\r\n") << QStringList{QString::fromUtf8("KÖLN|118.000")} << "File loaded";
    QTest::newRow("UTF-8") << QByteArray("K\xC3\x96LN;118.000\r\n") << QStringList{QString::fromUtf8("KÖLN|118.000")} << "File loaded";
    QTest::newRow("one-character name") << QByteArray("A;118.000\r\n") << QStringList{"A|118.000"} << "File loaded";
    QTest::newRow("long name kept whole (red), not cut") << QByteArray("ABCDEFGHIJKL;118.000\r\n")
                                                         << QStringList{"ABCDEFGHIJKL|118.000"} << "File loaded";
    QByteArray many;
    QStringList first100;
    for (int k = 0; k < 150; ++k) {
        many += "CH" + QByteArray::number(k) + ";118.000\r\n";
        if (k < 100)
            first100 << QStringLiteral("CH%1|118.000").arg(k);
    }
    QTest::newRow("more records than the table") << many << first100 << "File loaded";
    // A PNG renamed .csv: refused whole, the table left as it was.
    QTest::newRow("not text") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                              << padded({}).replaceInStrings(QStringLiteral("|"), QStringLiteral("OLD|118.000"))
                              << "Not a channel file";
}

// What a file's records become in the table; rows without a record end up
// empty whatever they held before.
void FileCommandsTest::load()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, rows);
    QFETCH(QString, status);
    const QString fileName = folder->filePath("channels.csv");
    QVERIFY(writeContent(fileName, content));
    auto window = newWindow();
    QVERIFY(window);
    setRows(*window, padded({}, 100).replaceInStrings(QStringLiteral("|"), QStringLiteral("OLD|118.000")));

    QCOMPARE(openThroughDialog(*window, fileName), status);
    QCOMPARE(rowsOf(*window), padded(rows));
}

// After a load each frequency is coloured by what it now holds; the view
// shows the first row.
void FileCommandsTest::coloursAndFocusAfterLoad()
{
    const QString fileName = folder->filePath("channels.csv");
    QVERIFY(writeContent(fileName, "A;118.000\r\n"    // row 0: valid, was invalid before
                                   "B;136.985\r\n"    // row 1: off the raster
                                   "C;200.000\r\n"    // row 2: out of the band
                                   "D\r\n"            // row 3: had a frequency, now none
                                   ";\r\n"            // row 4: empty before and after
                                   "E;118.005\r\n")); // row 5: valid, was empty before
    auto window = newWindow();
    QVERIFY(window);
    setRows(*window, {"X|200.000", "|", "|", "X|118.000"});
    tableOf(*window)->scrollToBottom();

    QCOMPARE(openThroughDialog(*window, fileName), QStringLiteral("File loaded"));
    const QColor expected[] = {ExpectedColour::green, ExpectedColour::red,  ExpectedColour::red,
                               ExpectedColour::none,  ExpectedColour::none, ExpectedColour::green};
    for (int row = 0; row < 6; ++row) {
        QCOMPARE(colourOf(frequencyAt(*window, row)), expected[row]);
        QCOMPARE(colourOf(nameAt(*window, row)), ExpectedColour::none);
    }
    QCOMPARE(tableOf(*window)->rowAt(0), 0);
}

// Save with no file yet asks for one; a name typed without a suffix gets
// ".csv".
void FileCommandsTest::saveWithoutNameGoesThroughSaveAs()
{
    auto window = newWindow();
    QVERIFY(window);
    setRows(*window, {"TOWER|118.000", "|121.500", "ATIS|"});
    Seen seen;
    SeenBox box;
    const auto answer = answerWithFile(folder->filePath("channels"), &seen);
    const auto boxAnswer = answerBoxWithOk(&box);
    release(*window, "toolButtonSave");

    QVERIFY(seen.shown);
    QCOMPARE(seen.acceptMode, QFileDialog::AcceptSave);
    QVERIFY(!box.shown);
    QCOMPARE(statusOf(*window), QStringLiteral("File saved"));
    QCOMPARE(folderEntries(folder->path()), QStringList{"channels.csv"});
    QCOMPARE(contentOf(folder->filePath("channels.csv")), QByteArray("TOWER;118.000\r\n;121.500\r\nATIS;\r\n"));

    // From now on Save writes there without asking.
    setRow(*window, 0, "GROUND", "121.900");
    const auto noDialog = answerWithCancel();
    release(*window, "toolButtonSave");
    QVERIFY(!noDialog->answered());
    QCOMPARE(contentOf(folder->filePath("channels.csv")), QByteArray("GROUND;121.900\r\n;121.500\r\nATIS;\r\n"));
}

void FileCommandsTest::saveCancelled()
{
    auto window = newWindow();
    QVERIFY(window);
    setRows(*window, {"TOWER|118.000"});
    window->statusBar()->clearMessage();
    SeenBox box;
    const auto answer = answerWithCancel();
    const auto boxAnswer = answerBoxWithOk(&box);
    release(*window, "toolButtonSave");
    QVERIFY(answer->answered());
    QVERIFY(!box.shown);
    QCOMPARE(statusOf(*window), QString());
    QVERIFY(folderEntries(folder->path()).isEmpty());

    // Still no current file: the next save asks again.
    const auto again = answerWithCancel();
    trigger(*window, "actionSave");
    QVERIFY(again->answered());
}

void FileCommandsTest::saveAfterOpenWritesBack()
{
    const QString fileName = folder->filePath("channels.csv");
    QVERIFY(writeContent(fileName, "TOWER;118.000\n;121.500\n"));
    auto window = newWindow();
    QVERIFY(window);
    QCOMPARE(openThroughDialog(*window, fileName), QStringLiteral("File loaded"));
    setRow(*window, 2, "ATIS", "200.000");

    const auto noDialog = answerWithCancel();
    trigger(*window, "actionSave");
    QVERIFY(!noDialog->answered());
    QCOMPARE(statusOf(*window), QStringLiteral("File saved"));
    QCOMPARE(contentOf(fileName), QByteArray("TOWER;118.000\r\n;121.500\r\nATIS;200.000\r\n"));
    QCOMPARE(folderEntries(folder->path()), QStringList{"channels.csv"});
}

// Save as writes under the new name and makes it the current file; the
// file loaded before is left alone.
void FileCommandsTest::saveAsMakesNewFileCurrent()
{
    const QString loaded = folder->filePath("loaded.csv");
    QVERIFY(writeContent(loaded, "TOWER;118.000\r\n"));
    auto window = newWindow();
    QVERIFY(window);
    QCOMPARE(openThroughDialog(*window, loaded), QStringLiteral("File loaded"));

    const auto answer = answerWithFile(folder->filePath("copy.csv"));
    trigger(*window, "actionSave_as");
    QVERIFY(answer->answered());
    QCOMPARE(statusOf(*window), QStringLiteral("File saved"));

    setRow(*window, 0, "GROUND", "121.900");
    const auto noDialog = answerWithCancel();
    trigger(*window, "actionSave");
    QVERIFY(!noDialog->answered());
    QCOMPARE(contentOf(folder->filePath("copy.csv")), QByteArray("GROUND;121.900\r\n"));
    QCOMPARE(contentOf(loaded), QByteArray("TOWER;118.000\r\n"));
}

void FileCommandsTest::write_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("name, empty name, empty frequency") << QStringList{"TOWER|118.000", "|121.500", "ATIS|"}
                                                       << QByteArray("TOWER;118.000\r\n;121.500\r\nATIS;\r\n");
    QTest::newRow("empty table") << QStringList{} << QByteArray();
    QTest::newRow("gap") << QStringList{"A|118.000", "|", "B|119.000"}
                         << QByteArray("A;118.000\r\n;\r\nB;119.000\r\n");
    QTest::newRow("red frequencies as the editor holds them") << QStringList{"A|200.000", "B|136.985"}
                                                              << QByteArray("A;200.000\r\nB;136.985\r\n");
    QTest::newRow("last channel only") << padded({}, 99) + QStringList{"LAST|136.975"}
                                       << QByteArray(";\r\n").repeated(99) + "LAST;136.975\r\n";
}

void FileCommandsTest::write()
{
    QFETCH(QStringList, rows);
    QFETCH(QByteArray, bytes);
    auto window = newWindow();
    QVERIFY(window);
    setRows(*window, rows);
    const QString fileName = folder->filePath("channels.csv");
    const auto answer = answerWithFile(fileName);
    trigger(*window, "actionSave_as");
    QVERIFY(answer->answered());
    QCOMPARE(statusOf(*window), QStringLiteral("File saved"));
    QCOMPARE(contentOf(fileName).toHex(' '), bytes.toHex(' '));
}

void FileCommandsTest::saveFails_data()
{
    QTest::addColumn<QString>("relativeName");
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("boxExpected");
    const QString missing = QStringLiteral("nowhere/channels.csv");
    const QString underFile = QStringLiteral("plain.txt/channels.csv");
    QTest::newRow("Save, folder does not exist") << missing << "toolButtonSave" << true;
    QTest::newRow("Save, folder is a regular file") << underFile << "toolButtonSave" << true;
    QTest::newRow("Save as, folder does not exist") << missing << "actionSave_as" << false;
    QTest::newRow("Save as, folder is a regular file") << underFile << "actionSave_as" << false;
}

// A save that fails says so; only Save adds the warning box. The failed
// name stays the current file, so the next Save tries it again.
void FileCommandsTest::saveFails()
{
    QFETCH(QString, relativeName);
    QFETCH(QString, command);
    QFETCH(bool, boxExpected);
    QVERIFY(writeContent(folder->filePath("plain.txt"), "plain"));
    auto window = newWindow();
    QVERIFY(window);
    setRows(*window, {"TOWER|118.000"});

    {
        SeenBox box;
        const auto answer = answerWithFile(folder->filePath(relativeName));
        const auto boxAnswer = answerBoxWithOk(&box);
        if (command.startsWith(QLatin1String("action")))
            trigger(*window, command.toLatin1().constData());
        else
            release(*window, command.toLatin1().constData());
        QVERIFY(answer->answered());
        QVERIFY2(statusOf(*window).startsWith(QStringLiteral("File not saved: ")), qPrintable(statusOf(*window)));
        QCOMPARE(box.shown, boxExpected);
        if (boxExpected) {
            QCOMPARE(box.title, QStringLiteral("Save error"));
            QCOMPARE(box.text, QStringLiteral("File could not be saved"));
            QCOMPARE(box.icon, QMessageBox::Warning);
            QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            QCOMPARE(box.parent, window.get());
        }
    }
    QCOMPARE(folderEntries(folder->path()), QStringList{"plain.txt"});
    QCOMPARE(contentOf(folder->filePath("plain.txt")), QByteArray("plain"));

    SeenBox again;
    const auto noDialog = answerWithCancel();
    const auto againAnswer = answerBoxWithOk(&again);
    release(*window, "toolButtonSave");
    QVERIFY(!noDialog->answered());
    QVERIFY(again.shown);
    QCOMPARE(again.title, QStringLiteral("Save error"));
}

// The disk fills up during the save: the child process saves under a small
// file-size limit and reports what the user saw.
void FileCommandsTest::saveWhileDiskFills()
{
#ifdef DISK_FULL_SAVE_PROGRAM
    const QString fileName = folder->filePath("channels.csv");
    const QByteArray old("TOWER;118.000\r\n;121.500\r\n");
    QVERIFY(writeContent(fileName, old));

    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QStringLiteral(DISK_FULL_SAVE_PROGRAM), {fileName});
    QVERIFY(child.waitForFinished(120000));
    const QByteArray output = child.readAllStandardOutput();
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             (output + child.readAllStandardError()).constData());
    QCOMPARE(output, QByteArray("loaded: File loaded\n"
                                "status: File not saved: File too large\n"
                                "box: Save error | File could not be saved\n"));
    QCOMPARE(contentOf(fileName), old);
    QCOMPARE(folderEntries(folder->path()), QStringList{"channels.csv"});
#else
    QSKIP("needs a file-size limit, which only POSIX systems offer");
#endif
}

// Tables of valid channels saved from one window and loaded into a fresh
// one come back row for row.
// A file reads back as the table showed it: a name in quotes keeps them;
// a name with a line end pasted into it cannot be kept, and the save
// names its row and writes nothing.
void FileCommandsTest::fileKeepsWhatTheTableShows()
{
    auto window = newWindow();
    QVERIFY(window);
    tableOf(*window)->setCurrentCell(0, 1, QItemSelectionModel::ClearAndSelect);
    QApplication::clipboard()->setText(QStringLiteral("\"\"\"Q\"\"\"\t118.100\n\"TWR\nX\"\t118.000\n LEAD\t121.500\n"));
    trigger(*window, "actionPaste");
    QCOMPARE(rowsOf(*window).mid(0, 3), (QStringList{"\"Q\"|118.100", "TWR\\x0aX|118.000", " LEAD|121.500"}));
    const QString fileName = folder->filePath(QStringLiteral("kept.csv"));
    {
        const auto answer = answerWithFile(fileName);
        trigger(*window, "actionSave_as");
    }
    QCOMPARE(statusOf(*window),
             QStringLiteral("File not saved: channel 1: its name holds \\x0a, which a channel file cannot keep"));
    QVERIFY(!QFile::exists(fileName));
    QCOMPARE(tableOf(*window)->currentRow(), 1); // the row is shown

    setRow(*window, 1, QStringLiteral("TWR X"), QStringLiteral("118.000"));
    {
        const auto answer = answerWithFile(fileName);
        trigger(*window, "actionSave_as");
    }
    QCOMPARE(statusOf(*window), QStringLiteral("File saved"));
    auto reopened = newWindow();
    QVERIFY(reopened);
    QCOMPARE(openThroughDialog(*reopened, fileName), QStringLiteral("File loaded"));
    QCOMPARE(rowsOf(*reopened), padded({"\"Q\"|118.100", "TWR X|118.000", " LEAD|121.500"}));
}

void FileCommandsTest::roundTrip()
{
    static const QString letters = QString::fromUtf8("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ÄÖÜÅÉ");
    QRandomGenerator random(1234);
    for (int round = 0; round < 2; ++round) {
        QStringList rows;
        for (int row = 0; row < 100; ++row) {
            if (random.bounded(3) == 0) {
                rows << QStringLiteral("|");
                continue;
            }
            QString name;
            for (int k = random.bounded(0, 9); k > 0; --k)
                name += letters.at(random.bounded(letters.size()));
            const QString frequency = QStringLiteral("%1.%2").arg(random.bounded(118, 136)).arg(
                random.bounded(0, 40) * 25, 3, 10, QLatin1Char('0'));
            rows << name + QLatin1Char('|') + frequency;
        }
        rows[0] = QString::fromUtf8("Ö|118.000");
        rows[1] = QStringLiteral("A|");

        const QString fileName = folder->filePath(QStringLiteral("table%1.csv").arg(round));
        {
            auto window = newWindow();
            QVERIFY(window);
            setRows(*window, rows);
            const auto answer = answerWithFile(fileName);
            trigger(*window, "actionSave_as");
            QCOMPARE(statusOf(*window), QStringLiteral("File saved"));
        }
        auto window = newWindow();
        QVERIFY(window);
        QCOMPARE(openThroughDialog(*window, fileName), QStringLiteral("File loaded"));
        QCOMPARE(rowsOf(*window), rows);
    }
}

void FileCommandsTest::unsavedChangesAreGuarded_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("goesOn");   // the window closes, the other file is loaded
    QTest::addColumn<QByteArray>("kept"); // channels.csv afterwards
    const QByteArray old("TOWER;118.000\r\n");
    const QByteArray edited("TOWER;118.000\r\nATIS;121.500\r\n");
    for (const char *command : {"close", "open"}) {
        QTest::newRow(QByteArray(command) + ", Save") << command << int(QMessageBox::Save) << true << edited;
        QTest::newRow(QByteArray(command) + ", Discard") << command << int(QMessageBox::Discard) << true << old;
        QTest::newRow(QByteArray(command) + ", Cancel") << command << int(QMessageBox::Cancel) << false << old;
    }
}

// Closing the window or opening another file over unsaved changes asks
// first; the title names the file and marks the changes.
void FileCommandsTest::unsavedChangesAreGuarded()
{
    QFETCH(QString, command);
    QFETCH(int, answer);
    QFETCH(bool, goesOn);
    QFETCH(QByteArray, kept);
    const QString fileName = folder->filePath("channels.csv");
    const QString other = folder->filePath("other.csv");
    QVERIFY(writeContent(fileName, "TOWER;118.000\r\n"));
    QVERIFY(writeContent(other, "GROUND;121.900\r\n"));
    auto window = newWindow();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("VKR Frequency Tool"));
    QCOMPARE(openThroughDialog(*window, fileName), QStringLiteral("File loaded"));
    QCOMPARE(window->windowTitle(), QStringLiteral("channels.csv[*] - VKR Frequency Tool"));
    QVERIFY(!window->isWindowModified());
    window->close(); // nothing to save: no question
    QVERIFY(!window->isVisible());
    window->show();
    setRow(*window, 1, "ATIS", "121.500");
    QVERIFY(window->isWindowModified());

    bool asked = false;
    const auto question = answerSaveChanges(QMessageBox::StandardButton(answer), &asked);
    const auto chosen = answerWithFile(other);
    if (command == "close")
        window->close();
    else
        trigger(*window, "actionOpen");
    QVERIFY(asked);
    QCOMPARE(contentOf(fileName), kept);
    if (command == "close") {
        QCOMPARE(window->isVisible(), !goesOn);
        return;
    }
    QCOMPARE(chosen->answered(), goesOn);
    QCOMPARE(rowsOf(*window).first(), goesOn ? QStringLiteral("GROUND|121.900") : QStringLiteral("TOWER|118.000"));
    QCOMPARE(window->windowTitle().section('[', 0, 0), goesOn ? QStringLiteral("other.csv") : QStringLiteral("channels.csv"));
    QCOMPARE(window->isWindowModified(), !goesOn);
}

// A file of 150 records: the table shows the first 100 and the status bar
// the rest's count; a save over the file asks first, one to another file
// does not; the file keeps its rest until the user agrees.
void FileCommandsTest::longFileKeepsItsRest()
{
    QByteArray content;
    for (int k = 0; k < 150; ++k)
        content += "CH" + QByteArray::number(k) + ";118.000\r\n";
    const QString fileName = folder->filePath("long.csv");
    QVERIFY(writeContent(fileName, content + ";\r\n;\r\n")); // empty records at the end are nothing
    auto window = newWindow();
    QVERIFY(window);
    QCOMPARE(openThroughDialog(*window, fileName), QStringLiteral("File loaded"));
    // Once the message is gone: the label yields to it meanwhile.
    auto *note = window->findChild<QLabel *>(QStringLiteral("hiddenRecordsLabel"));
    QVERIFY(QTest::qWaitFor([note] { return note->isVisible(); }));
    QCOMPARE(note->text(), QStringLiteral("The file holds 50 records more, not shown"));

    QString asked;
    const auto save = [&](QMessageBox::StandardButton button) {
        asked.clear();
        const auto answer = std::make_unique<ModalAnswerer<QMessageBox>>([&asked, button](QMessageBox *box) {
            asked = box->text();
            box->button(button)->click();
        });
        trigger(*window, "actionSave");
    };
    const QString question("long.csv holds 50 records beyond the 100 the table shows.");
    save(QMessageBox::Cancel);
    QCOMPARE(asked, question);
    QCOMPARE(contentOf(fileName).count('\n'), 152);

    const auto copy = answerWithFile(folder->filePath("copy.csv"));
    trigger(*window, "actionSave_as"); // another file: nothing is lost there
    QCOMPARE(contentOf(folder->filePath("copy.csv")).count('\n'), 100);
    QVERIFY(!note->isVisible());

    QCOMPARE(openThroughDialog(*window, fileName), QStringLiteral("File loaded"));
    QVERIFY(QTest::qWaitFor([note] { return note->isVisible(); }));
    save(QMessageBox::Save);
    QCOMPARE(asked, question);
    QCOMPARE(contentOf(fileName).count('\n'), 100);
    QVERIFY(!note->isVisible());
}

// Entering a folder in a dialog stores it at once; the next dialog starts
// there, also after a restart, and a cancelled dialog keeps it stored.
void FileCommandsTest::folderRemembered()
{
    const QString start = QDir(folder->path()).absolutePath();
    const QString sub = start + QStringLiteral("/flights");
    QVERIFY(QDir(start).mkdir(QStringLiteral("flights")));
    QVERIFY(QDir(sub).mkdir(QStringLiteral("alps")));

    {
        auto window = newWindow();
        QVERIFY(window);
        // The dialog is taken to the start folder through its name field,
        // then the user steps into a subfolder and cancels.
        const auto intoFlights = std::make_unique<ModalAnswerer<QFileDialog>>([start, sub](QFileDialog *dialog) {
            chooseFile(dialog, start);
            doubleClickFolder(dialog, sub);
            cancel(dialog);
        });
        trigger(*window, "actionOpen");
        QVERIFY(intoFlights->answered());
        QCOMPARE(storedDirectory(), sub);

        Seen save;
        const auto intoAlps = answerByEnteringFolder(sub + QStringLiteral("/alps"), &save);
        trigger(*window, "actionSave_as");
        QCOMPARE(save.directory, sub);
        QCOMPARE(save.enteredFolder, sub + QStringLiteral("/alps"));
        QCOMPARE(storedDirectory(), sub + QStringLiteral("/alps"));

        Seen next;
        const auto nextAnswer = answerWithCancel(&next);
        trigger(*window, "actionOpen");
        QCOMPARE(next.directory, sub + QStringLiteral("/alps"));
    }

    auto restarted = newWindow();
    QVERIFY(restarted);
    Seen afterRestart;
    const auto answer = answerWithCancel(&afterRestart);
    release(*restarted, "toolButtonSave");
    QVERIFY(afterRestart.shown);
    QCOMPARE(afterRestart.directory, sub + QStringLiteral("/alps"));
}

// The settings file holds the folder's name in UTF-8 bytes, which a build
// with either Qt version reads back the same.
void FileCommandsTest::folderStoredAsUtf8()
{
    const QString folderName = folder->path() + QString::fromUtf8("/Fl\xC3\xBCge");
    QVERIFY(QDir().mkdir(folderName));
    {
        auto window = newWindow();
        QVERIFY(window);
        const QString start = folder->path();
        const auto intoFolder = std::make_unique<ModalAnswerer<QFileDialog>>([start, folderName](QFileDialog *dialog) {
            chooseFile(dialog, start);
            doubleClickFolder(dialog, folderName);
            cancel(dialog);
        });
        trigger(*window, "actionOpen");
        QVERIFY(intoFolder->answered());
    }
    QFile stored(QSettings(QLatin1String(SettingsKeys::organisation), QLatin1String(SettingsKeys::application)).fileName());
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QVERIFY(stored.readAll().contains("/Fl\xC3\xBCge"));
}

void FileCommandsTest::importChirp_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("File > Import > CHIRP file...") << "actionCHIRP_file";
    QTest::newRow("File > Open of a CHIRP file, import accepted") << "actionOpen";
}

// The CHIRP file's channels replace the table at their Locations, 8.33 kHz
// carriers as their channels; the row skipped is listed afterwards.
void FileCommandsTest::importChirp()
{
    QFETCH(QString, entry);
    const QString fileName = folder->filePath("chirp.csv");
    QVERIFY(writeContent(fileName, "Location,Name,Frequency,Duplex,Mode,TStep\r\n1,Tower,121.800000,,AM,8.33\r\n"
                                   "2,Marine,156.800000,,FM,25.00\r\n3,Listen,118.100000,off,AM,25.00\r\n"));
    auto window = newWindow();
    QVERIFY(window);
    setRows(*window, {"A|118.000", "B|119.000"});
    QVERIFY(waitForFirstScan(*window));

    const auto file = answerWithFile(fileName);
    std::unique_ptr<ModalAnswerer<QMessageBox>> offer;
    std::unique_ptr<ModalAnswerer<QMessageBox>> discard;
    if (entry == QLatin1String("actionOpen")) {
        // Open asks about the edits first, then offers the import.
        discard = answerSaveChanges(QMessageBox::Discard);
        offer = std::make_unique<ModalAnswerer<QMessageBox>>(
            [](QMessageBox *box) { QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton); }, 15000,
            [](QMessageBox *box) { return box->button(QMessageBox::Yes) != nullptr; });
    }
    QString reported;
    ModalAnswerer<ImportReportDialog> report([&reported](ImportReportDialog *box) {
        reported = box->findChild<QPlainTextEdit *>(QStringLiteral("messagesText"))->toPlainText();
        box->accept();
    });
    // Said before the report, which stays up for as long as it takes.
    PostedMessages posted(window->statusBar());
    trigger(*window, qPrintable(entry));
    QVERIFY(file->answered());
    QVERIFY(!offer || offer->answered());
    QVERIFY(report.answered());
    QCOMPARE(reported, fileName + ", record 3: Mode \"FM\" is not AM, skipped");
    QCOMPARE(posted.last(), QStringLiteral("File imported"));
    QCOMPARE(rowsOf(*window), padded({"TOWER|121.805", "|", "LISTEN|118.100"}));
}

using AirfieldsDriver::airports;
using AirfieldsDriver::frequencies;

namespace {

const QString forms = "an airfield's ident (EDDF), or a position: decimal degrees, north and east positive, south and "
                      "west negative (50.03, 8.57 or 51.47, -0.46), with hemispheres (51.47N 0.46W or 51.47 N, 0.46 W), "
                      "or degrees and minutes (50\u00B002'N 008\u00B034'E or 5002N00834E)";

} // namespace

// Places in every form, the nearest N as the radio has room for, closed
// airfields and kinds not asked for left out: Alt+F, I, A, the place, Enter
// shows the channels, Enter places them where the preview said.
void FileCommandsTest::airfields_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("tick");    // a check box's name, or ""
    QTest::addColumn<int>("usedRows");    // the first rows in use before
    QTest::addColumn<int>("nearest");     // typed into "Nearest"; 0: left as offered
    QTest::addColumn<QString>("room");
    QTest::addColumn<QStringList>("preview");
    QTest::addColumn<QString>("report");

    const QString holds = QStringLiteral("The VKR627S holds 20 channels; ");
    const QString eddf = QStringLiteral("|EDDF TWR|119.900|Frankfurt|0.0 km (0.0 NM)|000\u00B0");
    const QString edfe = QStringLiteral("|EDFE TWR|118.275|Egelsbach|11 km (6.0 NM)|000\u00B0");
    const QString edfm = QStringLiteral("|EDFM TWR|121.100|Mannheim|22 km (12 NM)|180\u00B0");
    const QString closed = QStringLiteral("\n1 closed airfield left out: EDFZ (Mainz-Finthen), 5.6 km (3.0 NM)");
    const QString heliport = QStringLiteral("\n1 heliport not asked for: EDHX (Klinikum), 5.6 km (3.0 NM)");
    const QString skipped = "\n" + AirfieldData(ProgramFolders::dataFolder()).frequenciesPath()
        + ", record 7: EDFM (Mannheim) UHF: \"243\" is not an air-band channel, skipped";
    const QStringList three{"2" + eddf, "4" + edfe, "5" + edfm};
    const QString threeReport = "3 channels of 3 airfields" + closed + heliport + skipped;
    for (const char *place : {"EDDF", "50, 8.5", "50 N, 8.5 E", "N50 E8.5", "50\u00B000'N 008\u00B030'E", "5000N00830E"})
        QTest::newRow(place) << QString::fromUtf8(place) << "" << 3 << 0 << holds + "18 free from channel 2" << three
                             << threeReport;
    QTest::newRow("ident in lower case, heliports asked for")
        << "eddf" << "heliportsCheckBox" << 3 << 0 << holds + "18 free from channel 2"
        << QStringList{"2" + eddf, "4|EDHX TWR|123.050|Klinikum|5.6 km (3.0 NM)|180\u00B0", "5" + edfe, "6" + edfm}
        << "4 channels of 4 airfields" + closed + skipped;
    QTest::newRow("2 free: the nearest 2") << "EDDF" << "" << 18 << 0 << holds + "2 free from channel 19"
                                           << QStringList{"19" + eddf, "20" + edfe}
                                           << "2 channels of 2 airfields" + closed + heliport
                                                  + "\nbeyond the nearest 2: the next is EDFM (Mannheim), 22 km (12 NM)";
    QTest::newRow("2 free, 3 asked for") << "EDDF" << "" << 18 << 3 << holds + "2 free from channel 19"
                                         << QStringList{"19" + eddf, "20" + edfe, "21" + edfm}
                                         << "3 channels of 3 airfields\n1 of them go beyond channel 20, the VKR627S's "
                                            "last: a write leaves them out."
                                                + closed + heliport + skipped;
    QTest::newRow("none free: replaced") << "EDDF" << "" << 20 << 0 << holds + "the table is replaced from channel 1"
                                         << QStringList{"1" + eddf, "2" + edfe, "3" + edfm} << threeReport;
    for (const char *refused : {"Frankfurt Main", "50.0", "91 N 8.5 E", "50\u00B060'N 8\u00B030'E", "50,0 8,5"})
        QTest::newRow(refused) << QString::fromUtf8(refused) << "" << 3 << 0 << holds + "18 free from channel 2"
                               << QStringList()
                               << QStringLiteral("\"Near\" does not read \"%1\" as a place. Give %2.")
                                      .arg(QString::fromUtf8(refused), forms);
}

void FileCommandsTest::airfields()
{
    QFETCH(QString, place);
    QFETCH(QString, tick);
    QFETCH(int, usedRows);
    QFETCH(int, nearest);
    QFETCH(QString, room);
    QFETCH(QStringList, preview);
    QFETCH(QString, report);
    QVERIFY(AirfieldsDriver::keepData(QDate(2026, 12, 8)));
    auto window = newWindow();
    QVERIFY(window);
    MainWindowTestAccess::setRadio(*window, 20, 1);
    QStringList before; // with 3 rows, the second empty
    for (int row = 0; row < usedRows; ++row)
        before << (usedRows == 3 && row == 1 ? QStringLiteral("|") : QStringLiteral("R%1|118.000").arg(row));
    setRows(*window, before);

    AirfieldsDriver::Seen seen;
    AirfieldsDriver::openByKeys(*window, seen, [&](AirfieldsDialog *dialog) {
        if (!tick.isEmpty()) {
            QTest::mouseClick(dialog->findChild<QCheckBox *>(tick), Qt::LeftButton);
            dialog->findChild<QLineEdit *>(QStringLiteral("positionEdit"))->setFocus(); // clicked into
        }
        if (nearest > 0) {
            auto *spinBox = dialog->findChild<QSpinBox *>(QStringLiteral("nearestSpinBox"));
            spinBox->setFocus();
            QTest::keyClick(spinBox, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(spinBox, QString::number(nearest));
            dialog->findChild<QLineEdit *>(QStringLiteral("positionEdit"))->setFocus();
        }
        AirfieldsDriver::typePlace(dialog, place, seen);
        if (!seen.preview.isEmpty())
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    QVERIFY(seen.shown);
    QCOMPARE(seen.focus, QStringLiteral("positionEdit"));
    QCOMPARE(seen.data, QStringLiteral("Airfield data of 2026-12-08"));
    QCOMPARE(seen.room, room);
    QCOMPARE(seen.preview, preview);
    QCOMPARE(seen.report, report);
    // Placed where the preview said, the rows in use kept (unless replaced).
    QStringList after = rowsOf(*window);
    for (const QString &line : preview) {
        const QStringList cells = line.split(QLatin1Char('|'));
        QCOMPARE(after.at(cells.at(0).toInt() - 1), cells.at(1) + QLatin1Char('|') + cells.at(2));
        after[cells.at(0).toInt() - 1] = QStringLiteral("|");
    }
    QCOMPARE(after, padded(usedRows == 20 ? QStringList() : before));
}

// The data downloaded in the dialog from a server on 127.0.0.1: when none
// is kept, on the first "Show channels"; anew on "Update airfield data".
// A download that fails leaves the data kept before in use, and says why.
void FileCommandsTest::airfieldDataDownload_data()
{
    QTest::addColumn<bool>("kept");
    QTest::addColumn<QByteArray>("airportsAnswer"); // empty: the server is down
    QTest::addColumn<QByteArray>("frequenciesAnswer");
    QTest::addColumn<QString>("report"); // "%1": the server's address

    const QByteArray airportsCsv = LocalHttpServer::answer("200 OK", airports);
    const QByteArray frequenciesCsv = LocalHttpServer::answer("200 OK", frequencies);
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    const QString stays = QStringLiteral("\nThe airfield data of 2026-01-02 stays in use.");
    QTest::newRow("none kept: shown after the download") << false << airportsCsv << frequenciesCsv << QString();
    QTest::newRow("none kept, no server") << false << QByteArray() << QByteArray()
                                          << "No connection to %1: Connection refused.\nNo airfield data is kept: with "
                                             "\"Choose files...\" use OurAirports' airport-frequencies.csv and "
                                             "airports.csv from another source.";
    QTest::newRow("update") << true << airportsCsv << frequenciesCsv
                            << "Airfield data of " + today + " downloaded from %1.";
    QTest::newRow("update cut short")
        << true << LocalHttpServer::answer("200 OK", airports).replace("Content-Length: ", "Content-Length: 1")
        << frequenciesCsv
        << QStringLiteral("airports.csv was not downloaded from %2: %1 of the 1%1 bytes announced came.").arg(airports.size())
               + stays;
    QTest::newRow("update: 404") << true << airportsCsv
                                 << LocalHttpServer::answer("404 Not Found", "<html>Not found</html>", "text/html")
                                 << "airport-frequencies.csv was not downloaded from %1: the server answered 404 Not Found."
                                        + stays;
    QTest::newRow("update: an HTML page") << true << LocalHttpServer::answer("200 OK", "<html>Sign in</html>", "text/html")
                                          << frequenciesCsv
                                          << "airports.csv was not downloaded from %1: an HTML page came, not the CSV file."
                                                 + stays;
}

void FileCommandsTest::airfieldDataDownload()
{
    QFETCH(bool, kept);
    QFETCH(QByteArray, airportsAnswer);
    QFETCH(QByteArray, frequenciesAnswer);
    QFETCH(QString, report);
    const QByteArray oldAirports = "ident,type,name,latitude_deg,longitude_deg\nEDDS,medium_airport,Stuttgart,48.69,9.22\n";
    const QByteArray oldFrequencies = "airport_ident,type,description,frequency_mhz\nEDDS,TWR,TOWER,118.8\n";
    QVERIFY(AirfieldsDriver::keepData(kept ? QDate(2026, 1, 2) : QDate(), oldAirports, oldFrequencies));
    LocalHttpServer server;
    QVERIFY(server.isListening());
    server.answers.insert("/airports.csv", airportsAnswer);
    server.answers.insert("/airport-frequencies.csv", frequenciesAnswer);
    const QString address = server.address();
    if (airportsAnswer.isEmpty())
        server.close();
    qputenv("VKR_OURAIRPORTS_URL", address.toLatin1());
    auto window = newWindow();
    QVERIFY(window);

    AirfieldsDriver::Seen seen;
    bool canChoose = false;
    AirfieldsDriver::openByKeys(*window, seen, [&](AirfieldsDialog *dialog) {
        if (kept) {
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("updateButton")), Qt::LeftButton);
            AirfieldsDriver::lookOnceDone(dialog, seen);
        } else {
            AirfieldsDriver::typePlace(dialog, QStringLiteral("EDDF"), seen);
        }
        canChoose = dialog->findChild<QPushButton *>(QStringLiteral("chooseFilesButton"))->isEnabled();
    });
    qputenv("VKR_OURAIRPORTS_URL", "http://127.0.0.1:9/");
    QVERIFY(seen.shown);
    const AirfieldData data(ProgramFolders::dataFolder());
    const bool downloaded = report.isEmpty() || report.startsWith(QLatin1String("Airfield data"));
    if (!report.isEmpty())
        QCOMPARE(seen.report, QString(report).replace(QLatin1String("%2"), QLatin1String("%1")).arg(address));
    else
        QCOMPARE(seen.preview.value(0), QStringLiteral("0|EDDF TWR|119.900|Frankfurt|0.0 km (0.0 NM)|000\u00B0"));
    QCOMPARE(seen.data, downloaded ? "Airfield data of " + QDate::currentDate().toString(Qt::ISODate)
                        : kept     ? QStringLiteral("Airfield data of 2026-01-02")
                                   : QStringLiteral("No airfield data yet: it is downloaded when you show channels"));
    QCOMPARE(contentOf(data.airportsPath()), downloaded ? airports : kept ? oldAirports : "(does not open)");
    QCOMPARE(contentOf(data.frequenciesPath()), downloaded ? frequencies : kept ? oldFrequencies : "(does not open)");
    QVERIFY(canChoose);
}

// Files chosen instead of the data kept: the first file dialog starts in
// the window's folder, the second where the first file is; the files stay
// in use, and the dialog's size, the next time.
void FileCommandsTest::airfieldsFromChosenFiles()
{
    QVERIFY(writeContent(folder->filePath("airport-frequencies.csv"), frequencies));
    QVERIFY(writeContent(folder->filePath("airports.csv"), airports));
    QVERIFY(QDir().mkdir(folder->filePath("start")));
    {
        QSettings settings{QLatin1String(SettingsKeys::organisation), QLatin1String(SettingsKeys::application)};
        settings.setValue(QLatin1String(SettingsKeys::currentDirectory), folder->filePath("start"));
    }
    QVERIFY(AirfieldsDriver::keepData(QDate()));
    auto window = newWindow();
    QVERIFY(window);
    Seen first;
    Seen second;
    // Each answers its own dialog, told apart by the file it asks for.
    const auto answer = [this](const char *file, Seen *seen) {
        const QString title = QStringLiteral("(%1)").arg(QLatin1String(file));
        return std::make_unique<ModalAnswerer<QFileDialog>>(
            [this, file, seen](QFileDialog *dialog) {
                record(dialog, *seen);
                chooseFile(dialog, folder->filePath(QLatin1String(file)));
            },
            15000, [title](QFileDialog *dialog) { return dialog->windowTitle().contains(title); });
    };
    AirfieldsDriver::Seen seen;
    QSize resized;
    AirfieldsDriver::openByKeys(*window, seen, [&](AirfieldsDialog *dialog) {
        resized = dialog->size() + QSize(37, 23);
        dialog->resize(resized);
        const auto frequenciesFile = answer("airport-frequencies.csv", &first);
        const auto airportsFile = answer("airports.csv", &second);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("chooseFilesButton")), Qt::LeftButton);
        dialog->activateWindow(); // clicked into "Near"
        dialog->findChild<QLineEdit *>(QStringLiteral("positionEdit"))->setFocus();
        AirfieldsDriver::typePlace(dialog, QStringLiteral("EDFE"), seen);
    });
    QVERIFY(first.shown && second.shown);
    QCOMPARE(first.directory, folder->filePath("start"));
    QCOMPARE(second.directory, folder->path());
    QCOMPARE(seen.data, QStringLiteral("Your files airport-frequencies.csv and airports.csv"));
    QCOMPARE(seen.preview.value(0), QStringLiteral("0|EDFE TWR|118.275|Egelsbach|0.0 km (0.0 NM)|000\u00B0"));
    AirfieldsDriver::Seen again;
    AirfieldsDriver::openByKeys(*window, again, [](AirfieldsDialog *) {});
    QCOMPARE(again.data, seen.data);
    QCOMPARE(again.size, resized);
}

VKR_TEST_MAIN(FileCommandsTest)
#include "tst_file_commands.moc"
