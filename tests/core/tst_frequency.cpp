// A channel's frequency: what a text or a radio's bytes name, how it is
// written back, where it lies on the raster and how frequencies sort.
#include "TestMain.h"

#include "Frequency.h"
#include "RadioModels.h"

#include <QtTest>

Q_DECLARE_METATYPE(Frequency::Spacing)

class FrequencyTest : public QObject
{
    Q_OBJECT

private slots:
    void fromText_data();
    void fromText();
    void fromParts_data();
    void fromParts();
    void everyChannelOfTheBandComesBack();
    void raster_data();
    void raster();
    void order();
};

void FrequencyTest::fromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("designator");
    QTest::addColumn<int>("megahertz");
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("fitsFrame");

    QTest::newRow("lowest") << "118.000" << true << 118 << 0 << true;
    QTest::newRow("highest") << "136.980" << true << 136 << 196 << true;
    QTest::newRow("121.500") << "121.500" << true << 121 << 100 << true;
    QTest::newRow("8.33 kHz ending") << "118.005" << true << 118 << 1 << true;
    QTest::newRow("off the band, still a designator") << "136.995" << true << 136 << 199 << true;
    QTest::newRow("a step a radio may hold beyond 199") << "118.1000" << true << 118 << 200 << true;
    QTest::newRow("megahertz beyond a byte is refused, not cut to 44") << "300.000" << true << 300 << 0 << false;
    QTest::newRow("step beyond a byte is refused, not cut to 0") << "118.1280" << true << 118 << 256 << false;
    QTest::newRow("remainder below 5 names no designator") << "118.003" << false << 0 << 0 << false;
    QTest::newRow("two decimals are kept as typed") << "121.50" << false << 0 << 0 << false;
    QTest::newRow("no point") << "121" << false << 0 << 0 << false;
    QTest::newRow("empty parts") << "." << false << 0 << 0 << false;
    QTest::newRow("not a number") << "abc.def" << false << 0 << 0 << false;
    QTest::newRow("comma is no point") << "121,500" << false << 0 << 0 << false;
    QTest::newRow("negative") << "-1.500" << false << 0 << 0 << false;
    QTest::newRow("leading zero") << "0121.500" << false << 0 << 0 << false;
    QTest::newRow("spaces") << " 121.500" << false << 0 << 0 << false;
}

void FrequencyTest::fromText()
{
    QFETCH(QString, text);
    QFETCH(bool, designator);
    QFETCH(int, megahertz);
    QFETCH(int, step);
    QFETCH(bool, fitsFrame);
    const Frequency frequency = Frequency::fromText(text);
    QCOMPARE(frequency.isDesignator(), designator);
    QCOMPARE(frequency.isEmpty(), false);
    QCOMPARE(frequency.text(), text); // shown and saved as it came
    QCOMPARE(frequency.fitsFrame(), fitsFrame);
    if (designator) {
        QCOMPARE(frequency.megahertz(), megahertz);
        QCOMPARE(frequency.step(), step);
    }
}

void FrequencyTest::fromParts_data()
{
    QTest::addColumn<int>("megahertz");
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("text");

    QTest::newRow("118/0") << 118 << 0 << "118.000";
    QTest::newRow("121/100") << 121 << 100 << "121.500";
    QTest::newRow("136/199") << 136 << 199 << "136.995";
    QTest::newRow("118/200 has no upper bound") << 118 << 200 << "118.1000";
    QTest::newRow("118/1 keeps leading zeros") << 118 << 1 << "118.005";
    QTest::newRow("0/0") << 0 << 0 << "0.000";
    QTest::newRow("255/255") << 255 << 255 << "255.1275";
}

void FrequencyTest::fromParts()
{
    QFETCH(int, megahertz);
    QFETCH(int, step);
    QFETCH(QString, text);
    const Frequency frequency = Frequency::fromParts(megahertz, step);
    QCOMPARE(frequency.text(), text);
    QCOMPARE(Frequency::fromText(text), frequency);
}

// Every frequency of the band, on every raster step, survives text ->
// parts -> text unchanged.
void FrequencyTest::everyChannelOfTheBandComesBack()
{
    for (int megahertz = 118; megahertz <= 136; ++megahertz) {
        for (int kilohertz = 0; kilohertz < 1000; kilohertz += 5) {
            const QString text = QStringLiteral("%1.%2").arg(megahertz).arg(kilohertz, 3, 10, QLatin1Char('0'));
            const Frequency frequency = Frequency::fromText(text);
            QCOMPARE(Frequency::fromParts(frequency.megahertz(), frequency.step()).text(), text);
            QCOMPARE(frequency.kilohertz(), megahertz * 1000 + kilohertz);
        }
    }
}

void FrequencyTest::raster_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Frequency::Spacing>("spacing");
    QTest::addColumn<qint64>("carrier"); // Hz

    const auto wide = Frequency::Spacing::Wide;
    const auto narrow = Frequency::Spacing::Narrow;
    const auto none = Frequency::Spacing::None;
    QTest::newRow("25 kHz channel") << "121.500" << wide << qint64(121500000);
    QTest::newRow("first 8.33 kHz channel of a block") << "118.005" << narrow << qint64(118000000);
    QTest::newRow("second, rounded down") << "118.010" << narrow << qint64(118008333);
    QTest::newRow("third, rounded up") << "118.015" << narrow << qint64(118016667);
    QTest::newRow("highest") << "136.980" << narrow << qint64(136975000);
    QTest::newRow("ending 20 is no channel") << "118.020" << none << qint64(0);
    QTest::newRow("above the band") << "136.985" << none << qint64(0);
    QTest::newRow("below the band") << "117.995" << none << qint64(0);
    QTest::newRow("a radio's odd step") << "118.1000" << none << qint64(0);
    QTest::newRow("a text") << "121.5" << none << qint64(0);
}

void FrequencyTest::raster()
{
    QFETCH(QString, text);
    QFETCH(Frequency::Spacing, spacing);
    QFETCH(qint64, carrier);
    const Frequency frequency = Frequency::fromText(text);
    QCOMPARE(frequency.spacing(), spacing);
    QCOMPARE(frequency.isChannelOf(RadioModels::airBand), spacing != Frequency::Spacing::None);
    QCOMPARE(frequency.carrierHertz(), carrier);
}

// Designators by value (not as text: "99.000" before "118.000"), then
// texts, then no frequency at all.
void FrequencyTest::order()
{
    const QStringList sorted{"99.000", "118.000", "118.1000", "121.500", "300.000", "121.5", "abc", ""};
    for (int a = 0; a < sorted.size(); ++a) {
        for (int b = 0; b < sorted.size(); ++b) {
            const bool before = Frequency::fromText(sorted.at(a)) < Frequency::fromText(sorted.at(b));
            QVERIFY2(before == (a < b), qPrintable(sorted.at(a) + QStringLiteral(" / ") + sorted.at(b)));
        }
    }
}

VKR_TEST_MAIN(FrequencyTest)
#include "tst_frequency.moc"
