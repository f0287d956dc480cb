// Channel lists from outside: the RFC 4180 reader, OurAirports' airfield
// frequencies and CHIRP files, on small files the test writes itself.
#include "AirfieldChannels.h"
#include "AirfieldReport.h"
#include "ChannelConvert.h"
#include "ChannelCsv.h"
#include "CsvReader.h"
#include "CsvTable.h"
#include "FileContent.h"
#include "TestMain.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(ChannelFormat)
Q_DECLARE_METATYPE(ImportOutcome)
Q_DECLARE_METATYPE(RequestProblem)

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
                               "9,30,\"EGLL\",\"ATIS\",\"ATIS\",128.075\n"
                               "10,30,\"EGLL\",\"DIR\",\"LONDON DIRECTOR NORTH\",119.725\n"
                               "11,30,\"EGLL\",\"DIR\",\"LONDON DIRECTOR SOUTH\",120.4\n"
                               "12,30,\"EGLL\",\"GND\",\"GROUND\",121.9\n"
                               "13,30,\"EGLL\",\"DEL\",\"DELIVERY\",121.9\n"
                               "14,40,\"Cark\",\"CTAF\",\"CTAF\",122.8\n"
                               "15,50,\"AB12345\",\"TWR\",\"TOWER\",118.5\n"
                               "16,30,\"EGLL\",\"DEP\",\"HEATHROW DEPARTURE ATIS\",121.935\n"
                               "17,60,\"KJFK\",\"D-ATIS\",\"D-ATIS\",128.725\n"
                               "18,60,\"KJFK\",\"TWR\",\"TOWER\",119.1\n"
                               "19,60,\"KJFK\",\"TWR\",\"TOWER\",123.9\n"
                               "20,60,\"KJFK\",\"\",\"\",122.95\n"
                               "21,70,\"EDFE\",\"INFO\",\"LANGEN INFORMATION\",119.15\n"
                               "22,80,\"EDFZ\",\"TWR\",\"TOWER\",118.5\n"
                               "23,90,\"DE-0001\",\"A/G\",\"HELI\",122.1\n"
                               "24,100,\"EDFX\",\"UNIC\",\"UNICOM\",122.9\n"
                               "25,110,\"EDFN\",\"UHF\",\"MIL\",243\n";
// Another column order, a byte-order mark, CR LF.
const QByteArray airports = "\xEF\xBB\xBF\"longitude_deg\",\"name\",\"ident\",\"latitude_deg\"\r\n"
                            "8.5706,\"Frankfurt, \"\"Main\"\"\",EDDF,50.0333\r\n"
                            "9.2219,Stuttgart,EDDS,48.6899\r\n"
                            "-0.4614,Heathrow,EGLL,51.4706\r\n"
                            "-2.9,Cark,cark,54.16\r\n";
// With OurAirports' types: around EDDF a heliport, a seaplane base, an
// airfield without a channel and a closed one.
const QByteArray typedAirports = "ident,type,name,latitude_deg,longitude_deg\n"
                                 "EDDF,large_airport,Frankfurt,50.0333,8.5706\n"
                                 "DE-0001,heliport,Heli,50.05,8.58\n"
                                 "EDFX,seaplane_base,Lake,50.1,8.6\n"
                                 "EDFE,small_airport,Egelsbach,49.9608,8.6436\n"
                                 "EDFN,small_airport,Nofreq,50.0,8.7\n"
                                 "EDFZ,closed,Mainz-Finthen,49.9686,8.1472\n"
                                 "EDDS,medium_airport,Stuttgart,48.6899,9.2219\n";
// Cut short: no line end after the last record.
const QByteArray damaged = "airport_ident,type,frequency_mhz\nEGLL,TWR\nEGLL,ATIS,abc\nEGLL,TWR,118.7";
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
    for (const Channel &record : ChannelCsv::fromTable(table, table.rowCount()))
        channels << record.name + QLatin1Char('|') + record.frequency.text();
    return channels;
}

} // namespace

class ImportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void csvRecords_data();
    void csvRecords();
    void place_data();
    void place();
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
    QVERIFY(writeContent("typed.csv", typedAirports));
    QVERIFY(writeContent("damaged.csv", damaged));
    QVERIFY(writeContent("columns.csv", withoutFrequency));
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

void ImportTest::place_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // "latitude, longitude" to 4 decimals, "ident EDDF", or empty: refused

    QTest::newRow("signed decimal degrees") << "50.03, 8.57" << "50.0300, 8.5700";
    QTest::newRow("signed, west negative, no comma") << "51.47 -0.46" << "51.4700, -0.4600";
    QTest::newRow("hemispheres after") << "51.47N 0.46W" << "51.4700, -0.4600";
    QTest::newRow("hemispheres after, spaced, comma") << "51.47 N, 0.46 W" << "51.4700, -0.4600";
    QTest::newRow("hemispheres before, lower case, longitude first") << "e8.57 n50.03" << "50.0300, 8.5700";
    QTest::newRow("degrees and minutes") << "50\u00B002'N 008\u00B034'E" << "50.0333, 8.5667";
    QTest::newRow("degrees, minutes, seconds, typographic marks")
        << "33\u00B056\u203224\u2033S 151\u00B010\u203230\u2033E" << "-33.9400, 151.1750";
    QTest::newRow("degrees and minutes without marks") << "50 02.5 N 8 34 E" << "50.0417, 8.5667";
    QTest::newRow("compact, as charts give it") << "5002N00834E" << "50.0333, 8.5667";
    QTest::newRow("compact with seconds, south") << "335624S1511030E" << "-33.9400, 151.1750";
    QTest::newRow("ident") << "EDDF" << "ident EDDF";
    QTest::newRow("ident in lower case, spaces") << " egll " << "ident EGLL";
    QTest::newRow("local ident") << "DE-0001" << "ident DE-0001";
    QTest::newRow("ident of hemisphere letters") << "ENSE" << "ident ENSE";
    QTest::newRow("decimal commas") << "50,03 8,57" << "";
    QTest::newRow("latitude beyond 90") << "91, 8" << "";
    QTest::newRow("longitude beyond 180") << "50N 181E" << "";
    QTest::newRow("60 minutes") << "50\u00B060'N 8\u00B000'E" << "";
    QTest::newRow("a sign and a hemisphere") << "-51.47N 0.46W" << "";
    QTest::newRow("two latitudes") << "50N 8S" << "";
    QTest::newRow("minutes before degrees") << "02'50\u00B0N 8E" << "";
    QTest::newRow("one number") << "50.03" << "";
    QTest::newRow("compact longitude of four digits") << "5002N0834E" << "";
    QTest::newRow("a name") << "Frankfurt Main" << "";
    QTest::newRow("empty") << "" << "";
}

void ImportTest::place()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const std::optional<Place> place = parsePlace(text);
    QString found;
    if (place && place->point)
        found = QStringLiteral("%1, %2").arg(place->point->latitude, 0, 'f', 4).arg(place->point->longitude, 0, 'f', 4);
    else if (place)
        found = QStringLiteral("ident ") + QString::fromLatin1(place->airfield);
    QCOMPARE(found, expected);
}

void ImportTest::airfields_data()
{
    QTest::addColumn<QString>("frequencyFile");
    QTest::addColumn<QString>("airportFile");
    QTest::addColumn<QStringList>("idents");
    QTest::addColumn<QString>("near");
    QTest::addColumn<double>("radius"); // negative: none given
    QTest::addColumn<QStringList>("types");
    QTest::addColumn<int>("maxChannels");
    QTest::addColumn<int>("perAirfield"); // 0: none given
    QTest::addColumn<ImportOutcome>("outcome");
    QTest::addColumn<RequestProblem>("problem");
    QTest::addColumn<QStringList>("channels");
    QTest::addColumn<QStringList>("messages"); // what was left out, then the summary last
    QTest::addColumn<int>("nearest");          // 0: none given
    QTest::addColumn<QString>("asked");        // kinds asked for besides airports
    QTest::addColumn<QString>("lastOrigin");   // of the last channel: "ident|name|type|distance|bearing"

    const QString all = QStringLiteral("frequencies.csv");
    const QString places = QStringLiteral("airports.csv");
    const QStringList none;
    const QString no;
    const QString skipped = QStringLiteral("frequencies.csv, record %1: %2: \"%3\" is not an air-band channel, skipped");
    const auto done = ImportOutcome::Done;
    const auto fine = RequestProblem::None;
    const auto refused = ImportOutcome::RequestNotRight;
    const auto dataNotRight = ImportOutcome::DataNotRight;

    QTest::newRow("named, in order; tower first; 8.33 kHz; same names; UHF; out of band")
        << all << "" << QStringList{"edds", "EDDF"} << "" << -1.0 << none << 100 << 0 << done << fine
        << QStringList{"EDDS TWR|118.800", "EDD TWR2|118.015", "EDD TWR3|118.035", "EDDF TWR|119.900",
                       "EDDF ATI|118.010", "EDDF GND|121.650"}
        << QStringList{skipped.arg(6).arg("EDDF APP", "136.99"), skipped.arg(5).arg("EDDF UHF", "243"),
                       "6 channels of 2 airfields"} << 0 << no << no;
    QTest::newRow("types in the order given") << all << "" << QStringList{"EDDF"} << "" << -1.0
                                              << QStringList{"gnd", "TWR"} << 100 << 0 << done << fine
                                              << QStringList{"EDDF GND|121.650", "EDDF TWR|119.900"}
                                              << QStringList{"2 channels of 1 airfield"} << 0 << no << no;
    QTest::newRow("names from descriptions kept whole before the ident; departure ATIS; one channel per frequency")
        << all << "" << QStringList{"EGLL"} << "" << -1.0 << none << 100 << 0 << done << fine
        << QStringList{"EGLL ATI|128.075", "EGLL GND|121.900", "EGL NORT|119.725", "EGL SOUT|120.400",
                       "EGL DATI|121.935"}
        << QStringList{"frequencies.csv, record 14: EGLL DEL: 121.900 is already its GND channel, skipped",
                       "5 channels of 1 airfield"} << 0 << no << no;
    QTest::newRow("names: digital ATIS, a repeated type numbered, no type")
        << all << "" << QStringList{"KJFK"} << "" << -1.0 << none << 100 << 0 << done << fine
        << QStringList{"KJFK TWR|119.100", "KJF TWR2|123.900", "KJFK ATI|128.725", "KJFK|122.950"}
        << QStringList{"4 channels of 1 airfield"} << 0 << no << no;
    QTest::newRow("idents in lower case, seven characters")
        << all << places << QStringList{"CARK", "ab12345"} << "" << -1.0 << none << 100 << 0 << done << fine
        << QStringList{"CARK CTA|122.800", "AB12345T|118.500"} << QStringList{"2 channels of 2 airfields"} << 0 << no << no;
    QTest::newRow("near, nearest first") << all << places << none << "48.7,9.2" << 200.0 << QStringList{"TWR"} << 100
                                         << 0 << done << fine
                                         << QStringList{"EDDS TWR|118.800", "EDD TWR2|118.015", "EDD TWR3|118.035",
                                                        "EDDF TWR|119.900"}
                                         << QStringList{"4 channels of 2 airfields"} << 0 << no << no;
    QTest::newRow("one per airfield, the tower") << all << places << none << "48.7,9.2" << 200.0 << none << 100 << 1
                                                 << done << fine << QStringList{"EDDS TWR|118.800", "EDDF TWR|119.900"}
                                                 << QStringList{skipped.arg(6).arg("EDDF (Frankfurt, \"Main\") APP", "136.99"),
                                                                skipped.arg(5).arg("EDDF (Frankfurt, \"Main\") UHF", "243"),
                                                                "2 channels of 2 airfields; 4 more beyond 1 per airfield left out"} << 0 << no << no;
    QTest::newRow("radius, channel limit, airfield names")
        << all << places << none << "50.0,8.6" << 50.0 << none << 2 << 0 << done << fine
        << QStringList{"EDDF TWR|119.900", "EDDF ATI|118.010"}
        << QStringList{skipped.arg(6).arg("EDDF (Frankfurt, \"Main\") APP", "136.99"),
                       skipped.arg(5).arg("EDDF (Frankfurt, \"Main\") UHF", "243"),
                       "channels beyond the first 2 left out: 1", "2 channels of 1 airfield"} << 0 << no << no;
    QTest::newRow("ident not in the file") << all << "" << QStringList{"EDDF", "XXXX"} << "" << -1.0 << none << 100 << 0
                                           << dataNotRight << fine << none
                                           << QStringList{"XXXX is not in frequencies.csv"} << 0 << no << no;
    QTest::newRow("column missing") << "columns.csv" << "" << QStringList{"EDDF"} << "" << -1.0 << none << 100 << 0
                                    << dataNotRight << fine << none
                                    << QStringList{"columns.csv: no column \"frequency_mhz\""} << 0 << no << no;
    QTest::newRow("field missing, not a number, cut short")
        << "damaged.csv" << "" << QStringList{"EGLL"} << "" << -1.0 << none << 100 << 0 << done << fine
        << QStringList{"EGLL TWR|118.700"}
        << QStringList{"damaged.csv, record 2: no field \"frequency_mhz\", skipped",
                       "damaged.csv: the last record has no line end; the file may be cut short",
                       "damaged.csv, record 3: EGLL ATIS: \"abc\" is not an air-band channel, skipped",
                       "1 channel of 1 airfield"} << 0 << no << no;
    QTest::newRow("nothing in the radius") << all << places << none << "0,0" << 10.0 << none << 100 << 0
                                           << dataNotRight << fine << none
                                           << QStringList{"no channels, nothing written",
                                                          "0 channels of 0 airfields"} << 0 << no << no;
    QTest::newRow("negative radius") << all << places << none << "50,8.6" << -0.5 << none << 100 << 0 << refused
                                     << RequestProblem::NegativeRadius << none << none << 0 << no << no;
    QTest::newRow("point without radius") << all << places << none << "50,8.6" << -1.0 << none << 100 << 0 << refused
                                          << RequestProblem::PositionWithoutRadius << none << none << 0 << no << no;
    QTest::newRow("radius without point") << all << places << QStringList{"EDDF"} << "" << 5.0 << none << 100 << 0
                                          << refused << RequestProblem::RadiusWithoutPosition << none << none << 0 << no << no;
    QTest::newRow("point off the globe: a radius alone") << all << places << none << "91,0" << 10.0 << none << 100 << 0 << refused
                                         << RequestProblem::RadiusWithoutPosition << none << none << 0 << no << no;
    QTest::newRow("near without airports") << all << "" << none << "50,8.6" << 10.0 << none << 100 << 0 << refused
                                           << RequestProblem::PositionWithoutAirports << none << none << 0 << no << no;
    QTest::newRow("per airfield beyond a memory") << all << "" << QStringList{"EDDF"} << "" << -1.0 << none << 100 << 101
                                                  << refused << RequestProblem::PerAirfieldOutOfRange << none << none << 0 << no << no;
    const QString typed = QStringLiteral("typed.csv");
    const QStringList frankfurtSkipped{skipped.arg(6).arg("EDDF (Frankfurt) APP", "136.99"),
                                       skipped.arg(5).arg("EDDF (Frankfurt) UHF", "243"),
                                       skipped.arg(26).arg("EDFN (Nofreq) UHF", "243")};
    QTest::newRow("nearest 3 around an airfield: closed, heliport, seaplane base, no channel left out")
        << all << typed << none << "eddf" << -1.0 << none << 100 << 0 << done << fine
        << QStringList{"EDDF TWR|119.900", "EDFE INF|119.150", "EDDS TWR|118.800"}
        << frankfurtSkipped + QStringList{"1 closed airfield left out: EDFZ (Mainz-Finthen), 31 km (17 NM)",
                                          "1 heliport not asked for: DE-0001 (Heli), 2.0 km (1.1 NM)",
                                          "1 seaplane base not asked for: EDFX (Lake), 7.7 km (4.2 NM)",
                                          "1 airfield without a frequency that is a channel: EDFN (Nofreq), 10.0 km (5.4 NM)",
                                          "3 channels of 3 airfields; 4 more beyond 1 per airfield left out"}
        << 3 << no << "EDDS|Stuttgart|TWR|157 km (85 NM)|162\u00B0";
    QTest::newRow("nearest 5 within a radius, heliports and seaplane bases asked for")
        << all << typed << none << "50\u00B002'N 008\u00B034'E" << 12.0 << none << 100 << 0 << done << fine
        << QStringList{"EDDF TWR|119.900", "DE0001 A|122.100", "EDFX UNI|122.900", "EDFE INF|119.150"}
        << frankfurtSkipped + QStringList{"1 airfield without a frequency that is a channel: EDFN (Nofreq), 10 km (5.5 NM)",
                                          "beyond 12 km: the next is EDDS (Stuttgart), 157 km (85 NM)",
                                          "4 channels of 4 airfields; 2 more beyond 1 per airfield left out"}
        << 5 << "heliports seaplanes" << "EDFE|Egelsbach|INFO|9.8 km (5.3 NM)|146\u00B0";
    QTest::newRow("nearest 1 within a radius: the next within it")
        << all << typed << none << "50.0333 8.5706" << 160.0 << none << 100 << 0 << done << fine
        << QStringList{"EDDF TWR|119.900"}
        << frankfurtSkipped.mid(0, 2) + QStringList{"2 more airfields within 160 km beyond the nearest 1, the next EDFE (Egelsbach), 9.6 km (5.2 NM)",
                                                    "1 channel of 1 airfield; 2 more beyond 1 per airfield left out"}
        << 1 << no << "EDDF|Frankfurt|TWR|0.0 km (0.0 NM)|000\u00B0";
    QTest::newRow("named: a closed one left out") << all << typed << QStringList{"EDFZ", "EDFE"} << "" << -1.0 << none
                                                  << 100 << 0 << done << fine << QStringList{"EDFE INF|119.150"}
                                                  << QStringList{"1 closed airfield left out: EDFZ (Mainz-Finthen)",
                                                                 "1 channel of 1 airfield"} << 0 << no << no;
    QTest::newRow("around an airfield not in the airports file")
        << all << typed << none << "EGLL" << -1.0 << none << 100 << 0 << dataNotRight << fine << none
        << QStringList{"EGLL is not in typed.csv"} << 3 << no << no;
    QTest::newRow("nearest without a place") << all << typed << QStringList{"EDDF"} << "" << -1.0 << none << 100 << 0
                                             << refused << RequestProblem::NearestWithoutPosition << none << none << 3
                                             << no << no;
    QTest::newRow("nearest beyond a memory") << all << typed << none << "EDDF" << -1.0 << none << 100 << 0 << refused
                                             << RequestProblem::NearestOutOfRange << none << none << 101 << no << no;
    QFile missing(QStringLiteral("missing.csv")); // the system's words for it, in the user's language
    QVERIFY(!missing.open(QIODevice::ReadOnly));
    QTest::newRow("file does not open") << "missing.csv" << "" << QStringList{"EDDF"} << "" << -1.0 << none << 100 << 0
                                        << ImportOutcome::FileNotUsable << fine << none
                                        << QStringList{"cannot read missing.csv: " + missing.errorString()} << 0 << no << no;
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
    QFETCH(int, perAirfield);
    QFETCH(int, nearest);
    QFETCH(QString, asked);
    AirfieldOptions options;
    options.frequenciesFile = frequencyFile;
    options.airportsFile = airportFile;
    options.outputFile = output;
    options.idents = idents;
    options.types = types;
    options.maxChannels = maxChannels;
    if (!near.isEmpty())
        options.near = parsePlace(near);
    if (radius > -1)
        options.radiusKm = radius;
    if (perAirfield > 0)
        options.perAirfield = perAirfield;
    if (nearest > 0)
        options.nearest = nearest;
    options.heliports = asked.contains(QLatin1String("heliports"));
    options.seaplaneBases = asked.contains(QLatin1String("seaplanes"));
    QFETCH(ImportOutcome, outcome);
    QFETCH(RequestProblem, problem);
    QFETCH(QStringList, channels);
    QFETCH(QStringList, messages);
    QFETCH(QString, lastOrigin);
    QFile::remove(output);

    const AirfieldResult result = importAirfields(options);
    QStringList said = result.messages;
    for (const LeftOutAirfields &leftOut : result.leftOut)
        said << leftOutText(leftOut, options);
    if (!result.summary.isEmpty())
        said << result.summary;
    QCOMPARE(said, messages);
    QCOMPARE(result.outcome, outcome);
    QCOMPARE(result.problem, problem);
    QCOMPARE(channelsIn(output), channels);
    QCOMPARE(result.origins.size(), result.channels.size());
    if (!lastOrigin.isEmpty()) {
        const AirfieldChannelOrigin &origin = result.origins.last();
        QCOMPARE(QStringList({QString::fromLatin1(origin.ident), origin.airfieldName, QString::fromLatin1(origin.type),
                              distanceText(origin.distanceKm.value_or(-1)), bearingText(origin.bearingDegrees.value_or(-1))})
                     .join(QLatin1Char('|')),
                 lastOrigin);
    }
}

void ImportTest::convert_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<ChannelFormat>("from");
    QTest::addColumn<ImportOutcome>("outcome");
    QTest::addColumn<QByteArray>("written"); // empty: no file
    QTest::addColumn<QStringList>("messages");

    const auto guess = ChannelFormat::Guess;
    const auto done = ImportOutcome::Done;
    const QByteArray stepHeader = "Location,Name,Frequency,Duplex,Mode,TStep\n";
    QTest::newRow("CHIRP counting from 1, older header, another order")
        << QByteArray("Name,Frequency,Location\r\nTower,118.000000,1\r\n\"Ops, \"\"A\"\"\",122.805000,3\r\n") << guess
        << done << QByteArray("TOWER;118.000\r\n;\r\nOPS A;122.805\r\n") << QStringList();
    QTest::newRow("CHIRP counting from 0, rows skipped")
        << QByteArray("Location,Name,Frequency,Duplex,Mode\n0,ATIS,118.008330,,AM\n1,REP,145.500000,-,FM\n"
                      "2,MARINE,156.800000,,FM\nx,BAD,121.500000,,AM\n4,GUARD,121.5,,AM\n")
        << guess << done << QByteArray("ATIS;118.010\r\n;\r\n;\r\n;\r\nGUARD;121.500\r\n")
        << QStringList{"in.csv, record 3: Duplex \"-\" is set, skipped", "in.csv, record 4: Mode \"FM\" is not AM, skipped",
                       "in.csv, record 5: Location \"x\" is not a channel number, skipped"};
    QTest::newRow("CHIRP carriers by step, receive only, NFM")
        << stepHeader + "1,A,121.800000,,AM,8.33\n2,B,122.033333,,AM,8.33\n3,C,118.010000,,AM,8.33\n"
                        "4,D,121.800000,,AM,25.00\n6,LISTEN,118.100000,off,AM,25.00\n7,E,121.500000,,NFM,25.00\n"
        << guess << done << QByteArray("A;121.805\r\nB;122.035\r\nC;118.010\r\nD;121.800\r\n;\r\nLISTEN;118.100\r\n")
        << QStringList{"in.csv, record 7: Mode \"NFM\" is not AM, skipped"};
    QTest::newRow("CHIRP Location 0 counts though skipped")
        << stepHeader + "0,BC,100.000000,,WFM,25.00\n1,TWR,118.100000,,AM,25.00\n" << guess << done
        << QByteArray(";\r\nTWR;118.100\r\n") << QStringList{"in.csv, record 2: Mode \"WFM\" is not AM, skipped"};
    QTest::newRow("CHIRP from its smallest Location")
        << stepHeader + "7,B,118.200000,,AM,25.00\n5,A,118.100000,,AM,25.00\n" << guess << done
        << QByteArray("A;118.100\r\n;\r\nB;118.200\r\n") << QStringList();
    QTest::newRow("CHIRP cut short")
        << stepHeader + "1,A,122.925000,,AM,25.00\n2,B,122.9" << guess << done << QByteArray("A;122.925\r\n")
        << QStringList{"in.csv, record 3: 3 of the header's 6 fields, skipped",
                       "in.csv: the last record has no line end; the file may be cut short"};
    QTest::newRow("CHIRP cut inside its last field")
        << QByteArray("Location,Name,Frequency\n1,A,122.925000\n2,B,122.9") << guess << done
        << QByteArray("A;122.925\r\n")
        << QStringList{"in.csv, record 3: no line end, the record may be cut short, skipped",
                       "in.csv: the last record has no line end; the file may be cut short"};
    QTest::newRow("CHIRP names made unique, Windows-1252")
        << QByteArray("Location,Name,Frequency\n1,FlightTest,123.450\n2,FlightTest,123.475\n3,Z\xFCrich Turm,118.1\n"
                      "4,FlightTest,123.500\n")
        << guess << done
        << QByteArray("FLIGHTTE;123.450\r\nFLIGHTT2;123.475\r\nZ\xC3\x9CRICH;118.100\r\nFLIGHTT3;123.500\r\n")
        << QStringList();
    // A zero byte is said, never a cut: "118.1" of "118.1\0x" would pass.
    QTest::newRow("CHIRP fields with a zero byte skipped")
        << QByteArray("Name,Frequency,Location\nTW\0R X,118.1,1\nGND,121.9\0x,2\nA,119.1,3\n", 63) << guess << done
        << QByteArray(";\r\n;\r\nA;119.100\r\n")
        << QStringList{"in.csv, record 2: Name \"TW\\x00R X\" holds a control character, skipped",
                       "in.csv, record 3: frequency \"121.9\\x00x\" is not an air-band channel, skipped"};
    QTest::newRow("CHIRP without a Frequency column") << QByteArray("Location,Name\n1,A\n") << ChannelFormat::Chirp
                                                      << ImportOutcome::DataNotRight << QByteArray()
                                                      << QStringList{"in.csv: no column \"Frequency\""};
    QTest::newRow("comma CSV, no CHIRP columns") << QByteArray("name,freq\nTOWER,118.1\nGND,121.9\n") << guess
                                                 << ImportOutcome::DataNotRight << QByteArray()
                                                 << QStringList{"in.csv: no columns \"Location\", \"Frequency\""};
    QTest::newRow("CHIRP written with semicolons")
        << QByteArray("Location;Name;Frequency\n1;TWR;118.1\n") << guess << ImportOutcome::DataNotRight << QByteArray()
        << QStringList{"in.csv: no columns \"Location\", \"Frequency\" (its fields are separated by \";\", not by \",\")"};
    QTest::newRow("channel file to CHIRP: carriers and steps")
        << QByteArray("TOWER;118.000\r\n;\r\nA,B\"C;118.005\r\nNONAME;\r\nX;118.010\r\nX;118.030\r\nX;122.805\r\n"
                      "X;122.035\r\n")
        << guess << done
        << chirpHeader + "1,TOWER,118.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,AM,25.00,,50W,,,,,\r\n"
                         "3,\"A,B\"\"C\",118.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,AM,8.33,,50W,,,,,\r\n"
                         "5,X,118.008333,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,AM,8.33,,50W,,,,,\r\n"
                         "6,X,118.025000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,AM,8.33,,50W,,,,,\r\n"
                         "7,X,122.800000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,AM,8.33,,50W,,,,,\r\n"
                         "8,X,122.033333,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,AM,8.33,,50W,,,,,\r\n"
        << QStringList{"channel 4 \"NONAME\": \"\" is no channel frequency, left out"};
    QTest::newRow("text, not a channel file") << QByteArray("# Notes\nsome text\n") << guess << ImportOutcome::DataNotRight
                                              << QByteArray() << QStringList{"in.csv: no record holds a channel frequency"};
    QTest::newRow("empty channel file") << QByteArray() << guess << ImportOutcome::DataNotRight << QByteArray()
                                        << QStringList{"no channels, nothing written"};
}

void ImportTest::convert()
{
    QFETCH(QByteArray, content);
    QFETCH(ChannelFormat, from);
    QFETCH(ImportOutcome, outcome);
    QFETCH(QByteArray, written);
    QFETCH(QStringList, messages);
    QVERIFY(writeContent(input, content));
    QFile::remove(output);

    const ImportResult result = convertChannels({input, output, from, ChannelFormat::Guess});
    QCOMPARE(result.messages, messages);
    QCOMPARE(result.outcome, outcome);
    QCOMPARE(QFile::exists(output), !written.isEmpty());
    if (!written.isEmpty())
        QCOMPARE(contentOf(output), written);
}

// Both ways: a channel file through CHIRP comes back the same, and so do a
// CHIRP file's frequencies and steps through a channel file.
void ImportTest::chirpRoundTrip()
{
    const QByteArray channels = "TOWER;118.000\r\nATIS 2;118.010\r\n;\r\nGND;121.655\r\nLAST;136.980\r\nGUARD;121.505\r\n";
    QVERIFY(writeContent(input, channels));
    const QString chirp = QStringLiteral("chirp.csv");
    const QString again = QStringLiteral("again.csv");
    QCOMPARE(convertChannels({input, chirp, ChannelFormat::ChannelFile, ChannelFormat::Chirp}).outcome, ImportOutcome::Done);
    QCOMPARE(convertChannels({chirp, output, ChannelFormat::Chirp, ChannelFormat::ChannelFile}).outcome, ImportOutcome::Done);
    QCOMPARE(contentOf(output), channels);
    QCOMPARE(convertChannels({output, again, ChannelFormat::ChannelFile, ChannelFormat::Chirp}).outcome, ImportOutcome::Done);
    QCOMPARE(contentOf(again), contentOf(chirp));
}

VKR_TEST_MAIN(ImportTest)
#include "tst_import.moc"
