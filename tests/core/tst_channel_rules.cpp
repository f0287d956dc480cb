// The rules of a channel: frequencies other sources give in megahertz made
// channels, carriers and back, names made from any text, and the faults of
// a name a radio would not store as it stands.
#include "TestMain.h"

#include "ChannelRules.h"

#include <QtTest>

Q_DECLARE_METATYPE(ChannelRules::NameFault)

class ChannelRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void channelFrequency_data();
    void channelFrequency();
    void carrier_data();
    void carrier();
    void nameFrom_data();
    void nameFrom();
    void nameFault_data();
    void nameFault();
};

void ChannelRulesTest::channelFrequency_data()
{
    QTest::addColumn<QString>("megahertz");
    QTest::addColumn<QString>("expected");

    QTest::newRow("two decimals") << "121.65" << "121.650";
    QTest::newRow("8.33 kHz designator kept") << "122.805" << "122.805";
    QTest::newRow("six decimals") << "122.805000" << "122.805";
    QTest::newRow("whole megahertz, spaces") << " 121 " << "121.000";
    QTest::newRow("true 8.33 kHz frequency 118.0083") << "118.0083" << "118.010";
    QTest::newRow("118.008, within 0.5 kHz") << "118.008" << "118.010";
    QTest::newRow("first channel of the next block") << "118.0248" << "118.030";
    QTest::newRow("just within 0.5 kHz") << "118.0088333333" << "118.010";
    QTest::newRow("just beyond 0.5 kHz") << "118.0088333334" << "";
    QTest::newRow("no channel near") << "118.020" << "";
    QTest::newRow("below the band") << "117.975" << "";
    QTest::newRow("UHF") << "UHF 243.000" << "";
    QTest::newRow("comma") << "121,65" << "";
    QTest::newRow("exponent") << "1.2165e2" << "";
    QTest::newRow("empty") << "" << "";
}

void ChannelRulesTest::channelFrequency()
{
    QFETCH(QString, megahertz);
    QFETCH(QString, expected);
    QCOMPARE(ChannelRules::channelFrequencyFor(megahertz).text(), expected);
}

// A channel's carrier, as a CHIRP file gives it, and back: with an 8.33 kHz
// step the carrier names the 8.33 kHz channel on it.
void ChannelRulesTest::carrier_data()
{
    QTest::addColumn<QString>("channel");
    QTest::addColumn<QString>("carrier");
    QTest::addColumn<QString>("backWith833Step"); // channel833For(carrier)

    QTest::newRow("118.010, second of its block") << "118.010" << "118.008333" << "118.010";
    QTest::newRow("118.030, first of its block") << "118.030" << "118.025000" << "118.030";
    QTest::newRow("122.805 on 122.800") << "122.805" << "122.800000" << "122.805";
    QTest::newRow("122.035") << "122.035" << "122.033333" << "122.035";
    QTest::newRow("third of a block, rounded up") << "118.015" << "118.016667" << "118.015";
    QTest::newRow("25 kHz channel: its 8.33 kHz twin by step") << "121.800" << "121.800000" << "121.805";
    QTest::newRow("last channel") << "136.990" << "" << "";
    QTest::newRow("no channel") << "118.020" << "" << "";
}

void ChannelRulesTest::carrier()
{
    QFETCH(QString, channel);
    QFETCH(QString, carrier);
    QFETCH(QString, backWith833Step);
    const Frequency frequency = Frequency::fromText(channel);
    const qint64 hertz = frequency.carrierHertz();
    const QString carrierText = hertz == 0 ? QString()
                                           : QStringLiteral("%1.%2").arg(hertz / 1000000).arg(hertz % 1000000, 6, 10, QLatin1Char('0'));
    QCOMPARE(carrierText, carrier);
    QCOMPARE(ChannelRules::channel833For(carrier).text(), backWith833Step);
    // Without the step, a carrier on the 25 kHz raster is that channel.
    if (!carrier.isEmpty() && frequency.spacing() == Frequency::Spacing::Wide)
        QCOMPARE(ChannelRules::channelFrequencyFor(carrier).text(), channel);
}

void ChannelRulesTest::nameFrom_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("raised") << "eddf twr" << "EDDF TWR";
    QTest::newRow("cut to 8 characters") << "EGLL ATIS" << "EGLL ATI";
    QTest::newRow("other characters dropped") << "A/D-1;x" << "AD1X";
    QTest::newRow("letters beyond ASCII") << QString::fromUtf8("münchen") << QString::fromUtf8("MÜNCHEN");
    QTest::newRow("cut to 8 bytes") << QString::fromUtf8("ÄÖÜÄÖÜ") << QString::fromUtf8("ÄÖÜÄ");
}

void ChannelRulesTest::nameFrom()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ChannelRules::nameFrom(text), expected);
}

void ChannelRulesTest::nameFault_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<ChannelRules::NameFault>("fault");
    QTest::addColumn<QString>("character");

    using Fault = ChannelRules::NameFault;
    QTest::newRow("empty") << "" << Fault::None << "";
    QTest::newRow("eight characters") << "ABCD 123" << Fault::None << "";
    QTest::newRow("upper case beyond ASCII") << QString::fromUtf8("ÄÖÜ") << Fault::None << "";
    QTest::newRow("line end") << "TWR\nX" << Fault::ControlCharacter << "\n";
    QTest::newRow("escape before lower case") << "a\x1b" << Fault::ControlCharacter << "\x1b";
    QTest::newRow("lower case") << "Tower" << Fault::LowerCase << "o";
    QTest::newRow("separator") << "X;Y" << Fault::NotNameCharacter << ";";
    QTest::newRow("quote") << "\"Q\"" << Fault::NotNameCharacter << "\"";
    QTest::newRow("nine characters") << "ABCDEFGHI" << Fault::TooManyCharacters << "";
    QTest::newRow("nine bytes") << QString::fromUtf8("ÄÖÜÄA") << Fault::TooManyBytes << "";
}

void ChannelRulesTest::nameFault()
{
    QFETCH(QString, name);
    QFETCH(ChannelRules::NameFault, fault);
    QFETCH(QString, character);
    const ChannelRules::NameCheck found = ChannelRules::checkName(name, RadioModels::series());
    QCOMPARE(found.fault, fault);
    if (!character.isEmpty())
        QCOMPARE(QString(found.character), character);
}

VKR_TEST_MAIN(ChannelRulesTest)
#include "tst_channel_rules.moc"
