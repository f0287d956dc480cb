// The channel table of the main window: its build, renumbering, resizing,
// clearing, and the colouring of frequency cells.
#include "AFNameValidator.h"
#include "ExpectedStyles.h"
#include "FreqValidator.h"
#include "MainWindow.h"
#include "TestMain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

// Reaches the table operations that only discovery, reads and file loads
// call, so the table can be tested on its own.
class MainWindowTestAccess
{
public:
    static void setModelGeometry(MainWindow &window, int channelCount, int firstChannelNumber)
    {
        window.channelCount = channelCount;
        window.firstChannelNumber = firstChannelNumber;
        window.setFrequencyTableRowCount(channelCount);
        window.renumberFrequencyTable();
    }
    static void setText(QLineEdit *editor, const QString &text) { MainWindow::setEditorText(editor, text); }
    static void clear(MainWindow &window) { window.clearFrequencyTable(); }
};

namespace {

const QString black = ExpectedStyle::black;
const QString green = ExpectedStyle::green;
const QString red = ExpectedStyle::red;

QTableWidget *tableOf(MainWindow &window)
{
    return window.findChild<QTableWidget *>("frequencyTable");
}

QLineEdit *editorAt(MainWindow &window, int row, int column)
{
    return qobject_cast<QLineEdit *>(tableOf(window)->cellWidget(row, column));
}

QLineEdit *nameAt(MainWindow &window, int row) { return editorAt(window, row, 1); }
QLineEdit *frequencyAt(MainWindow &window, int row) { return editorAt(window, row, 2); }

QStringList numbers(MainWindow &window)
{
    QStringList result;
    QTableWidget *table = tableOf(window);
    for (int row = 0; row < table->rowCount(); ++row)
        result << table->item(row, 0)->text();
    return result;
}

QStringList expectedNumbers(int count, int first)
{
    QStringList result;
    for (int k = 0; k < count; ++k)
        result << QString::number(first + k);
    return result;
}

// A user clicks into an editor and types.
void typeInto(QLineEdit *editor, const QString &keys)
{
    QTest::mouseClick(editor, Qt::LeftButton);
    QTRY_VERIFY(editor->hasFocus());
    QTest::keyClicks(editor, keys);
}

} // namespace

class ChannelTableTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void builtWithHundredEmptyRows();
    void everyRowIsFullyBuilt();
    void resizeToTwentyAndBack();
    void colourFollowsValidity_data();
    void colourFollowsValidity();
    void settingTheSameTextChangesNothing();
    void userTypingColoursTheEditor();
    void clearingTurnsFilledFrequenciesRed();
    void namesRedOnlyWhenRefused();
    void longNameKeptWhole();
    void namesAreShownAsGiven_data();
    void namesAreShownAsGiven();
    void droppedTextIsColoured();
    void colourSlotIgnoresOtherWidgets();

private:
    void verifyRowWorks(int row);
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
    QCOMPARE(numbers(*window), expectedNumbers(100, 0));
    QCOMPARE(table->columnWidth(0), 40);
    QCOMPARE(table->columnWidth(1), 160);
    QCOMPARE(table->columnWidth(2), 100);
    for (int row = 0; row < 100; ++row) {
        QCOMPARE(table->item(row, 0)->flags(), Qt::NoItemFlags);
        for (int column : {1, 2}) {
            QLineEdit *editor = editorAt(*window, row, column);
            QVERIFY(editor);
            QVERIFY(editor->text().isEmpty());
            QVERIFY(!editor->hasFrame());
            QCOMPARE(editor->styleSheet(), black);
        }
    }
}

void ChannelTableTest::everyRowIsFullyBuilt()
{
    // One shared validator of each kind serves every row.
    const QValidator *nameValidator = nameAt(*window, 0)->validator();
    const QValidator *freqValidator = frequencyAt(*window, 0)->validator();
    QVERIFY(qobject_cast<const AFNameValidator *>(nameValidator));
    QVERIFY(qobject_cast<const FreqValidator *>(freqValidator));
    for (int row = 0; row < 100; ++row) {
        QCOMPARE(nameAt(*window, row)->validator(), nameValidator);
        QCOMPARE(frequencyAt(*window, row)->validator(), freqValidator);
        QCOMPARE(nameAt(*window, row)->maxLength(), 8);
    }
    verifyRowWorks(0);
    verifyRowWorks(99);
}

// Typing into a row's editors obeys the validators and colours the cell.
void ChannelTableTest::verifyRowWorks(int row)
{
    QLineEdit *name = nameAt(*window, row);
    QLineEdit *frequency = frequencyAt(*window, row);
    tableOf(*window)->scrollToItem(tableOf(*window)->item(row, 0));
    typeInto(name, "tower-abcdef");
    QCOMPARE(name->text(), QString("TOWERABC"));
    typeInto(frequency, "2");
    QCOMPARE(frequency->text(), QString());
    typeInto(frequency, "121.5");
    QCOMPARE(frequency->styleSheet(), red);
    QTest::keyClicks(frequency, "00");
    QCOMPARE(frequency->text(), QString("121.500"));
    QCOMPARE(frequency->styleSheet(), green);
    QCOMPARE(name->styleSheet(), black);
}

void ChannelTableTest::resizeToTwentyAndBack()
{
    for (int row : {0, 19, 20, 99}) {
        MainWindowTestAccess::setText(nameAt(*window, row), QString("CH%1").arg(row));
        MainWindowTestAccess::setText(frequencyAt(*window, row), "121.500");
    }

    MainWindowTestAccess::setModelGeometry(*window, 20, 1);
    QCOMPARE(tableOf(*window)->rowCount(), 20);
    QCOMPARE(numbers(*window), expectedNumbers(20, 1));
    QCOMPARE(nameAt(*window, 0)->text(), QString("CH0"));
    QCOMPARE(nameAt(*window, 19)->text(), QString("CH19"));
    QCOMPARE(frequencyAt(*window, 19)->styleSheet(), green);

    MainWindowTestAccess::setModelGeometry(*window, 100, 0);
    QCOMPARE(tableOf(*window)->rowCount(), 100);
    QCOMPARE(numbers(*window), expectedNumbers(100, 0));
    QCOMPARE(nameAt(*window, 19)->text(), QString("CH19"));
    QCOMPARE(frequencyAt(*window, 19)->text(), QString("121.500"));
    for (int row = 20; row < 100; ++row) {
        QVERIFY(nameAt(*window, row)->text().isEmpty());
        QVERIFY(frequencyAt(*window, row)->text().isEmpty());
        QCOMPARE(frequencyAt(*window, row)->styleSheet(), black);
    }
    verifyRowWorks(20);
    verifyRowWorks(99);
    MainWindowTestAccess::setText(frequencyAt(*window, 57), "136.985");
    QCOMPARE(frequencyAt(*window, 57)->styleSheet(), red);
}

void ChannelTableTest::colourFollowsValidity_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expectedStyle");
    QTest::newRow("valid") << "118.000" << green;
    QTest::newRow("highest") << "136.980" << green;
    QTest::newRow("above 136.980") << "136.985" << red;
    QTest::newRow("out of band") << "200.000" << red;
    QTest::newRow("partly typed") << "12" << red;
}

void ChannelTableTest::colourFollowsValidity()
{
    QFETCH(QString, text);
    QFETCH(QString, expectedStyle);
    QLineEdit *editor = frequencyAt(*window, 42);
    MainWindowTestAccess::setText(editor, text);
    QCOMPARE(editor->text(), text);
    QCOMPARE(editor->styleSheet(), expectedStyle);
    // No other editor was touched.
    QCOMPARE(frequencyAt(*window, 41)->styleSheet(), black);
    QCOMPARE(frequencyAt(*window, 43)->styleSheet(), black);
}

void ChannelTableTest::settingTheSameTextChangesNothing()
{
    QLineEdit *editor = frequencyAt(*window, 3);
    MainWindowTestAccess::setText(editor, "136.985");
    QCOMPARE(editor->styleSheet(), red);
    QSignalSpy changes(editor, &QLineEdit::textChanged);
    MainWindowTestAccess::setText(editor, "136.985");
    QCOMPARE(changes.count(), 0);
    QCOMPARE(editor->styleSheet(), red);
}

void ChannelTableTest::userTypingColoursTheEditor()
{
    QLineEdit *editor = frequencyAt(*window, 5);
    typeInto(editor, "1");
    QCOMPARE(editor->styleSheet(), red);
    QTest::keyClicks(editor, "36.980");
    QCOMPARE(editor->styleSheet(), green);
    QTest::keyClick(editor, Qt::Key_Backspace);
    QCOMPARE(editor->styleSheet(), red);
}

void ChannelTableTest::clearingTurnsFilledFrequenciesRed()
{
    MainWindowTestAccess::setText(frequencyAt(*window, 1), "118.000");
    MainWindowTestAccess::setText(frequencyAt(*window, 2), "136.985");
    MainWindowTestAccess::setText(nameAt(*window, 1), "TOWER");
    MainWindowTestAccess::clear(*window);
    for (int row = 0; row < 100; ++row) {
        QVERIFY(nameAt(*window, row)->text().isEmpty());
        QVERIFY(frequencyAt(*window, row)->text().isEmpty());
    }
    QCOMPARE(frequencyAt(*window, 1)->styleSheet(), red);
    QCOMPARE(frequencyAt(*window, 2)->styleSheet(), red);
    QCOMPARE(frequencyAt(*window, 0)->styleSheet(), black);
    QCOMPARE(frequencyAt(*window, 3)->styleSheet(), black);
    QCOMPARE(nameAt(*window, 1)->styleSheet(), black);
    QCOMPARE(window->focusWidget(), frequencyAt(*window, 99));
}

// A name the radio would store other than shown is red, wherever it came
// from; what can be typed always is a name it stores.
void ChannelTableTest::namesRedOnlyWhenRefused()
{
    QLineEdit *name = nameAt(*window, 7);
    typeInto(name, "atis");
    QCOMPARE(name->text(), QString("ATIS"));
    QCOMPARE(name->styleSheet(), black);
    MainWindowTestAccess::setText(name, "121.500");
    QCOMPARE(name->styleSheet(), red);
    QCOMPARE(frequencyAt(*window, 7)->styleSheet(), black);
}

// A name longer than a radio stores, from a file or a radio, is shown whole
// and red rather than cut without a word; shortened, it is black again and
// typing stops at 8 characters as before.
void ChannelTableTest::longNameKeptWhole()
{
    QLineEdit *name = nameAt(*window, 0);
    MainWindowTestAccess::setText(name, "ABCDEFGHIJKL");
    QCOMPARE(name->text(), QString("ABCDEFGHIJKL"));
    QCOMPARE(name->styleSheet(), red);
    name->setFocus();
    QTest::keyClick(name, Qt::Key_End);
    for (int k = 0; k < 4; ++k)
        QTest::keyClick(name, Qt::Key_Backspace);
    QCOMPARE(name->styleSheet(), black);
    QTest::keyClicks(name, "XY");
    QCOMPARE(name->text(), QString("ABCDEFGH"));
}

// A name put in by a read or a file load is shown as it came; the validator
// judges only what the user types.
void ChannelTableTest::namesAreShownAsGiven_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("mixed case") << "Tower";
    QTest::newRow("lower case last") << "ABCd";
    QTest::newRow("minus last") << "A-";
    QTest::newRow("sharp s") << QString("STRA") + QChar(0x00DF) + "E";
}

void ChannelTableTest::namesAreShownAsGiven()
{
    QFETCH(QString, name);
    QLineEdit *editor = nameAt(*window, 6);
    MainWindowTestAccess::setText(editor, name);
    QCOMPARE(editor->text(), name);
    QCOMPARE(editor->styleSheet(), red); // no radio stores it as shown
    // Typing still goes through the validator.
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClicks(editor, "x-");
    QCOMPARE(editor->text(), name + "X");
}

// Text dropped onto an editor without the focus colours that editor, and
// only that one.
void ChannelTableTest::droppedTextIsColoured()
{
    QLineEdit *focused = frequencyAt(*window, 1);
    MainWindowTestAccess::setText(focused, "12");
    QLineEdit *target = frequencyAt(*window, 5);
    QMimeData data;
    data.setText("121.500");
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QCOMPARE(target->text(), QString("121.500"));
    QCOMPARE(target->styleSheet(), green);
    QCOMPARE(window->focusWidget(), focused);
    QCOMPARE(focused->styleSheet(), red);
}

// Whatever has the focus, only a frequency editor of the table is coloured.
void ChannelTableTest::colourSlotIgnoresOtherWidgets()
{
    QLineEdit *name = nameAt(*window, 4);
    name->setFocus(Qt::OtherFocusReason);
    QVERIFY(QMetaObject::invokeMethod(window, "setFreqValidColor"));
    QCOMPARE(name->styleSheet(), black);

    auto *combo = window->findChild<QComboBox *>("comPortComboBox");
    combo->setFocus(Qt::OtherFocusReason);
    QVERIFY(QMetaObject::invokeMethod(window, "setFreqValidColor"));
    QVERIFY(combo->styleSheet().isEmpty());

    // A line editor outside the table with a frequency validator of its own.
    QLineEdit outside(window);
    outside.setValidator(frequencyAt(*window, 0)->validator());
    outside.setFocus(Qt::OtherFocusReason);
    QVERIFY(QMetaObject::invokeMethod(window, "setFreqValidColor"));
    QVERIFY(outside.styleSheet().isEmpty());
}

VKR_TEST_MAIN(ChannelTableTest)
#include "tst_channel_table.moc"
