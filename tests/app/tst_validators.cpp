// The input rules of the name and frequency columns, judged as whole texts
// and as typed key by key into a real line editor.
#include "AFNameValidator.h"
#include "FreqValidator.h"
#include "KeyTyping.h"
#include "TestMain.h"

#include <QClipboard>
#include <QLineEdit>
#include <QtTest>

Q_DECLARE_METATYPE(QValidator::State)

namespace {

// An editor set up like the table's: the name editor keeps 8 characters.
struct Editors
{
    FreqValidator freqValidator;
    AFNameValidator nameValidator;
    QLineEdit frequency;
    QLineEdit name;

    Editors()
    {
        frequency.setValidator(&freqValidator);
        name.setValidator(&nameValidator);
        name.setMaxLength(8);
    }
};

} // namespace

class ValidatorsTest : public QObject
{
    Q_OBJECT

private slots:
    void frequencyWholeText_data();
    void frequencyWholeText();
    void frequencyCursorPosition_data();
    void frequencyCursorPosition();
    void frequencyTyped_data();
    void frequencyTyped();
    void frequencyCompleteTextRefusesOverwrite();
    void frequencyBackspaceLeavesIntermediate();
    void nameWholeText_data();
    void nameWholeText();
    void nameTyped_data();
    void nameTyped();
    void namePasteJudgesOnlyLastCharacter();
};

void ValidatorsTest::frequencyWholeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QValidator::State>("expected");

    const auto acceptable = QValidator::Acceptable;
    const auto intermediate = QValidator::Intermediate;
    const auto invalid = QValidator::Invalid;

    QTest::newRow("lowest channel") << "118.000" << acceptable;
    QTest::newRow("8.33 kHz channel 005") << "118.005" << acceptable;
    QTest::newRow("8.33 kHz channel 025") << "118.025" << acceptable;
    QTest::newRow("ending 90") << "118.990" << acceptable;
    QTest::newRow("guard frequency") << "121.500" << acceptable;
    QTest::newRow("136.975") << "136.975" << acceptable;
    QTest::newRow("highest channel") << "136.980" << acceptable;

    QTest::newRow("below band") << "117.995" << invalid;
    QTest::newRow("above band") << "137.000" << invalid;
    QTest::newRow("above 136.980") << "136.985" << invalid;
    QTest::newRow("136.990") << "136.990" << invalid;
    QTest::newRow("excluded ending 20") << "118.020" << invalid;
    QTest::newRow("excluded ending 45") << "118.045" << invalid;
    QTest::newRow("excluded ending 70") << "118.070" << invalid;
    QTest::newRow("excluded ending 95") << "118.095" << invalid;
    QTest::newRow("not a multiple of 5") << "118.003" << invalid;
    QTest::newRow("comma instead of point") << "118,000" << invalid;
    QTest::newRow("eight characters") << "118.0000" << invalid;
    QTest::newRow("far too long") << "121.500121.500" << invalid;
    QTest::newRow("letters") << "abc.def" << invalid;
    QTest::newRow("letter after the point") << "118.x00" << invalid;
    QTest::newRow("letter at the end") << "118.00x" << invalid;
    QTest::newRow("letter in the middle") << "121.5x0" << invalid;
    QTest::newRow("spaces after the point") << "118.   " << invalid;
    QTest::newRow("minus after the point") << "118.0-5" << invalid;
    QTest::newRow("space in the megahertz") << "1 8.000" << invalid;
    QTest::newRow("200 MHz") << "200.000" << invalid;

    QTest::newRow("empty") << "" << intermediate;
    QTest::newRow("1") << "1" << intermediate;
    QTest::newRow("11") << "11" << intermediate;
    QTest::newRow("118") << "118" << intermediate;
    QTest::newRow("118 and point") << "118." << intermediate;
    QTest::newRow("118.0") << "118.0" << intermediate;
    QTest::newRow("118.00") << "118.00" << intermediate;
    QTest::newRow("136 and point") << "136." << intermediate;

    QTest::newRow("first digit 2") << "2" << invalid;
    QTest::newRow("14") << "14" << invalid;
    QTest::newRow("137") << "137" << invalid;
    QTest::newRow("117") << "117" << invalid;
    QTest::newRow("fourth not a point") << "1180" << invalid;
    QTest::newRow("letter after point") << "118.a" << invalid;
}

void ValidatorsTest::frequencyWholeText()
{
    QFETCH(QString, text);
    QFETCH(QValidator::State, expected);
    FreqValidator validator;
    QString input = text;
    int pos = input.size();
    QCOMPARE(validator.validate(input, pos), expected);
    QCOMPARE(input, text);
    QCOMPARE(pos, text.size());
}

// A short text is judged by the character before the cursor only.
void ValidatorsTest::frequencyCursorPosition_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pos");
    QTest::addColumn<QValidator::State>("expected");

    QTest::newRow("cursor at start") << "999" << 0 << QValidator::Intermediate;
    QTest::newRow("negative cursor") << "9" << -1 << QValidator::Intermediate;
    QTest::newRow("insert 2 after 1") << "1218." << 2 << QValidator::Intermediate;
    QTest::newRow("insert x after 1") << "1x8.00" << 2 << QValidator::Invalid;
    QTest::newRow("digit before cursor at 5") << "118.0x" << 5 << QValidator::Intermediate;
    QTest::newRow("cursor beyond the text") << "118" << 6 << QValidator::Invalid;
    QTest::newRow("seven characters ignore cursor") << "121.500" << 0 << QValidator::Acceptable;
}

void ValidatorsTest::frequencyCursorPosition()
{
    QFETCH(QString, text);
    QFETCH(int, pos);
    QFETCH(QValidator::State, expected);
    FreqValidator validator;
    QCOMPARE(validator.validate(text, pos), expected);
}

void ValidatorsTest::frequencyTyped_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<bool>("acceptable");

    QTest::newRow("complete channel") << "121.500" << "121.500" << true;
    QTest::newRow("2 refused first") << "2" << "" << false;
    QTest::newRow("1 then 4 refused") << "14" << "1" << false;
    QTest::newRow("1 3 7 refused at 7") << "137" << "13" << false;
    QTest::newRow("136 and point stays") << "136." << "136." << false;
    QTest::newRow("off-raster last digit refused") << "118.003" << "118.00" << false;
    QTest::newRow("above 136.980 refused") << "136.985" << "136.98" << false;
    QTest::newRow("excluded ending refused") << "118.020" << "118.02" << false;
    QTest::newRow("eighth character refused") << "121.5005" << "121.500" << true;
    QTest::newRow("comma refused") << "118,000" << "118" << false;
    QTest::newRow("highest channel") << "136.980" << "136.980" << true;
}

void ValidatorsTest::frequencyTyped()
{
    QFETCH(QString, keys);
    QFETCH(QString, expectedText);
    QFETCH(bool, acceptable);
    Editors editors;
    QTest::keyClicks(&editors.frequency, keys);
    QCOMPARE(editors.frequency.text(), expectedText);
    QCOMPARE(editors.frequency.hasAcceptableInput(), acceptable);
}

void ValidatorsTest::frequencyCompleteTextRefusesOverwrite()
{
    Editors editors;
    QTest::keyClicks(&editors.frequency, "118.000");
    QTest::keyClick(&editors.frequency, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(editors.frequency.selectedText(), QString("0"));
    QTest::keyClick(&editors.frequency, Qt::Key_3);
    QCOMPARE(editors.frequency.text(), QString("118.000"));
    QVERIFY(editors.frequency.hasAcceptableInput());
}

void ValidatorsTest::frequencyBackspaceLeavesIntermediate()
{
    Editors editors;
    QTest::keyClicks(&editors.frequency, "118.000");
    QTest::keyClick(&editors.frequency, Qt::Key_Backspace);
    QCOMPARE(editors.frequency.text(), QString("118.00"));
    QVERIFY(!editors.frequency.hasAcceptableInput());
}

void ValidatorsTest::nameWholeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pos");
    QTest::addColumn<QValidator::State>("expected");
    QTest::addColumn<QString>("expectedText");

    QTest::newRow("upper-case letter") << "A" << 1 << QValidator::Acceptable << "A";
    QTest::newRow("lower-case raised") << "a" << 1 << QValidator::Acceptable << "A";
    QTest::newRow("only the last raised") << "abc" << 3 << QValidator::Acceptable << "abC";
    QTest::newRow("digit") << "7" << 1 << QValidator::Acceptable << "7";
    QTest::newRow("space") << "A " << 2 << QValidator::Acceptable << "A ";
    QTest::newRow("minus") << "-" << 1 << QValidator::Invalid << "-";
    QTest::newRow("point") << "." << 1 << QValidator::Invalid << ".";
    QTest::newRow("slash") << "/" << 1 << QValidator::Invalid << "/";
    QTest::newRow("A with diaeresis") << QString(QChar(0x00C4)) << 1 << QValidator::Acceptable << QString(QChar(0x00C4));
    QTest::newRow("small a with diaeresis") << QString(QChar(0x00E4)) << 1 << QValidator::Invalid << QString(QChar(0x00C4));
    QTest::newRow("sharp s") << QString(QChar(0x00DF)) << 1 << QValidator::Invalid << QString(QChar(0x00DF));
    QTest::newRow("empty") << "" << 0 << QValidator::Acceptable << "";
    QTest::newRow("cursor at start") << "a-b" << 0 << QValidator::Acceptable << "a-b";
    QTest::newRow("cursor beyond the text") << "ab" << 5 << QValidator::Acceptable << "ab";
    QTest::newRow("semicolon before the cursor") << "A;b" << 3 << QValidator::Invalid << "A;b";
}

void ValidatorsTest::nameWholeText()
{
    QFETCH(QString, text);
    QFETCH(int, pos);
    QFETCH(QValidator::State, expected);
    QFETCH(QString, expectedText);
    AFNameValidator validator;
    const int originalPos = pos;
    QCOMPARE(validator.validate(text, pos), expected);
    QCOMPARE(text, expectedText);
    QCOMPARE(pos, originalPos);
}

void ValidatorsTest::nameTyped_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expectedText");

    QTest::newRow("lower case raised") << "abc" << "ABC";
    QTest::newRow("digits and spaces") << "a1 b2" << "A1 B2";
    QTest::newRow("minus refused") << "a-b" << "AB";
    QTest::newRow("point and slash refused") << "x./y" << "XY";
    QTest::newRow("upper non-ASCII kept") << QString("k") + QChar(0x00D6) + "ln" << QString("K") + QChar(0x00D6) + "LN";
    QTest::newRow("lower non-ASCII refused") << QString(QChar(0x00E4)) + "b" << "B";
    QTest::newRow("sharp s refused") << QString(QChar(0x00DF)) << "";
    QTest::newRow("ninth character cut") << "abcdefghi" << "ABCDEFGH";
}

void ValidatorsTest::nameTyped()
{
    QFETCH(QString, keys);
    QFETCH(QString, expectedText);
    Editors editors;
    typeText(&editors.name, keys);
    QCOMPARE(editors.name.text(), expectedText);
}

void ValidatorsTest::namePasteJudgesOnlyLastCharacter()
{
    Editors editors;
    QApplication::clipboard()->setText("xy-z");
    QTest::keyClick(&editors.name, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(editors.name.text(), QString("xy-Z"));
}

VKR_TEST_MAIN(ValidatorsTest)
#include "tst_validators.moc"
