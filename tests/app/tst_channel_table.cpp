// The channel table of the main window: its build, the radio's channel
// count, editing through the cell editors, colours and reasons, and the
// Edit menu's row operations with undo and redo.
#include "AFNameValidator.h"
#include "ExpectedStyles.h"
#include "FreqValidator.h"
#include "MainWindow.h"
#include "ModalAnswerer.h"
#include "TestMain.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>
#include <QTableWidget>
#include <QtTest>

// Reaches what only discovery calls, so the table can be tested on its own.
class MainWindowTestAccess
{
public:
    static void setRadio(MainWindow &window, int channelCount, int firstChannelNumber)
    {
        window.setRadioChannelCount(channelCount, firstChannelNumber);
    }
};

namespace {

QTableWidget *tableOf(MainWindow &window)
{
    return window.findChild<QTableWidget *>("frequencyTable");
}

QTableWidgetItem *cell(MainWindow &window, int row, int column)
{
    return tableOf(window)->item(row, column);
}

QAction *action(MainWindow &window, const QString &name)
{
    return window.findChild<QAction *>(name);
}

// The first `count` rows as "name|frequency".
QStringList rowsOf(MainWindow &window, int count = 100)
{
    QStringList rows;
    for (int row = 0; row < count; ++row)
        rows << cell(window, row, 1)->text() + "|" + cell(window, row, 2)->text();
    return rows;
}

QStringList padded(QStringList rows, int count)
{
    while (rows.size() < count)
        rows << "|";
    return rows;
}

// The user clicks a cell and presses Ctrl+V with the text on the clipboard.
void paste(MainWindow &window, int row, int column, const QString &text)
{
    QTableWidget *table = tableOf(window);
    table->setFocus();
    table->setCurrentCell(row, column, QItemSelectionModel::ClearAndSelect);
    QApplication::clipboard()->setText(text);
    QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
}

// Rows given as "name|frequency", pasted from the first row on.
void putRows(MainWindow &window, const QStringList &rows)
{
    paste(window, 0, 1, QStringList(rows).replaceInStrings("|", "\t").join("\n"));
}

// F2 on a cell opens its editor, its text selected.
QLineEdit *startEditing(MainWindow &window, int row, int column)
{
    QTableWidget *table = tableOf(window);
    table->setFocus();
    table->setCurrentCell(row, column, QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(table, Qt::Key_F2);
    return qobject_cast<QLineEdit *>(QApplication::focusWidget());
}

QColor textColour(const QLineEdit *editor)
{
    return editor->palette().color(QPalette::Text);
}

// Clicks on the numbers of the rows, Ctrl held from the second on.
void selectRows(MainWindow &window, const QList<int> &rows)
{
    QTableWidget *table = tableOf(window);
    for (int k = 0; k < rows.size(); ++k) {
        table->scrollToItem(cell(window, rows[k], 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, k == 0 ? Qt::NoModifier : Qt::ControlModifier,
                          table->visualItemRect(cell(window, rows[k], 0)).center());
    }
}

} // namespace

class ChannelTableTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void builtWithHundredEmptyRows();
    void editorsFollowTheRules();
    void radioChannelCount();
    void colourFollowsValidity_data();
    void colourFollowsValidity();
    void coloursFollowTheScheme();
    void leavingACellCompletesTheFrequency_data();
    void leavingACellCompletesTheFrequency();
    void editsAreUndoneOneByOne();
    void userTypingColoursTheEditor();
    void namesAreShownAsGiven_data();
    void namesAreShownAsGiven();
    void droppedTextIsColoured();
    void colourSlotIgnoresOtherWidgets();
    void rowOperations_data();
    void rowOperations();
    void keyboard();

private:
    MainWindow *window = nullptr;
};

void ChannelTableTest::init()
{
    window = new MainWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

void ChannelTableTest::cleanup()
{
    delete window;
    window = nullptr;
}

void ChannelTableTest::builtWithHundredEmptyRows()
{
    QTableWidget *table = tableOf(*window);
    QCOMPARE(table->rowCount(), 100);
    QCOMPARE(table->columnCount(), 3);
    for (int row = 0; row < 100; ++row) {
        QCOMPARE(cell(*window, row, 0)->text(), QString::number(row));
        QCOMPARE(cell(*window, row, 0)->flags(), Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        for (int column : {1, 2}) {
            QVERIFY(cell(*window, row, column)->text().isEmpty());
            QCOMPARE(colourOf(cell(*window, row, column)), ExpectedColour::none);
        }
    }
    QVERIFY(!window->findChild<QLabel *>("radioEndCaption")->isVisible());
    QVERIFY(!action(*window, "actionUndo")->isEnabled());
}

// Every row's editors carry the shared validators and the 8-character name
// limit, and typing follows them.
void ChannelTableTest::editorsFollowTheRules()
{
    const QValidator *nameValidator = nullptr;
    const QValidator *frequencyValidator = nullptr;
    for (int row : {0, 57, 99}) {
        QLineEdit *name = startEditing(*window, row, 1);
        QVERIFY(name);
        QVERIFY(qobject_cast<const AFNameValidator *>(name->validator()));
        QVERIFY(!nameValidator || name->validator() == nameValidator);
        nameValidator = name->validator();
        QCOMPARE(name->maxLength(), 8);
        QVERIFY(!name->hasFrame());
        QTest::keyClicks(name, "tower-abcdef");
        QCOMPARE(name->text(), QString("TOWERABC"));
        QTest::keyClick(name, Qt::Key_Return);

        QLineEdit *frequency = startEditing(*window, row, 2);
        QVERIFY(qobject_cast<const FreqValidator *>(frequency->validator()));
        QVERIFY(!frequencyValidator || frequency->validator() == frequencyValidator);
        frequencyValidator = frequency->validator();
        QTest::keyClicks(frequency, "2");
        QCOMPARE(frequency->text(), QString());
        QTest::keyClicks(frequency, "121.500");
        QTest::keyClick(frequency, Qt::Key_Return);
        QCOMPARE(cell(*window, row, 1)->text(), QString("TOWERABC"));
        QCOMPARE(cell(*window, row, 2)->text(), QString("121.500"));
        QCOMPARE(colourOf(cell(*window, row, 2)), ExpectedColour::green);
        QCOMPARE(colourOf(cell(*window, row, 1)), ExpectedColour::none);
    }
}

// A 20-channel radio: all 100 records stay, those beyond its channels
// greyed below the caption; a 100-channel radio shows them all again.
void ChannelTableTest::radioChannelCount()
{
    putRows(*window, {"CH0|121.500"});
    paste(*window, 19, 1, "CH19\t121.500\nCH20\t136.985");
    paste(*window, 99, 1, "CH99\t122.000");
    const QStringList before = rowsOf(*window);
    QTableWidget *table = tableOf(*window);
    const int rowHeight = table->rowHeight(0);
    auto *caption = window->findChild<QLabel *>("radioEndCaption");

    MainWindowTestAccess::setRadio(*window, 20, 1);
    QCOMPARE(table->rowCount(), 100);
    QCOMPARE(rowsOf(*window), before);
    for (int row = 0; row < 100; ++row)
        QCOMPARE(cell(*window, row, 0)->text(), QString::number(row + 1));
    const QColor grey = table->palette().color(QPalette::Disabled, QPalette::Text);
    QCOMPARE(colourOf(cell(*window, 19, 2)), ExpectedColour::green);
    for (int column : {0, 1, 2}) {
        QCOMPARE(colourOf(cell(*window, 20, column)), grey);
        QVERIFY(cell(*window, 20, column)->toolTip().startsWith("not on this radio"));
    }
    QCOMPARE(cell(*window, 20, 2)->toolTip(), QString("not on this radio; above 136.980"));
    table->scrollToItem(cell(*window, 20, 0));
    QTRY_VERIFY(caption->isVisible());
    QCOMPARE(caption->text(), QString("not on this radio"));
    QVERIFY(table->rowHeight(20) > rowHeight);
    QCOMPARE(caption->y(), table->rowViewportPosition(20));

    MainWindowTestAccess::setRadio(*window, 100, 0);
    QCOMPARE(rowsOf(*window), before);
    QCOMPARE(cell(*window, 99, 0)->text(), QString("99"));
    QCOMPARE(colourOf(cell(*window, 20, 2)), ExpectedColour::red);
    QCOMPARE(table->rowHeight(20), rowHeight);
    QVERIFY(!caption->isVisible());
}

// Each cell pasted (as from a file or the radio, unchecked) is coloured by
// validity and says why in its tooltip, and in the status bar while it is
// the current cell.
void ChannelTableTest::colourFollowsValidity_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("reason");
    const QColor green = ExpectedColour::green;
    const QColor red = ExpectedColour::red;
    QTest::newRow("valid") << 2 << "118.000" << green << "";
    QTest::newRow("highest") << 2 << "136.980" << green << "";
    QTest::newRow("above 136.980") << 2 << "136.985" << red << "above 136.980";
    QTest::newRow("out of band") << 2 << "200.000" << red << "above 136.980";
    QTest::newRow("below the band") << 2 << "117.995" << red << "below 118.000";
    QTest::newRow("off the raster") << 2 << "118.020" << red << "not on the 8.33/25 kHz raster";
    QTest::newRow("partly typed") << 2 << "12" << red << "incomplete: a channel has three decimals, like 121.500";
    QTest::newRow("two decimals, no channel") << 2 << "121.62" << red << "not on the 8.33/25 kHz raster";
    QTest::newRow("no decimals") << 2 << "121." << red << "incomplete: a channel has three decimals, like 121.500";
    QTest::newRow("comma") << 2 << "121,500" << red
                           << "not a frequency: three digits, a point and three decimals, like 121.500";
    QTest::newRow("valid name") << 1 << "TOWER 1" << ExpectedColour::none << "";
    QTest::newRow("lower case") << 1 << "Tower" << red << "lower case: the radio shows upper case only";
    QTest::newRow("minus") << 1 << "A-B" << red << "\"-\" is not a name character: letters, digits and spaces only";
    QTest::newRow("too many bytes") << 1 << QString::fromUtf8("ÄÖÜÄÖÜÄÖ") << red
                                    << QString::fromUtf8("longer than the radio's 8 bytes: letters such as Ä take two");
}

void ChannelTableTest::colourFollowsValidity()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    QFETCH(QString, reason);
    paste(*window, 42, column, text);
    QCOMPARE(cell(*window, 42, column)->text(), text);
    QCOMPARE(colourOf(cell(*window, 42, column)), colour);
    QCOMPARE(cell(*window, 42, column)->toolTip(), reason);
    QCOMPARE(window->statusBar()->currentMessage(), reason);
    // No other cell was touched.
    QCOMPARE(colourOf(cell(*window, 41, column)), ExpectedColour::none);
    QCOMPARE(colourOf(cell(*window, 43, column)), ExpectedColour::none);
    // The status bar forgets the reason when another cell is current.
    tableOf(*window)->setCurrentCell(43, column);
    QCOMPARE(window->statusBar()->currentMessage(), QString());
}

// Under a dark scheme green and red come in lighter shades. (The scheme is
// given to the window: Qt 6 hands a new application palette on only once
// the event loop runs, which a test does not.)
void ChannelTableTest::coloursFollowTheScheme()
{
    putRows(*window, {"A|121.500", "B|136.985"});
    const QPalette light = window->palette();
    QPalette dark = light;
    dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::WindowText, Qt::white);
    window->setPalette(dark);
    const QColor green = colourOf(cell(*window, 0, 2));
    const QColor red = colourOf(cell(*window, 1, 2));
    QLineEdit *editor = startEditing(*window, 2, 2);
    QTest::keyClicks(editor, "118.000");
    const QColor typed = textColour(editor);
    window->setPalette(light);
    QCOMPARE(green, ExpectedColour::greenOnDark);
    QCOMPARE(red, ExpectedColour::redOnDark);
    QCOMPARE(typed, ExpectedColour::greenOnDark);
    QCOMPARE(colourOf(cell(*window, 0, 2)), ExpectedColour::green);
}

// Leaving a frequency cell, however it is left, adds the zeros that make a
// channel; nothing else is changed.
void ChannelTableTest::leavingACellCompletesTheFrequency_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key"); // 0: a click on another cell
    QTest::addColumn<QString>("kept");
    QTest::newRow("two decimals, Enter") << "121.65" << int(Qt::Key_Return) << "121.650";
    QTest::newRow("one decimal, Tab") << "121.5" << int(Qt::Key_Tab) << "121.500";
    QTest::newRow("one decimal, click away") << "118.0" << 0 << "118.000";
    QTest::newRow("no channel with zeros") << "121.62" << int(Qt::Key_Return) << "121.62";
    QTest::newRow("no decimals") << "121" << int(Qt::Key_Return) << "121";
    QTest::newRow("complete") << "122.805" << int(Qt::Key_Return) << "122.805";
}

void ChannelTableTest::leavingACellCompletesTheFrequency()
{
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QString, kept);
    QLineEdit *editor = startEditing(*window, 5, 2);
    QTest::keyClicks(editor, typed);
    if (key) {
        QTest::keyClick(editor, Qt::Key(key));
    } else {
        QTableWidget *table = tableOf(*window);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier,
                          table->visualItemRect(cell(*window, 9, 1)).center());
    }
    QTRY_COMPARE(cell(*window, 5, 2)->text(), kept);
}

// One step per committed edit; Escape commits nothing.
void ChannelTableTest::editsAreUndoneOneByOne()
{
    for (const char *text : {"ONE", "TWO"}) {
        QLineEdit *editor = startEditing(*window, 3, 1);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }
    QLineEdit *editor = startEditing(*window, 3, 1);
    QTest::keyClicks(editor, "THREE");
    QTest::keyClick(editor, Qt::Key_Escape);
    QCOMPARE(cell(*window, 3, 1)->text(), QString("TWO"));
    QCOMPARE(action(*window, "actionUndo")->text(), QString("&Undo Edit"));
    QTest::keyClick(tableOf(*window), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(cell(*window, 3, 1)->text(), QString("ONE"));
    QTest::keyClick(tableOf(*window), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(cell(*window, 3, 1)->text(), QString());
    QVERIFY(!action(*window, "actionUndo")->isEnabled());
    QTest::keyClick(tableOf(*window), Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(tableOf(*window), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(cell(*window, 3, 1)->text(), QString("TWO"));
    // Unchanged text makes no step.
    editor = startEditing(*window, 3, 1);
    QTest::keyClicks(editor, "TWO");
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClick(tableOf(*window), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(cell(*window, 3, 1)->text(), QString("ONE"));
}

void ChannelTableTest::userTypingColoursTheEditor()
{
    QLineEdit *editor = startEditing(*window, 5, 2);
    const QColor plain = textColour(editor);
    QTest::keyClicks(editor, "1");
    QCOMPARE(textColour(editor), ExpectedColour::red);
    QTest::keyClicks(editor, "36.980");
    QCOMPARE(textColour(editor), ExpectedColour::green);
    QTest::keyClick(editor, Qt::Key_Backspace);
    QCOMPARE(textColour(editor), ExpectedColour::red);
    editor->clear();
    QCOMPARE(textColour(editor), plain);
    QLineEdit *name = startEditing(*window, 7, 1);
    QTest::keyClicks(name, "atis");
    QCOMPARE(name->text(), QString("ATIS"));
    QCOMPARE(textColour(name), plain);
}

// A name put in by a paste, a read or a file load is shown as it came (cut
// to 8 characters); the validator judges only what the user types.
void ChannelTableTest::namesAreShownAsGiven_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("mixed case") << "Tower" << "Tower";
    QTest::newRow("lower case last") << "ABCd" << "ABCd";
    QTest::newRow("minus last") << "A-" << "A-";
    QTest::newRow("sharp s") << QString("STRA") + QChar(0x00DF) + "E" << QString("STRA") + QChar(0x00DF) + "E";
    // Kept whole (and red) rather than cut without a word.
    QTest::newRow("twelve characters") << "ABCDEFGHIJKL" << "ABCDEFGHIJKL";
}

void ChannelTableTest::namesAreShownAsGiven()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);
    paste(*window, 6, 1, name);
    QCOMPARE(cell(*window, 6, 1)->text(), shown);
    QLineEdit *editor = startEditing(*window, 6, 1);
    QCOMPARE(editor->text(), shown);
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClicks(editor, "x-");
    QTest::keyClick(editor, Qt::Key_Return);
    // Typing stops at 8 characters, and never lengthens a longer name.
    QCOMPARE(cell(*window, 6, 1)->text(), shown.size() >= 8 ? shown : (shown + "X").left(8));
}

// Text dropped onto an open frequency editor colours it.
void ChannelTableTest::droppedTextIsColoured()
{
    QLineEdit *target = startEditing(*window, 5, 2);
    QMimeData data;
    data.setText("121.500");
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QCOMPARE(target->text(), QString("121.500"));
    QCOMPARE(textColour(target), ExpectedColour::green);
}

// Whatever calls it, the colour slot colours only a frequency editor of the
// table.
void ChannelTableTest::colourSlotIgnoresOtherWidgets()
{
    QLineEdit *name = startEditing(*window, 4, 1);
    const QPalette namePalette = name->palette();
    QVERIFY(QMetaObject::invokeMethod(window, "setFreqValidColor"));
    QCOMPARE(name->palette(), namePalette);

    // A line editor outside the table with a frequency validator of its own.
    QLineEdit outside(window);
    outside.setValidator(startEditing(*window, 0, 2)->validator());
    const QPalette outsidePalette = outside.palette();
    QObject::connect(&outside, SIGNAL(textChanged(QString)), window, SLOT(setFreqValidColor()));
    outside.setText("12");
    QCOMPARE(outside.palette(), outsidePalette);
}

void ChannelTableTest::rowOperations_data()
{
    QTest::addColumn<QString>("operation");  // an action of the Edit menu
    QTest::addColumn<QStringList>("rows");   // the table before, from row 0
    QTest::addColumn<QList<int>>("selected"); // rows, selected by their numbers
    QTest::addColumn<int>("column");         // 1 or 2: only the first row's cell of it is selected
    QTest::addColumn<QString>("clipboard");  // on the clipboard before
    QTest::addColumn<QStringList>("after");  // the table after, from row 0
    QTest::addColumn<QString>("copied");     // on the clipboard after
    QTest::addColumn<QString>("refusal");    // the start of the message refusing it

    const QStringList abc{"A|118.000", "B|119.000", "C|120.000"};
    QStringList lastUsed = padded({}, 99);
    lastUsed << "LAST|136.975";
    QTest::newRow("insert above") << "actionInsert_row_above" << abc << QList<int>{1} << 0 << ""
                                  << QStringList{"A|118.000", "|", "B|119.000", "C|120.000"} << "" << "";
    QTest::newRow("insert two above") << "actionInsert_row_above" << abc << QList<int>{0, 1} << 0 << ""
                                      << QStringList{"|", "|", "A|118.000", "B|119.000", "C|120.000"} << "" << "";
    QTest::newRow("insert refused: last row in use")
        << "actionInsert_row_above" << lastUsed << QList<int>{5} << 0 << "" << lastUsed << ""
        << "The table holds 100 records at most";
    QTest::newRow("delete") << "actionDelete_rows" << abc << QList<int>{0, 2} << 0 << ""
                            << QStringList{"B|119.000", "|", "|"} << "" << "";
    QTest::newRow("move up") << "actionMove_up" << abc << QList<int>{2} << 0 << ""
                             << QStringList{"A|118.000", "C|120.000", "B|119.000"} << "" << "";
    QTest::newRow("move up at the top") << "actionMove_up" << abc << QList<int>{0, 2} << 0 << ""
                                        << QStringList{"A|118.000", "C|120.000", "B|119.000"} << "" << "";
    QTest::newRow("move down") << "actionMove_down" << abc << QList<int>{0, 1} << 0 << ""
                               << QStringList{"C|120.000", "A|118.000", "B|119.000"} << "" << "";
    QTest::newRow("clear rows") << "actionClear" << abc << QList<int>{1} << 0 << ""
                                << QStringList{"A|118.000", "|", "C|120.000"} << "" << "";
    QTest::newRow("clear a cell") << "actionClear" << abc << QList<int>{1} << 2 << ""
                                  << QStringList{"A|118.000", "B|", "C|120.000"} << "" << "";
    const QStringList unsorted{"ZULU|121.500", "|", "ALFA|118.000", "|119.000", "MIKE|x"};
    QTest::newRow("sort by name") << "actionSort_by_name" << unsorted << QList<int>{} << 0 << ""
                                  << QStringList{"ALFA|118.000", "MIKE|x", "ZULU|121.500", "|119.000", "|"} << "" << "";
    QTest::newRow("sort by frequency") << "actionSort_by_frequency" << unsorted << QList<int>{} << 0 << ""
                                       << QStringList{"ALFA|118.000", "|119.000", "ZULU|121.500", "MIKE|x", "|"}
                                       << "" << "";
    QTest::newRow("copy rows") << "actionCopy" << abc << QList<int>{0, 2} << 0 << "" << abc
                               << "A\t118.000\nC\t120.000\n" << "";
    QTest::newRow("copy a cell") << "actionCopy" << abc << QList<int>{1} << 2 << "" << abc << "119.000" << "";
    QTest::newRow("cut") << "actionCut" << abc << QList<int>{1} << 0 << ""
                         << QStringList{"A|118.000", "|", "C|120.000"} << "B\t119.000\n" << "";
    QTest::newRow("paste from a spreadsheet") << "actionPaste" << abc << QList<int>{1} << 0
                                              << "X\t121.65\r\n\"Y\tZ\"\t121.5\r\n"
                                              << QStringList{"A|118.000", "X|121.650", "Y\\x09Z|121.500"} << "" << "";
    QTest::newRow("paste channel file lines") << "actionPaste" << abc << QList<int>{2} << 0
                                              << "\"X\";121.500\r\n\r\nY\r\n"
                                              << QStringList{"A|118.000", "B|119.000", "X|121.500", "Y|"} << "" << "";
    QTest::newRow("paste a column of frequencies") << "actionPaste" << abc << QList<int>{0} << 2
                                                   << "122.5\n122\n"
                                                   << QStringList{"A|122.500", "B|122", "C|120.000"} << "" << "";
    QTest::newRow("paste past the end") << "actionPaste" << abc << QList<int>{99} << 0 << "X\t121.500\nY\t121.500"
                                        << abc << "" << "The clipboard holds 2 rows; from this row on the table has room for 1.";
}

// Each operation through its action, then undone and done again.
void ChannelTableTest::rowOperations()
{
    QFETCH(QString, operation);
    QFETCH(QStringList, rows);
    QFETCH(QList<int>, selected);
    QFETCH(int, column);
    QFETCH(QString, clipboard);
    QFETCH(QStringList, after);
    QFETCH(QString, copied);
    QFETCH(QString, refusal);
    putRows(*window, rows);
    const QStringList before = rowsOf(*window);
    if (column) {
        tableOf(*window)->setCurrentCell(selected.first(), column, QItemSelectionModel::ClearAndSelect);
    } else {
        selectRows(*window, selected);
    }
    QApplication::clipboard()->setText(clipboard);

    QString shown;
    ModalAnswerer<QMessageBox> answer([&shown](QMessageBox *box) {
        shown = box->text();
        box->accept();
    }, refusal.isEmpty() ? 0 : 15000);
    action(*window, operation)->trigger();
    QVERIFY(refusal.isEmpty() || shown.startsWith(refusal));
    QCOMPARE(answer.answered(), !refusal.isEmpty());
    QCOMPARE(rowsOf(*window), padded(after, 100));
    if (!copied.isEmpty())
        QCOMPARE(QApplication::clipboard()->text(), copied);
    if (before == rowsOf(*window)) {
        QCOMPARE(action(*window, "actionUndo")->text(), QString("&Undo Paste"));
        return;
    }
    action(*window, "actionUndo")->trigger();
    QCOMPARE(rowsOf(*window), before);
    action(*window, "actionRedo")->trigger();
    QCOMPARE(rowsOf(*window), padded(after, 100));
}

// Enter goes down a row, editing or not; Tab leaves the table for the next
// widget; Delete clears whole selected rows; the context menu is the Edit
// menu.
void ChannelTableTest::keyboard()
{
    QTableWidget *table = tableOf(*window);
    table->setFocus();
    table->setCurrentCell(3, 2);
    QTest::keyClick(table, Qt::Key_Return);
    QCOMPARE(table->currentRow(), 4);
    QTest::keyClicks(table, "1"); // typing on a cell edits it
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    QTest::keyClicks(editor, "18.000");
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(cell(*window, 4, 2)->text(), QString("118.000"));
    QCOMPARE(table->currentRow(), 5);
    QCOMPARE(table->currentColumn(), 2);
    QTRY_COMPARE(QApplication::focusWidget(), table);
    // A command given while a cell is edited takes the cell's text first.
    editor = startEditing(*window, 5, 1);
    QTest::keyClicks(editor, "ATIS");
    QTest::keyClick(editor, Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(rowsOf(*window, 6).mid(4), QStringList({"ATIS|", "|118.000"}));
    QTest::keyClick(table, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(table, Qt::Key_Z, Qt::ControlModifier);

    selectRows(*window, {4});
    QTest::keyClick(table, Qt::Key_Delete);
    QCOMPARE(cell(*window, 4, 2)->text(), QString());
    QTest::keyClick(table, Qt::Key_Z, Qt::ControlModifier);

    QTest::keyClick(table, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), window->findChild<QComboBox *>("comPortComboBox"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete); // not the table's
    QCOMPARE(cell(*window, 4, 2)->text(), QString("118.000"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), table);

    auto *menu = window->findChild<QMenu *>("menuEdit");
    QMetaObject::invokeMethod(table, "customContextMenuRequested", Q_ARG(QPoint, QPoint(5, 5)));
    QTRY_VERIFY(menu->isVisible());
    menu->close();
}

VKR_TEST_MAIN(ChannelTableTest)
#include "tst_channel_table.moc"
