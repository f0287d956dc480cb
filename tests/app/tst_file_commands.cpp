// Open, save and save as driven through the window as a user does: menu
// actions and tool buttons, the real file dialogs answered by typing a name
// and pressing their buttons, and the warning box.
#include "AirfieldsDialog.h"
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
    void importAirfields();
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

// Airfields around a position, one channel each, fill the empty rows from
// the first one on; the files are remembered for the next time.
void FileCommandsTest::importAirfields()
{
    const QString frequencies = folder->filePath("airport-frequencies.csv");
    const QString airports = folder->filePath("airports.csv");
    QVERIFY(writeContent(frequencies, "id,airport_ident,type,description,frequency_mhz\n1,EDDF,TWR,TOWER,119.9\n"
                                      "2,EDDF,GND,GROUND,121.65\n3,EDDS,TWR,TOWER,118.8\n4,EDDS,UHF,MIL,243\n"
                                      "5,EGLL,TWR,TOWER,118.5\n"));
    QVERIFY(writeContent(airports, "ident,name,latitude_deg,longitude_deg\nEDDF,Frankfurt,50.0333,8.5706\n"
                                   "EDDS,Stuttgart,48.6899,9.2219\nEGLL,Heathrow,51.4706,-0.4614\n"));
    auto window = newWindow();
    QVERIFY(window);
    setRows(*window, {"A|118.000", "|", "C|120.000"});
    QVERIFY(waitForFirstScan(*window));

    QStringList preview;
    QString summary;
    QString problem;
    bool okEnabled = true;
    ModalAnswerer<AirfieldsDialog> answer([&](AirfieldsDialog *dialog) {
        const auto edit = [dialog](const char *name) { return dialog->findChild<QLineEdit *>(QLatin1String(name)); };
        const auto spinBox = [dialog](const char *name) { return dialog->findChild<QSpinBox *>(QLatin1String(name)); };
        const auto showButton = dialog->findChild<QPushButton *>(QStringLiteral("showButton"));
        const auto okButton = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        QTest::keyClicks(edit("frequenciesFileEdit"), frequencies);
        QTest::mouseClick(dialog->findChild<QRadioButton *>(QStringLiteral("nearRadioButton")), Qt::LeftButton);
        QTest::keyClicks(edit("positionEdit"), QStringLiteral("50.03, 8.57"));
        QTest::mouseClick(showButton, Qt::LeftButton); // no airports file yet
        problem = dialog->findChild<QLabel *>(QStringLiteral("summaryLabel"))->text();
        okEnabled = okButton->isEnabled();
        QTest::keyClicks(edit("airportsFileEdit"), airports);
        for (auto entered : {std::make_pair("radiusSpinBox", "200"), std::make_pair("perAirfieldSpinBox", "1")}) {
            QTest::keyClick(spinBox(entered.first), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(spinBox(entered.first), QLatin1String(entered.second));
        }
        QTest::mouseClick(showButton, Qt::LeftButton);
        const auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("previewTable"));
        for (int row = 0; row < table->rowCount(); ++row)
            preview << table->item(row, 0)->text() + QLatin1Char('|') + table->item(row, 1)->text();
        summary = dialog->findChild<QLabel *>(QStringLiteral("summaryLabel"))->text();
        QTest::mouseClick(okButton, Qt::LeftButton);
    });
    QString reported;
    ModalAnswerer<ImportReportDialog> report([&reported](ImportReportDialog *box) {
        reported = box->findChild<QPlainTextEdit *>(QStringLiteral("messagesText"))->toPlainText();
        box->accept();
    });
    PostedMessages posted(window->statusBar()); // said before the report
    trigger(*window, "actionAirfields");
    QVERIFY(answer.answered());
    QCOMPARE(problem, QStringLiteral("A search around a position needs the airports file."));
    QVERIFY(!okEnabled);
    QCOMPARE(preview, QStringList({"EDDF TWR|119.900", "EDDS TWR|118.800"}));
    QCOMPARE(summary, QStringLiteral("2 channels of 2 airfields; 1 more beyond 1 per airfield left out; "
                                     "1 row skipped, listed once the channels are placed"));
    QVERIFY(report.answered());
    QCOMPARE(reported, frequencies + ", record 5: EDDS (Stuttgart) UHF: \"243\" is not an air-band channel, skipped");
    QCOMPARE(posted.last(), QStringLiteral("Channels imported"));
    QCOMPARE(rowsOf(*window), padded({"A|118.000", "EDDF TWR|119.900", "C|120.000", "EDDS TWR|118.800"}));

    QStringList remembered;
    ModalAnswerer<AirfieldsDialog> again([&remembered](AirfieldsDialog *dialog) {
        for (const char *name : {"frequenciesFileEdit", "airportsFileEdit"})
            remembered << dialog->findChild<QLineEdit *>(QLatin1String(name))->text();
        dialog->reject();
    });
    trigger(*window, "actionAirfields");
    QVERIFY(again.answered());
    QCOMPARE(remembered, QStringList({frequencies, airports}));
}

VKR_TEST_MAIN(FileCommandsTest)
#include "tst_file_commands.moc"
