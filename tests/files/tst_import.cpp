// Channel lists from outside: the frequency and name rules every importer
// uses, the RFC 4180 reader, OurAirports' airfield frequencies and CHIRP
// files, on small files the test writes itself.
#include "AirfieldChannels.h"
#include "ChannelConvert.h"
#include "ChannelRules.h"
#include "CsvReader.h"
#include "CsvTable.h"
#include "FileContent.h"
#include "TestMain.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(ChannelFormat)

namespace {

const QString output = QStringLiteral("out.csv");
const QString input = QStringLiteral("in.csv");

// OurAirports' column order, quotes around commas and quotes, a line end
// inside a quoted field (record 9).
const QByteArray frequencies = "\"id\",\"airport_ref\",\"airport_ident\",\"type\",\"description\",\"frequency_mhz\"\n"
                               "1,10,\"EDDF\",\"TWR\",\"TOWER, \"\"MAIN\"\"\",119.9\n"
                               "2,10,\"EDDF\",\"GND\",\"GROUND\",121.65\n"
                               "3,10,\"EDDF\",\"ATIS\",\"ATIS\",118.0083\n"
                               "4,10,\"EDDF\",\"UHF\",\"MIL\",243\n"
                               "5,10,\"EDDF\",\"APP\",\"LANGEN \"\"RADAR\"\", WEST\",136.99\n"
                               "6,20,\"EDDS\",\"TWR\",\"TOWER\",118.8\n"
                               "7,20,\"EDDS\",\"TWR\",\"TOWER 2\",118.0167\n"
                               "8,20,\"EDDS\",\"TWR\",\"TOWER\n3\",118.0333\n"
                               "9,30,\"EGLL\",\"ATIS\",\"ATIS\",128.075\n";
// Another column order, a byte-order mark, CR LF.
const QByteArray airports = "\xEF\xBB\xBF\"longitude_deg\",\"name\",\"ident\",\"latitude_deg\"\r\n"
                            "8.5706,\"Frankfurt, \"\"Main\"\"\",EDDF,50.0333\r\n"
                            "9.2219,Stuttgart,EDDS,48.6899\r\n"
                            "-0.4614,Heathrow,EGLL,51.4706\r\n";
const QByteArray damaged = "airport_ident,type,frequency_mhz\nEGLL,TWR\nEGLL,ATIS,abc\nEGLL,TWR,118.7\n";
const QByteArray withoutFrequency = "airport_ident,type,frequency\nEDDF,TWR,119.9\n";

const QByteArray chirpHeader = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                               "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n";

// A channel file's channels as "NAME|frequency"; none when there is no file.
QStringList channelsIn(const QString &fileName)
{
    CsvTable table;
    if (!QFile::exists(fileName) || !table.read(fileName))
        return {};
    QStringList channels;
    for (const ChannelRecord &record : ChannelCsv::fromTable(table, table.rowCount()))
        channels << record.name + QLatin1Char('|') + record.frequency;
    return channels;
}

} // namespace

class ImportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void channelFrequency_data();
    void channelFrequency();
    void nameFrom_data();
    void nameFrom();
    void csvRecords_data();
    void csvRecords();
    void airfields_data();
    void airfields();
    void convert_data();
    void convert();
    void chirpRoundTrip();

private:
    QTemporaryDir folder;
};

void ImportTest::initTestCase()
{
    QVERIFY(folder.isValid());
    QVERIFY(QDir::setCurrent(folder.path()));
    QVERIFY(writeContent("frequencies.csv", frequencies));
    QVERIFY(writeContent("airports.csv", airports));
    QVERIFY(writeContent("damaged.csv", damaged));
    QVERIFY(writeContent("columns.csv", withoutFrequency));
}

void ImportTest::channelFrequency_data()
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

void ImportTest::channelFrequency()
{
    QFETCH(QString, megahertz);
    QFETCH(QString, expected);
    QCOMPARE(ChannelRules::channelFrequencyFor(megahertz), expected);
}

void ImportTest::nameFrom_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("raised") << "eddf twr" << "EDDF TWR";
    QTest::newRow("cut to 8 characters") << "EGLL ATIS" << "EGLL ATI";
    QTest::newRow("other characters dropped") << "A/D-1;x" << "AD1X";
    QTest::newRow("letters beyond ASCII") << QString::fromUtf8("münchen") << QString::fromUtf8("MÜNCHEN");
    QTest::newRow("cut to 8 bytes") << QString::fromUtf8("ÄÖÜÄÖÜ") << QString::fromUtf8("ÄÖÜÄ");
}

void ImportTest::nameFrom()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ChannelRules::nameFrom(text), expected);
}

void ImportTest::csvRecords_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("expected"); // "number:field|field", one record a line

    QTest::newRow("quoted comma and quote") << QByteArray("a,\"b,c\",\"d\"\"e\"\n") << QByteArray("1:a|b,c|d\"e");
    QTest::newRow("CR LF, blank lines") << QByteArray("a,b\r\n\r\nc\r\n") << QByteArray("1:a|b\n2:c");
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF" "a,b\n") << QByteArray("1:a|b");
    QTest::newRow("line end in quotes") << QByteArray("\"a\r\nb\",c\n") << QByteArray("1:a\r\nb|c");
    QTest::newRow("no line end at the end") << QByteArray("a\nb") << QByteArray("1:a\n2:b");
    QTest::newRow("spaces kept, empty fields") << QByteArray(" a ,,\n") << QByteArray("1: a ||");
    QTest::newRow("stray quote kept") << QByteArray("a\"b,c\n") << QByteArray("1:a\"b|c");
    QTest::newRow("empty file") << QByteArray() << QByteArray();
}

void ImportTest::csvRecords()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, expected);
    QBuffer device(&content);
    device.open(QIODevice::ReadOnly);
    QByteArrayList records;
    const auto result = CsvReader::read(device, [&records](const CsvRecord &record) {
        QByteArrayList fields;
        for (int column = 0; column < record.size(); ++column)
            fields << record.field(column);
        records << QByteArray::number(record.number()) + ':' + fields.join('|');
        return true;
    });
    QCOMPARE(result, CsvReader::Result::Read);
    QCOMPARE(records.join('\n'), expected);
}

void ImportTest::airfields_data()
{
    QTest::addColumn<QString>("frequencyFile");
    QTest::addColumn<QString>("airportFile");
    QTest::addColumn<QStringList>("idents");
    QTest::addColumn<QString>("near");
    QTest::addColumn<double>("radius");
    QTest::addColumn<QStringList>("types");
    QTest::addColumn<int>("maxChannels");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("channels");
    QTest::addColumn<QStringList>("messages");

    const QString all = QStringLiteral("frequencies.csv");
    const QString places = QStringLiteral("airports.csv");
    const QStringList none;
    const QString skipped = QStringLiteral("frequencies.csv, record %1: %2: \"%3\" is not an air-band channel, skipped");

    QTest::newRow("named, in order; 8.33 kHz; same names; UHF; out of band")
        << all << "" << QStringList{"edds", "EDDF"} << "" << 0.0 << none << 100 << 0
        << QStringList{"EDDS TWR|118.800", "EDDS TW2|118.015", "EDDS TW3|118.035", "EDDF TWR|119.900",
                       "EDDF GND|121.650", "EDDF ATI|118.010"}
        << QStringList{skipped.arg(5).arg("EDDF UHF", "243"), skipped.arg(6).arg("EDDF APP", "136.99")};
    QTest::newRow("types in the order given") << all << "" << QStringList{"EDDF"} << "" << 0.0
                                              << QStringList{"gnd", "TWR"} << 100 << 0
                                              << QStringList{"EDDF GND|121.650", "EDDF TWR|119.900"} << none;
    QTest::newRow("near, nearest first") << all << places << none << "48.7,9.2" << 200.0 << QStringList{"TWR"} << 100 << 0
                                         << QStringList{"EDDS TWR|118.800", "EDDS TW2|118.015", "EDDS TW3|118.035",
                                                        "EDDF TWR|119.900"}
                                         << none;
    QTest::newRow("radius, channel limit, airfield names")
        << all << places << none << "50.0,8.6" << 50.0 << none << 2 << 0
        << QStringList{"EDDF TWR|119.900", "EDDF GND|121.650"}
        << QStringList{skipped.arg(5).arg("EDDF (Frankfurt, \"Main\") UHF", "243"),
                       skipped.arg(6).arg("EDDF (Frankfurt, \"Main\") APP", "136.99"),
                       "channels beyond the first 2 left out: 1"};
    QTest::newRow("ident not in the file") << all << "" << QStringList{"EDDF", "XXXX"} << "" << 0.0 << none << 100 << 1
                                           << none << QStringList{"XXXX is not in frequencies.csv"};
    QTest::newRow("column missing") << "columns.csv" << "" << QStringList{"EDDF"} << "" << 0.0 << none << 100 << 1
                                    << none << QStringList{"columns.csv: no column \"frequency_mhz\""};
    QTest::newRow("field missing, not a number")
        << "damaged.csv" << "" << QStringList{"EGLL"} << "" << 0.0 << none << 100 << 0 << QStringList{"EGLL TWR|118.700"}
        << QStringList{"damaged.csv, record 2: no field \"frequency_mhz\", skipped",
                       "damaged.csv, record 3: EGLL ATIS: \"abc\" is not an air-band channel, skipped"};
    QTest::newRow("nothing in the radius") << all << places << none << "0,0" << 10.0 << none << 100 << 1 << none
                                           << QStringList{"no channels, nothing written"};
    QTest::newRow("negative radius") << all << places << none << "50,8.6" << -1.0 << none << 100 << 2 << none
                                     << QStringList{"--radius-km must be 0 or more"};
    QTest::newRow("point off the globe") << all << places << none << "91,0" << 10.0 << none << 100 << 2 << none
                                         << QStringList{"name the airfields or give --near, one of the two"};
    QTest::newRow("near without airports") << all << "" << none << "50,8.6" << 10.0 << none << 100 << 2 << none
                                           << QStringList{"--near needs --airports"};
    QFile missing(QStringLiteral("missing.csv")); // the system's words for it, in the user's language
    QVERIFY(!missing.open(QIODevice::ReadOnly));
    QTest::newRow("file does not open") << "missing.csv" << "" << QStringList{"EDDF"} << "" << 0.0 << none << 100 << 3
                                        << none << QStringList{"cannot read missing.csv: " + missing.errorString()};
}

void ImportTest::airfields()
{
    QFETCH(QString, frequencyFile);
    QFETCH(QString, airportFile);
    QFETCH(QStringList, idents);
    QFETCH(QString, near);
    QFETCH(double, radius);
    QFETCH(QStringList, types);
    QFETCH(int, maxChannels);
    AirfieldOptions options{frequencyFile, airportFile, output, idents, std::nullopt, radius, types, maxChannels};
    if (!near.isEmpty())
        options.near = parseGeoPoint(near);
    QFETCH(int, outcome);
    QFETCH(QStringList, channels);
    QFETCH(QStringList, messages);
    QFile::remove(output);

    const ImportResult result = importAirfields(options);
    QCOMPARE(result.messages, messages);
    QCOMPARE(int(result.outcome), outcome);
    QCOMPARE(channelsIn(output), channels);
}

void ImportTest::convert_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<ChannelFormat>("from");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QByteArray>("written"); // empty: no file
    QTest::addColumn<QStringList>("messages");

    const auto guess = ChannelFormat::Guess;
    QTest::newRow("CHIRP counting from 1, older header, another order")
        << QByteArray("Name,Frequency,Location\r\nTower,118.000000,1\r\n\"Ops, \"\"A\"\"\",122.805000,3\r\n") << guess
        << 0 << QByteArray("TOWER;118.000\r\n;\r\nOPS A;122.805\r\n") << QStringList();
    QTest::newRow("CHIRP counting from 0, rows skipped")
        << QByteArray("Location,Name,Frequency,Duplex,Mode\n0,ATIS,118.008330,,AM\n1,REP,145.500000,-,FM\n"
                      "2,MARINE,156.800000,,FM\nx,BAD,121.500000,,AM\n4,GUARD,121.5,,AM\n")
        << guess << 0 << QByteArray("ATIS;118.010\r\n;\r\n;\r\n;\r\nGUARD;121.500\r\n")
        << QStringList{"in.csv, record 3: Duplex \"-\" is set, skipped",
                       "in.csv, record 4: frequency \"156.800000\" is not an air-band channel, skipped",
                       "in.csv, record 5: Location \"x\" is not a channel number, skipped"};
    // Fields end at a zero byte, as in the channel file reader.
    QTest::newRow("CHIRP fields up to a zero byte")
        << QByteArray("Name,Frequency,Location\nTW\0R X,118.1\0x,1\n", 41) << guess << 0
        << QByteArray("TW;118.100\r\n") << QStringList();
    QTest::newRow("CHIRP without a Frequency column") << QByteArray("Location,Name\n1,A\n") << ChannelFormat::Chirp << 1
                                                      << QByteArray() << QStringList{"in.csv: no column \"Frequency\""};
    QTest::newRow("channel file to CHIRP")
        << QByteArray("TOWER;118.000\r\n;\r\nA,B\"C;118.005\r\nNONAME;\r\n") << guess << 0
        << chirpHeader + "1,TOWER,118.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,AM,25.00,,50W,,,,,\r\n"
                         "3,\"A,B\"\"C\",118.005000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,AM,8.33,,50W,,,,,\r\n"
        << QStringList{"channel 4 \"NONAME\": \"\" is no channel frequency, left out"};
    QTest::newRow("empty channel file") << QByteArray() << guess << 1 << QByteArray()
                                        << QStringList{"no channels, nothing written"};
}

void ImportTest::convert()
{
    QFETCH(QByteArray, content);
    QFETCH(ChannelFormat, from);
    QFETCH(int, outcome);
    QFETCH(QByteArray, written);
    QFETCH(QStringList, messages);
    QVERIFY(writeContent(input, content));
    QFile::remove(output);

    const ImportResult result = convertChannels({input, output, from, ChannelFormat::Guess});
    QCOMPARE(result.messages, messages);
    QCOMPARE(int(result.outcome), outcome);
    QCOMPARE(QFile::exists(output), !written.isEmpty());
    if (!written.isEmpty())
        QCOMPARE(contentOf(output), written);
}

void ImportTest::chirpRoundTrip()
{
    const QByteArray channels = ";\r\nTOWER;118.000\r\nATIS 2;118.010\r\n;\r\nGND;121.655\r\nLAST;136.980\r\n";
    QVERIFY(writeContent(input, channels));
    const QString chirp = QStringLiteral("chirp.csv");
    QCOMPARE(int(convertChannels({input, chirp, ChannelFormat::ChannelFile, ChannelFormat::Chirp}).outcome), 0);
    QCOMPARE(int(convertChannels({chirp, output, ChannelFormat::Chirp, ChannelFormat::ChannelFile}).outcome), 0);
    QCOMPARE(contentOf(output), channels);
}

VKR_TEST_MAIN(ImportTest)
#include "tst_import.moc"
