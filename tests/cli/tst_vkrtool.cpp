// vkrtool as a user runs it: a separate process, against virtual radios on
// pseudo-terminals, with the real port and time-outs.
#include "TestMain.h"

#include "ChannelCsv.h"
#include "ChannelText.h"
#include "CsvTable.h"
#include "LocalHttpServer.h"
#include "MemoryFile.h"
#include "ProgramRun.h"
#include "RunAsNobody.h"
#include "SerialPorts.h"
#include "VirtualRadio.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

// Ports named for the scan, and a data folder of the test's own for backups.
ProgramRun vkrtool(const QStringList &arguments, const QString &ports, const QString &dataFolder,
                   const ProgramStreams &streams = ProgramStreams())
{
    return runProgram(QStringLiteral(VKRTOOL_PATH), arguments,
                      {{QString::fromLatin1(Link::portListVariable), ports}, {QStringLiteral("XDG_DATA_HOME"), dataFolder}},
                      60000, streams);
}

// What a write test finds in the radio afterwards.
enum Setup {
    Plain = 0,
    BrokenDataFolder = 1, // the data folder is a file: no backup can be saved
    LockedNeighbour = 2,  // a second radio, scanned first, on a port a live process has locked
    ShortFrame = 4,       // channel 3 is sent one byte short
    StaleBytes = 8,       // a ping answer waits in the port before the tool starts
    TwoMoreRadios = 16,   // two radios without faults on ports after it; an expected file is theirs
    StoppedWrite = 32,    // a write command without its end just before the tool starts: the radio is deaf
    NamedTwice = 64,      // a link to its port is scanned after it
    EmptyLockedNeighbour = 128, // as LockedNeighbour, the lock file empty
    TwoEmpty = 256,       // channels 5 and 6 are empty
};

// A backup's line for an empty channel: its frame follows the channel.
const QByteArray emptyBackupLine = ";;76 00 20 20 20 20 20 20 20 20\r\n";

// Every channel in use, so that a write that leaves one alone is seen.
Channels fullMemory(int channels)
{
    Channels records;
    for (int k = 0; k < channels; ++k)
        records.append(channelOf(QStringLiteral("OLD%1").arg(k),
                                 QStringLiteral("%1.%2").arg(119 + k / 40).arg((k % 40) * 25, 3, 10, QLatin1Char('0'))));
    return records;
}

Channels recordsOf(const VirtualRadio &radio)
{
    Channels records;
    const RadioMemory memory = radio.memory();
    for (int k = 0; k < memory.channelCount(); ++k) {
        records.append(memory.channel(k));
    }
    return records;
}

// The lock file of a port, as minicom writes it.
QString lockFileOf(const QString &portName)
{
    return QStringLiteral("/run/lock/LCK..") + portName.mid(5).replace(QLatin1Char('/'), QLatin1Char('_'));
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// The checks of a JSON document, separated by ";": "path=text" (the
// value's text; null, [] for an empty array, * for any value) and
// "path~text" (the value's text contains it). A path is keys and array
// indexes joined by "/". Empty when all hold, else the first that fails.
QString jsonMismatch(const QByteArray &document, const QString &checks)
{
    QJsonParseError error;
    const QJsonDocument parsed = QJsonDocument::fromJson(document, &error);
    if (error.error != QJsonParseError::NoError)
        return QStringLiteral("not one JSON document: ") + error.errorString();
    for (const QString &check : checks.split(QLatin1Char(';'))) {
        const int at = check.indexOf(QRegularExpression(QStringLiteral("[=~]")));
        QJsonValue value = parsed.isArray() ? QJsonValue(parsed.array()) : QJsonValue(parsed.object());
        for (const QString &step : check.left(at).split(QLatin1Char('/'))) {
            bool isIndex = false;
            const int index = step.toInt(&isIndex);
            value = isIndex ? value.toArray().at(index) : value.toObject().value(step);
        }
        const QString text = value.isUndefined() ? QStringLiteral("(missing)")
            : value.isNull()                     ? QStringLiteral("null")
            : value.isArray()                    ? (value.toArray().isEmpty() ? QStringLiteral("[]") : QStringLiteral("[...]"))
                                                 : value.toVariant().toString();
        const QString wanted = check.mid(at + 1);
        const bool holds = check.at(at) == QLatin1Char('~') ? text.contains(wanted)
            : wanted == QLatin1String("*")                  ? !value.isUndefined() && !value.isNull()
                                                            : text == wanted;
        if (!holds)
            return check + QStringLiteral(", found ") + text;
    }
    return QString();
}

RadioSettings twentyChannels(void (*change)(RadioFaults &) = [](RadioFaults &) {})
{
    RadioSettings settings;
    settings.model = 1;
    change(settings.faults);
    return settings;
}

} // namespace

Q_DECLARE_METATYPE(RadioSettings)

class VkrtoolTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void withoutRadio_data();
    void withoutRadio();
    void withRadio_data();
    void withRadio();
    void identifyFindsTheRadio();
    void readCompleteAndIncomplete();
    void writeBacksUpAndVerifies();
    void verifyFindsCorruptedChannel();
    void portWithoutPermission_data();
    void portWithoutPermission();
    void traceRecordsTheLine();
    void airfieldDataDownloaded();
    void blockedWaitEndsOnSignal_data();
    void blockedWaitEndsOnSignal();

private:
    void addWithoutRadioRows();
    QString file(const char *name) const { return folder.filePath(QLatin1String(name)); }
    ProgramRun run(const QStringList &arguments, const QString &ports = QString())
    {
        return vkrtool(arguments, ports, folder.filePath(QStringLiteral("data")));
    }

    QTemporaryDir folder;
};

void VkrtoolTest::initTestCase()
{
    const QMap<const char *, QByteArray> files = {
        {"good.csv", "TOWER;118.000\r\n;121.500\r\n"},
        {"spaced.csv", "TOWER;118.000\r\n\r\nX  Y;121.500\r\n"},
        {"joined.csv", "TOWER;118.000\r\nX Y;121.500\r\n"},
        {"lower.csv", "TOWER;118.000\r\n\r\nTower;121.500\r\n"},
        {"raster.csv", "A;118.003\r\n"},
        {"nameonly.csv", "TOWER;121.500\r\nATIS;\r\n"},
        {"nameless.csv", ";118.000\r\n"},
        {"long.csv", QByteArray("A;118.000\r\n").repeated(1000)},
        {"three.csv", "TOWER;118.000\r\n;121.500\r\nX;119.000\r\n"},
        {"one.csv", "TOWER;118.000\r\n"},
        {"decimals.csv", "TOWER;121.5\r\n"},
        {"umlauts.csv", "\xc3\x84\xc3\x84\xc3\x84\xc3\x84\xc3\x84\xc3\x84\xc3\x84\xc3\x84;118.000\r\n"},
        {"star.csv", "A*B;118.000\r\n"},
        {"terminal.csv", "A\x1b[2JB\x07;118.000\r\n"},
        {"huge.csv", "A" + QByteArray(100000, 'B') + ";118.000\r\n"},
        {"twentyone.csv", QByteArray("A;118.000\r\n").repeated(21)},
        {"eleven.csv", QByteArray("NEW;121.500\r\n").repeated(11)},
        {"two.csv", "NEW0;121.500\r\nNEW1;122.800\r\n"},
        {"empty.csv", ""},
        {"forced.csv", "X;12x.000\r\n" + QByteArray("NEW;121.500\r\n").repeated(10)},
        {"chirp.in.csv", "Location,Name,Frequency,Mode,TStep\r\n1,TOWER,118.000000,AM,25.00\r\n"
                         "1,AGAIN,119.000000,AM,25.00\r\n2,FMROW,120.000000,FM,25.00\r\n"
                         "101,FAR,121.000000,AM,25.00\r\n"},
        {"semicolons.csv", "Location;Name;Frequency\r\n1;TOWER;118.100\r\n"},
        {"nul.csv", QByteArray("AT\0IS;121.500\r\nGND;121.\0" "75\r\n", 28)},
        {"utf16.csv", QByteArray("\xff\xfeT\0W\0R\0;\0" "1\0" "1\0" "8\0.\0" "1\0\r\0\n\0", 24)},
        {"cr.csv", "TOWER;118.000\rATIS;121.500\r"},
        {"frequencies.csv", "\"id\",\"airport_ident\",\"type\",\"description\",\"frequency_mhz\"\n"
                            "1,\"EDDF\",\"TWR\",\"TOWER, NORTH\",119.9\n2,\"EDDF\",\"ATIS\",\"ATIS\",118.0083\n"},
        {"places.csv", "ident,type,name,latitude_deg,longitude_deg\nEDDF,large_airport,Frankfurt,50.0333,8.5706\n"
                       "EDFZ,closed,Mainz-Finthen,49.9686,8.1472\n"},
    };
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QFile out(file(it.key()));
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(it.value()) == it.value().size());
    }
    // What the radios of withRadio hold beforehand, and a folder to read them into.
    QVERIFY(ChannelCsv::saveBytes(file("full20.csv"), ChannelCsv::toBytes(fullMemory(20))));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("every")));
}

void VkrtoolTest::withoutRadio_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QByteArray>("input");     // standard input
    QTest::addColumn<QString>("outputFile");   // standard output goes there, when given

    addWithoutRadioRows();
}


// The rows of withoutRadio; `row` gives a row no standard input and the
// standard output of its own.
void VkrtoolTest::addWithoutRadioRows()
{
    const auto row = [](const char *name) -> QTestData & { return QTest::newRow(name); };
    const QByteArray noInput;
    const QString ownOutput;
    row("help lists the subcommands") << QStringList{"--help"} << 0 << "diff" << noInput << ownOutput;
    row("version") << QStringList{"--version"} << 0 << "1.4" << noInput << ownOutput;
    row("unknown subcommand") << QStringList{"bogus"} << 2 << "no subcommand \"bogus\"" << noInput << ownOutput;
    row("unknown option") << QStringList{"read", "--bogus"} << 2 << "--bogus" << noInput << ownOutput;
    row("missing argument") << QStringList{"check"} << 2 << "FILE is required" << noInput << ownOutput;
    row("check: clean") << QStringList{"check", file("good.csv")} << 0 << "no problems" << noInput << ownOutput;
    row("check: lower case, line counted") << QStringList{"check", file("lower.csv")} << 1
                                                     << "lower.csv:3: channel 1: the name \"Tower\"" << noInput << ownOutput;
    row("check: off the raster") << QStringList{"check", file("raster.csv")} << 1 << "\"118.003\"" << noInput << ownOutput;
    row("check: more than a radio holds") << QStringList{"check", file("long.csv")} << 1
                                                    << "long.csv:101: channel 100" << noInput << ownOutput;
    row("check: no such file") << QStringList{"check", file("none.csv")} << 3 << "does not exist" << noInput << ownOutput;
    row("diff: same as stored") << QStringList{"diff", file("spaced.csv"), file("joined.csv")} << 0 << "" << noInput << ownOutput;
    row("diff: differs") << QStringList{"diff", file("good.csv"), file("joined.csv")} << 1
                                   << "channel 1: " + file("good.csv") + ": (no name) 121.500, " + file("joined.csv")
            + ": \"X Y\" 121.500" << noInput << ownOutput;
    row("airfields by ident") << QStringList{"airfields", "--frequencies", file("frequencies.csv"), "EDDF"}
                                        << 0 << "EDDF TWR;119.900\r\nEDDF ATI;118.010\r\n" << noInput << ownOutput;
    row("airfields near no point") << QStringList{"airfields", "--frequencies", file("frequencies.csv"),
                                                            "--near", "north of Frankfurt", "--radius-km", "5"}
                                             << 2 << "south and west negative (50.03, 8.57 or 51.47, -0.46)" << noInput << ownOutput;
    row("airfields nearest 1 around a chart position, a closed one left out")
        << QStringList{"airfields", "--frequencies", file("frequencies.csv"), "--airports", file("places.csv"), "--near",
                       "4958N00809E", "--nearest", "1"}
        << 0 << "EDDF TWR;119.900\r\nvkrtool: 1 closed airfield left out: EDFZ (Mainz-Finthen), 0.3 km (0.2 NM)\n"
                "vkrtool: 1 channel of 1 airfield; 1 more beyond 1 per airfield left out\n" << noInput << ownOutput;
    row("airfields near without a radius")
        << QStringList{"airfields", "--frequencies", file("frequencies.csv"), "--airports", file("frequencies.csv"),
                       "--near", "50.03,8.57"}
        << 2 << "--near needs --radius-km" << noInput << ownOutput;
    row("airfields radius without near") << QStringList{"airfields", "--frequencies", file("frequencies.csv"),
                                                                  "--radius-km", "60", "EDDF"}
                                                   << 2 << "--radius-km needs --near" << noInput << ownOutput;
    row("airfields one per airfield, summary")
        << QStringList{"airfields", "--frequencies", file("frequencies.csv"), "--per-airfield", "1", "eddf"} << 0
        << "EDDF TWR;119.900\r\nvkrtool: 1 channel of 1 airfield; 1 more beyond 1 per airfield left out\n" << noInput << ownOutput;
    row("convert to CHIRP") << QStringList{"convert", file("good.csv"), file("chirp.csv")} << 0 << "" << noInput << ownOutput;
    row("convert a CHIRP file written with semicolons")
        << QStringList{"convert", file("semicolons.csv"), file("out.csv")} << 1
        << "no columns \"Location\", \"Frequency\" (its fields are separated by \";\", not by \",\")" << noInput << ownOutput;
    row("convert into a missing folder") << QStringList{"convert", file("good.csv"), file("none/chirp.csv")} << 3
                                         << "the folder " + file("none") + " does not exist; nothing was done" << noInput
                                         << ownOutput;
    row("identify: nothing answers") << QStringList{"identify"} << 3 << "nothing answered" << noInput << ownOutput;
    row("write: a name without frequency, before any radio")
        << QStringList{"write", file("nameonly.csv")} << 1 << "nameonly.csv:2: channel 1: the name \"ATIS\" has no frequency" << noInput << ownOutput;
    row("write: nameless 118.000 would be the empty channel")
        << QStringList{"write", file("nameless.csv")} << 1 << "the radio's empty channel" << noInput << ownOutput;
    row("backups: none yet") << QStringList{"backups"} << 0 << "no backups in" << noInput << ownOutput;
    row("restore: no such backup") << QStringList{"restore", file("none.csv")} << 3 << "there is no backup" << noInput << ownOutput;
    // Bytes that are no text: named with the record, never a cut field.
    row("check: zero bytes named") << QStringList{"check", file("nul.csv")} << 1
                                   << "nul.csv:1: channel 0: the name \"AT\\x00IS\" holds the control character "
                                      "\"\\x00\"" << noInput << ownOutput;
    row("write --force: a zero byte still refused")
        << QStringList{"write", file("nul.csv"), "--force"} << 1
        << "nul.csv:2: channel 1: the frequency \"121.\\x0075\" holds" << noInput << ownOutput;
    row("diff: a zero byte is no cut") << QStringList{"diff", file("nul.csv"), file("good.csv")} << 1
                                       << "nul.csv has 2 problems; correct them before comparing" << noInput << ownOutput;
    row("convert: a zero byte left out, said")
        << QStringList{"convert", file("nul.csv"), file("nul.chirp.csv")} << 1
        << "nul.csv:1: channel 0: the name \"AT\\x00IS\" holds the control character \"\\x00\", which no channel "
           "holds (is the file damaged?), left out" << noInput << ownOutput;
    row("check: UTF-16 says why") << QStringList{"check", file("utf16.csv")} << 1
                                  << "utf16.csv: UTF-16 is not read: save as UTF-8" << noInput << ownOutput;
    row("check: CR alone says why") << QStringList{"check", file("cr.csv")} << 1 << "cr.csv: no line ends" << noInput
                                    << ownOutput;
    // What the user typed is quoted escaped (the output never holds an ESC).
    row("unknown subcommand escaped") << QStringList{"bo\x1b[31mgus"} << 2 << "no subcommand \"bo\\x1b[31mgus\""
                                      << noInput << ownOutput;
    row("no such model escaped") << QStringList{"check", file("good.csv"), "--model", "\x1b[31mX"} << 2
                                 << "there is no model \"\\x1b[31mX\"" << noInput << ownOutput;
    row("no such backup escaped") << QStringList{"restore", "\x1b[31m.csv"} << 3 << "there is no backup \\x1b[31m.csv"
                                  << noInput << ownOutput;
    row("convert's missing input escaped") << QStringList{"convert", "\x1b[31m.csv", file("out.csv")} << 3
                                           << "cannot read \\x1b[31m.csv" << noInput << ownOutput;
    row("port diagnosis escaped") << QStringList{"identify", "--port", "/dev/\x1b[31mX"} << 3
                                  << "the device file /dev/\\x1b[31mX does not exist" << noInput << ownOutput;
    row("usage error as JSON") << QStringList{"read", "--bogus", "--json"} << 2
                               << "\"error\": \"The following argument was not expected: --bogus" << noInput << ownOutput;
    row("--expect without --all") << QStringList{"identify", "--expect", "2"} << 2 << "--expect requires --all"
                                  << noInput << ownOutput;
    row("trace onto the output") << QStringList{"read", "-o", file("same.txt"), "--trace", file("./same.txt")} << 2
                                 << "--trace and -o both name" << noInput << ownOutput;

    // Output that cannot be written is a failure, with the system's reason.
    row("check: standard output on a full disk") << QStringList{"check", file("good.csv")} << 3
                                                 << "could not write the results to standard output: No space left "
                                                    "on device" << noInput << QStringLiteral("/dev/full");
    row("diff: differences found, standard output on a full disk")
        << QStringList{"diff", file("good.csv"), file("joined.csv")} << 3
        << "could not write the results to standard output: No space left on device" << noInput
        << QStringLiteral("/dev/full");
    row("convert onto a device, written as it is") << QStringList{"convert", file("good.csv"), file("full")} << 3
                                                   << "No space left on device" << noInput << ownOutput;
    row("convert onto its input") << QStringList{"convert", file("good.csv"), file("./good.csv")} << 2
                                  << "is the input" << noInput << ownOutput;
    row("trace onto a full disk") << QStringList{"identify", "--trace", file("full")} << 3
                                  << "cannot write the trace " + file("full") + ": No space left on device" << noInput
                                  << ownOutput;
    row("trace onto its input") << QStringList{"write", file("good.csv"), "--trace", file("good.csv")} << 2
                                << "is the input" << noInput << ownOutput;
    row("airfields onto the frequencies file")
        << QStringList{"airfields", "--frequencies", file("frequencies.csv"), "-o", file("frequencies.csv"), "EDDF"}
        << 2 << "is the input" << noInput << ownOutput;
    // Bounded, safe messages.
    row("check: beyond the radio, counted once")
        << QStringList{"check", file("long.csv")} << 1
        << "long.csv:101: channel 100: this record and 899 more after it are beyond the 100 channels of the radio\n"
           "vkrtool: " + file("long.csv") + " has 1 problem;" << noInput << ownOutput;
    row("check: a huge name cut") << QStringList{"check", file("huge.csv")} << 1
                                  << "the name \"ABBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBB\u2026\" has 100001 characters"
                                  << noInput << ownOutput;
    row("check: terminal controls escaped") << QStringList{"check", file("terminal.csv")} << 1
                                            << "the name \"A\\x1b[2JB\\x07\" holds the control character \"\\x1b\"" << noInput
                                            << ownOutput;
    row("check: three decimals wanted") << QStringList{"check", file("decimals.csv")} << 1
                                        << "\"121.5\" is no channel of the air band as written: write three decimals: "
                                           "121.500" << noInput << ownOutput;
    row("check: one record") << QStringList{"check", file("one.csv")} << 0 << "1 record, no problems" << noInput
                             << ownOutput;
    row("check: 8 characters in 16 bytes") << QStringList{"check", file("umlauts.csv")} << 1 << "takes 16 bytes"
                                           << noInput << ownOutput;
    row("check: a character no radio stores") << QStringList{"check", file("star.csv")} << 1
                                              << "has the character \"*\"" << noInput << ownOutput;
    row("check: lower case named") << QStringList{"check", file("lower.csv")} << 1
                                   << "has lower case; a radio stores upper case only: \"TOWER\"" << noInput << ownOutput;
    row("check: against a 20-channel model") << QStringList{"check", file("twentyone.csv"), "--model", "VKR627S"} << 1
                                             << "channel 20 is beyond the 20 channels of the radio" << noInput << ownOutput;
    row("check: against 20 channels") << QStringList{"check", file("twentyone.csv"), "--channels", "20"} << 1
                                      << "channel 20 is beyond the 20 channels" << noInput << ownOutput;
    row("check: no such model") << QStringList{"check", file("good.csv"), "--model", "VKR999"} << 2
                                << "there is no model \"VKR999\"" << noInput << ownOutput;
    row("check: no memory of 50") << QStringList{"check", file("good.csv"), "--channels", "50"} << 2 << "20 or 100"
                                  << noInput << ownOutput;
    row("check: standard input") << QStringList{"check", "-"} << 1 << "standard input:1: channel 0: the name \"Tower\""
                                 << QByteArray("Tower;118.000\r\n") << ownOutput;
    row("diff: standard input twice") << QStringList{"diff", "-", "-"} << 2 << "only once" << noInput << ownOutput;
    row("diff: beyond the shorter list") << QStringList{"diff", file("good.csv"), file("three.csv")} << 1
                                         << "channel 2: " + file("good.csv") + ": (empty), " + file("three.csv")
            + ": \"X\" 119.000" << noInput << ownOutput;
    // CHIRP rows in file order: a repeated Location keeps the first row, and
    // one beyond the largest memory is left out.
    row("convert: CHIRP Locations")
        << QStringList{"convert", file("chirp.in.csv"), "-"} << 0
        << "TOWER;118.000\r\n" "vkrtool: " + file("chirp.in.csv") + ", record 3: Location 1 is taken by an earlier "
           "row, skipped\nvkrtool: " + file("chirp.in.csv") + ", record 4: Mode \"FM\" is not AM, skipped\n"
           "vkrtool: " + file("chirp.in.csv") + ", record 5: Location 101 is beyond channel 99, skipped"
        << noInput << ownOutput;
}

void VkrtoolTest::withoutRadio()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QFETCH(QByteArray, input);
    QFETCH(QString, outputFile);
    RadioSettings silent;
    silent.faults.silent = true;
    VirtualRadio radio(silent);
    // A device node that fails every write, as a full disk does (root may
    // make one in the test's folder; anyone else uses the system's).
    const QByteArray device = QFile::encodeName(file("full"));
    if (!QFileInfo::exists(file("full")) && mknod(device.constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), file("full")));
    const ProgramRun result =
        vkrtool(arguments, radio.portName(), folder.filePath(QStringLiteral("data")), {input, outputFile});
    QVERIFY2(result.output.contains(said), qPrintable(result.output));
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY2(!result.output.contains(QChar(0x1b)), qPrintable(result.output));
    // Outputs never replace a device or an input.
    struct stat status;
    QVERIFY(stat(device.constData(), &status) == 0 && S_ISCHR(status.st_mode));
    QCOMPARE(contentOf(file("good.csv")), QByteArray("TOWER;118.000\r\n;121.500\r\n"));
    QCOMPARE(contentOf(file("frequencies.csv")).left(5), QByteArray("\"id\","));
}

// Against a radio whose memory is full beforehand: what the tool says, and
// what the radio and the backups folder hold afterwards. `expected` is
// "old" (the memory untouched), a file (the memory holds its records, every
// other channel empty) or empty (not looked at); `reads` counts the read
// commands (02 54) the radio heard, `backups` the files kept, each -1 when
// not looked at. A signal, when given, comes once the radio has heard
// `signalAfter` bytes. PORT in the arguments stands for the radio's port,
// TAG for it as part of a file name. With --json, `said` holds the checks
// of the document on standard output (jsonMismatch).
void VkrtoolTest::withRadio_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<RadioSettings>("radio");
    QTest::addColumn<int>("setup");
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("signalAfter");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("reads");
    QTest::addColumn<int>("backups");

    const RadioSettings plain = twentyChannels();
    // Answers that take their time, so that a signal lands within the write.
    const RadioSettings slow = twentyChannels([](RadioFaults &f) { f.answerDelay = 100; });
    // Probe (6 bytes), backup read (2 + 20), write command (2), 3 frames (36).
    const int threeFramesWritten = 66;
    QTest::newRow("write empties the channels beyond the file")
        << QStringList{"write", file("eleven.csv")} << plain << int(Plain) << 0 << 0 << 0 << "verified"
        << file("eleven.csv") << 2 << 1;
    QTest::newRow("write emptying most channels refused")
        << QStringList{"write", file("two.csv")} << plain << int(Plain) << 0 << 0 << 1
        << "would empty 18 of the 20 channels in use" << "old" << 1 << 1;
    QTest::newRow("write emptying most channels forced")
        << QStringList{"write", file("two.csv"), "--force"} << plain << int(Plain) << 0 << 0 << 0 << "verified"
        << file("two.csv") << 2 << 1;
    QTest::newRow("write without backup still checks emptying")
        << QStringList{"write", file("two.csv"), "--no-backup"} << plain << int(Plain) << 0 << 0 << 1
        << "would empty 18" << "old" << 1 << 0;
    QTest::newRow("write of no records refused")
        << QStringList{"write", file("empty.csv")} << plain << int(Plain) << 0 << 0 << 1 << "holds no records"
        << "old" << 0 << 0;
    QTest::newRow("write beyond the radio's channels refused")
        << QStringList{"write", file("twentyone.csv")} << plain << int(Plain) << 0 << 0 << 1
        << "channel 20 is beyond the 20 channels of the radio" << "old" << 0 << 0;
    QTest::newRow("write keeps the radio's rules")
        << QStringList{"write", file("lower.csv")} << plain << int(Plain) << 0 << 0 << 1 << "has lower case"
        << "old" << 0 << 0;
    QTest::newRow("write forced still refuses what no radio holds")
        << QStringList{"write", file("forced.csv"), "--force"} << plain << int(Plain) << 0 << 0 << 1
        << "\"12x.000\" is no frequency a radio can hold" << "old" << 0 << 0;
    QTest::newRow("write without a saved backup writes nothing")
        << QStringList{"write", file("eleven.csv")} << plain << int(BrokenDataFolder) << 0 << 0 << 3
        << "the backup could not be saved" << "old" << 1 << -1;
    QTest::newRow("write with a refused frame fails naming it")
        << QStringList{"write", file("eleven.csv")} << twentyChannels([](RadioFaults &f) { f.nakFrame = 3; })
        << int(Plain) << 0 << 0 << 3 << "the radio refused channel 3" << "" << 1 << 1;
    QTest::newRow("write to a radio unplugged on the way")
        << QStringList{"write", file("eleven.csv")}
        << twentyChannels([](RadioFaults &f) { f.unplugAfterBytes = 6 + 22 + 2 + 5 * 12; })
        << int(Plain) << 0 << 0 << 3 << "the write failed: the radio stopped answering at channel " << "" << 1 << 1;
    QTest::newRow("write without verify reads nothing back")
        << QStringList{"write", file("eleven.csv"), "--no-verify"}
        << twentyChannels([](RadioFaults &f) { f.corruptChannel = 1; }) << int(Plain) << 0 << 0 << 0
        << "(not verified)" << "" << 1 << 1;
    QTest::newRow("write stopped by Ctrl+C sends no closing byte")
        << QStringList{"write", file("eleven.csv")} << slow << int(Plain) << int(SIGINT) << threeFramesWritten << 130
        << "the closing byte was not sent" << "old" << 1 << 1;
    QTest::newRow("write stopped by SIGTERM")
        << QStringList{"write", file("eleven.csv")} << slow << int(Plain) << int(SIGTERM) << threeFramesWritten << 143
        << "stopped by SIGTERM after" << "old" << 1 << 1;
    QTest::newRow("write stopped by SIGHUP")
        << QStringList{"write", file("eleven.csv")} << slow << int(Plain) << int(SIGHUP) << threeFramesWritten << 129
        << "vkrtool restore" << "old" << 1 << 1;
    QTest::newRow("write from standard input")
        << QStringList{"write", "-"} << plain << int(Plain) << 0 << 0 << 0 << "verified" << file("eleven.csv") << 2 << 1;
    QTest::newRow("identify stopped by Ctrl+C during the search")
        << QStringList{"identify"} << plain << int(Plain) << int(SIGINT) << 4 << 130 << "interrupted" << "old" << 0 << 0;
    QTest::newRow("identify beside a port another program locked")
        << QStringList{"identify"} << plain << int(LockedNeighbour) << 0 << 0 << 0 << "VKR627S, 20 channels, on PORT"
        << "old" << 0 << 0;
    QTest::newRow("ports names the lock's process")
        << QStringList{"ports"} << plain << int(LockedNeighbour) << 0 << 0 << 0 << "does not open: the port is in use by"
        << "old" << 0 << 0;
    RadioSettings silent = plain;
    silent.faults.silent = true;
    QTest::newRow("identify drops stale bytes before the ping")
        << QStringList{"identify"} << silent << int(StaleBytes) << 0 << 0 << 3 << "nothing answered" << "old" << 0 << 0;
    RadioSettings unknown = plain;
    unknown.modelText = "HELLO";
    QTest::newRow("identify names an unknown model")
        << QStringList{"identify"} << unknown << int(Plain) << 0 << 0 << 3
        << "a device answered \"HELLO\", which is no VKR627 model" << "old" << 0 << 0;
    QTest::newRow("read of a frame one byte short")
        << QStringList{"read", "-o", file("short.csv")} << plain << int(ShortFrame) << 0 << 0 << 3
        << "1 of them cut short" << "" << 1 << 0;
    QTest::newRow("read into a missing folder before the radio")
        << QStringList{"read", "-o", file("none/read.csv")} << plain << int(Plain) << 0 << 0 << 3
        << "does not exist; nothing was done" << "old" << 0 << 0;
    QTest::newRow("diff with a missing file before the radio")
        << QStringList{"diff", "radio", file("none.csv")} << plain << int(Plain) << 0 << 0 << 3 << "does not exist"
        << "old" << 0 << 0;

    // Every radio at once; the first refuses a frame, the others still end
    // written and verified.
    QTest::newRow("write to every radio, one refusing a frame")
        << QStringList{"write", file("eleven.csv"), "--all", "--json"}
        << twentyChannels([](RadioFaults &f) { f.nakFrame = 3; }) << int(TwoMoreRadios) << 0 << 0 << 3
        << "file=" + file("eleven.csv") + ";radios/0/port=PORT;radios/0/outcome=framesFailed;radios/0/exitCode=3;"
           "radios/0/faults/0/channel=3;radios/0/faults/0/answer=refused;radios/0/backup=*;radios/0/message~vkrtool "
           "restore;radios/1/outcome=written;radios/1/verified=true;radios/1/exitCode=0;radios/2/outcome=written;"
           "radios/2/backup=*;radios/3=(missing);noRadio=[]"
        << file("eleven.csv") << 1 << 3;
    QTest::newRow("read every radio into a folder")
        << QStringList{"read", "--all", "-o", file("every")} << plain << int(TwoMoreRadios) << 0 << 0 << 0
        << "PORT VKR627S: read, 20 channels in use, saved to " + file("every") + "/TAG-VKR627S.csv" << "old" << 1 << 3;
    QTest::newRow("diff against every radio")
        << QStringList{"diff", file("full20.csv"), "radio", "--all"} << plain << int(TwoMoreRadios) << 0 << 0 << 0
        << "3 radios: 3 the same" << "old" << 1 << 3;
    // A port named in VKR_SERIAL_PORTS that holds no radio fails the run.
    QTest::newRow("identify every radio beside a locked port")
        << QStringList{"identify", "--all", "--json"} << plain << int(LockedNeighbour) << 0 << 0 << 3
        << "radios/0/port=PORT;radios/0/model=VKR627S;radios/1=(missing);noRadio/0/problem~it is in use by;exitCode=3"
        << "old" << 0 << 0;
    QTest::newRow("write to every radio, one silent, --expect 3")
        << QStringList{"write", file("eleven.csv"), "--all", "--expect", "3"} << silent << int(TwoMoreRadios) << 0 << 0
        << 3 << "vkrtool: 2 radios found, 3 expected (--expect 3):\n  no radio on PORT: nothing answered, also not "
                "after 3 s of quiet" << file("eleven.csv") << 0 << 2;
    QTest::newRow("identify every radio, none found, as JSON")
        << QStringList{"identify", "--all", "--json"} << silent << int(Plain) << 0 << 0 << 3
        << "radios=[];noRadio/0/port=PORT;noRadio/0/problem~nothing answered;error~no radio on PORT;exitCode=3" << "old"
        << 0 << 0;
    QTest::newRow("identify every radio, one named twice")
        << QStringList{"identify", "--all", "--json"} << plain << int(NamedTwice) << 0 << 0 << 0
        << "radios/0/port=PORT;radios/1=(missing);noRadio=[];exitCode=0" << "old" << 0 << 0;
    QTest::newRow("ports names an empty lock file")
        << QStringList{"ports"} << plain << int(EmptyLockedNeighbour) << 0 << 0 << 0
        << "does not open: the lock file /run/lock/LCK..NEIGHBOUR is empty, so it does not say which program uses the "
           "port; fix: if no program uses the port, remove it" << "old" << 0 << 0;
    // A radio whose write was stopped is deaf for a while: the next run waits.
    QTest::newRow("write right after a stopped write")
        << QStringList{"write", file("eleven.csv"), "--port", "PORT"} << plain << int(StoppedWrite) << 0 << 0 << 0
        << "nothing answered on PORT; a radio whose write was stopped before its end stays deaf until the line has "
           "been quiet for 3 s: asking again then." << file("eleven.csv") << 2 << 1;
    QTest::newRow("write with --all and --port") << QStringList{"write", file("eleven.csv"), "--all", "--port", "PORT"}
                                                 << plain << int(Plain) << 0 << 0 << 2 << "excludes" << "old" << 0 << 0;
    // A dry run reads, and writes nothing.
    QTest::newRow("write dry run says what would change")
        << QStringList{"write", file("eleven.csv"), "--dry-run"} << plain << int(Plain) << 0 << 0 << 1
        << "channel 19: radio: \"OLD19\" 119.475, " + file("eleven.csv")
            + ": (empty)\nthe write would change 20 channels of the VKR627S; nothing was written"
        << "old" << 1 << 1;
    QTest::newRow("write dry run of what the radio holds")
        << QStringList{"write", file("full20.csv"), "--dry-run", "--json"} << plain << int(Plain) << 0 << 0 << 0
        << "dryRun=true;a=radio;outcome=unchanged;differences=[];exitCode=0;backup=*" << "old" << 1 << 1;
    QTest::newRow("write dry run that would empty most channels")
        << QStringList{"write", file("two.csv"), "--dry-run"} << plain << int(Plain) << 0 << 0 << 1
        << "the write would be refused, as it would empty 18 of the 20 channels in use" << "old" << 1 << 1;
    QTest::newRow("write dry run that would be refused as JSON")
        << QStringList{"write", file("two.csv"), "--dry-run", "--json"} << plain << int(Plain) << 0 << 0 << 1
        << "outcome=wouldRefuse;exitCode=1;message~would be refused;differences/19/b/frequency=" << "old" << 1 << 1;
    // Documents for programs.
    QTest::newRow("identify as JSON")
        << QStringList{"identify", "--json"} << plain << int(Plain) << 0 << 0 << 0
        << "port=PORT;model=VKR627S;channelCount=20;outcome=identified;exitCode=0" << "old" << 0 << 0;
    QTest::newRow("read as JSON")
        << QStringList{"read", "--json"} << plain << int(Plain) << 0 << 0 << 0
        << "outcome=read;channels=20;memory/0/channel=0;memory/0/name=OLD0;memory/0/frequency=119.000;"
           "memory/19/frequency=119.475;memory/20=(missing);file=null;backup=*"
        << "old" << 1 << 1;
    QTest::newRow("read as JSON of a memory partly in use")
        << QStringList{"read", "--json"} << plain << int(TwoEmpty) << 0 << 0 << 0
        << "outcome=read;channels=18;memory/5/name=;memory/5/frequency=;memory/19/frequency=119.475" << "old" << 1 << 1;
    QTest::newRow("write as JSON")
        << QStringList{"write", file("eleven.csv"), "--json"} << plain << int(Plain) << 0 << 0 << 0
        << "outcome=written;verified=true;sent=20;differences=[];faults=[];backup=*;dryRun=false;model=VKR627S"
        << file("eleven.csv") << 2 << 1;
    QTest::newRow("diff as JSON")
        << QStringList{"diff", "radio", file("eleven.csv"), "--json"} << plain << int(Plain) << 0 << 0 << 1
        << "a=radio;outcome=differs;differences/0/channel=0;differences/0/a/name=OLD0;differences/0/b/name=NEW;"
           "differences/0/b/frequency=121.500;differences/19/b/frequency=;differences/20=(missing)"
        << "old" << 1 << 1;
    QTest::newRow("check as JSON")
        << QStringList{"check", file("nameonly.csv"), "--json"} << plain << int(Plain) << 0 << 0 << 1
        << "records=2;channelCount=100;problems/0/record=1;problems/0/line=2;problems/0/field=frequency;"
           "problems/0/reason~has no frequency"
        << "old" << 0 << 0;
    QTest::newRow("restore without a backup as JSON")
        << QStringList{"restore", "--json"} << plain << int(Plain) << 0 << 0 << 3
        << "error~there is no backup of a VKR627S;exitCode=3" << "old" << 0 << 0;
}

void VkrtoolTest::withRadio()
{
    QFETCH(QStringList, arguments);
    QFETCH(RadioSettings, radio);
    QFETCH(int, setup);
    QFETCH(int, signal);
    QFETCH(int, signalAfter);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QFETCH(QString, expected);
    QFETCH(int, reads);
    QFETCH(int, backups);

    VirtualRadio target(radio);
    RadioMemory memory = target.memory();
    Channels before = fullMemory(memory.channelCount());
    if (setup & TwoEmpty)
        before[5] = before[6] = Channel();
    MemoryFile::setRecords(memory, before);
    if (setup & ShortFrame)
        memory.setRawFrame(3, memory.frame(3).left(9));
    target.setMemory(memory);
    if (setup & StaleBytes) {
        target.transmit(QByteArray::fromHex("027241"));
        // Sent into the terminal, where they lie unread until the tool starts.
        QTRY_COMPARE_WITH_TIMEOUT(target.sent().toHex(), QByteArray("027241"), 5000);
    }
    QString ports = target.portName();
    std::vector<std::unique_ptr<VirtualRadio>> others;
    for (int k = 0; k < ((setup & TwoMoreRadios) ? 2 : 0); ++k) {
        others.push_back(std::make_unique<VirtualRadio>(twentyChannels()));
        others.back()->setMemory(memory);
        ports += QDir::listSeparator() + others.back()->portName();
    }
    std::unique_ptr<VirtualRadio> locked;
    if (setup & (LockedNeighbour | EmptyLockedNeighbour)) {
        locked = std::make_unique<VirtualRadio>(radio);
        QFile lock(lockFileOf(locked->portName()));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        if (setup & LockedNeighbour)
            lock.write(QByteArray::number(QCoreApplication::applicationPid()).rightJustified(10) + " minicom root\n");
        lock.close();
        ports = locked->portName() + QDir::listSeparator() + ports;
        said.replace(QStringLiteral("NEIGHBOUR"), lockFileOf(locked->portName()).mid(15));
    }
    if (setup & NamedTwice) {
        const QString link = file("link-to-radio");
        QVERIFY(QFile::link(target.portName(), link));
        ports += QDir::listSeparator() + link;
    }
    if (setup & StoppedWrite) {
        // The write command and no more, as a run stopped at once leaves it.
        const int line = ::open(QFile::encodeName(target.portName()).constData(), O_RDWR | O_NOCTTY);
        QVERIFY(line >= 0);
        QCOMPARE(::write(line, "\x02\x4d", 2), ssize_t(2));
        QTRY_VERIFY_WITH_TIMEOUT(target.received().endsWith(QByteArray::fromHex("024d")), 5000);
        ::close(line);
    }
    const QString dataFolder = folder.filePath(QStringLiteral("data-") + QTest::currentDataTag());
    if (setup & BrokenDataFolder)
        QVERIFY(QFile(dataFolder).open(QIODevice::WriteOnly)); // a file where the folder would be
    QStringList replaced = arguments;
    replaced.replaceInStrings(QStringLiteral("PORT"), target.portName());

    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(Link::portListVariable), ports);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataFolder);
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(VKRTOOL_PATH), replaced);
    if (replaced.contains(QStringLiteral("-")))
        tool.write(contentOf(file("eleven.csv")));
    tool.closeWriteChannel();
    QElapsedTimer sinceSignal;
    if (signal != 0) {
        QTRY_VERIFY_WITH_TIMEOUT(target.received().size() >= signalAfter, 60000);
        ::kill(pid_t(tool.processId()), signal);
        sinceSignal.start();
    }
    QVERIFY(tool.waitForFinished(120000));
    const QByteArray results = tool.readAllStandardOutput();
    const QString output = QString::fromUtf8(results + tool.readAllStandardError());
    said.replace(QStringLiteral("PORT"), target.portName());
    said.replace(QStringLiteral("TAG"), target.portName().mid(5).replace(QLatin1Char('/'), QLatin1Char('-')));
    if (arguments.contains(QStringLiteral("--json")))
        QVERIFY2(jsonMismatch(results, said).isEmpty(), qPrintable(jsonMismatch(results, said) + "\n" + output));
    else
        QVERIFY2(output.contains(said), qPrintable(output));
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tool.exitCode(), exitCode);
    // A stop is obeyed within the probe's poll, far inside its quiet times.
    if (signal != 0)
        QVERIFY2(sinceSignal.elapsed() < 2000, qPrintable(QString::number(sinceSignal.elapsed())));

    if (expected == QLatin1String("old")) {
        QCOMPARE(recordsOf(target), before);
        QCOMPARE(target.completedWrites(), 0);
    } else if (!expected.isEmpty()) {
        CsvTable table;
        QVERIFY(table.read(expected));
        Channels written = ChannelCsv::fromTable(table, table.rowCount());
        written.resize(before.size());
        if (others.empty())
            QCOMPARE(recordsOf(target), written);
        for (const auto &other : others)
            QCOMPARE(recordsOf(*other), written);
    }
    if (arguments.contains(QStringLiteral("--dry-run")))
        QVERIFY(!target.received().contains(QByteArray::fromHex("024d"))); // no write command
    if (reads >= 0)
        QCOMPARE(target.received().count(QByteArray::fromHex("0254")), reads);
    if (backups >= 0) {
        const QDir kept(dataFolder + QStringLiteral("/Corvane/VKRFrequencyTool/backups"));
        QCOMPARE(kept.entryList(QDir::Files).size(), backups);
    }
    if (locked) {
        QVERIFY(locked->received().isEmpty());
        QVERIFY(QFile::exists(lockFileOf(locked->portName())));
        QFile::remove(lockFileOf(locked->portName()));
    }
}

void VkrtoolTest::identifyFindsTheRadio()
{
    RadioSettings silent;
    silent.faults.silent = true;
    VirtualRadio nothing(silent);
    VirtualRadio radio(twentyChannels());
    const ProgramRun result = run({"identify"}, nothing.portName() + QDir::listSeparator() + radio.portName());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.output, QStringLiteral("VKR627S, 20 channels, on %1\n").arg(radio.portName()));
}

// A complete read gives the file; an incomplete one gives none at all.
void VkrtoolTest::readCompleteAndIncomplete()
{
    VirtualRadio radio(twentyChannels());
    radio.setChannel(0, "TOWER", "118.100");
    radio.setChannel(3, "ATIS", "126.125");
    ProgramRun result = run({"read", "-o", file("read.csv")}, radio.portName());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(contentOf(file("read.csv")), QByteArray("TOWER;118.100\r\n;\r\n;\r\nATIS;126.125\r\n"));
    // Kept as a backup too: every channel with the frame it came in.
    const QString kept = QRegularExpression(QStringLiteral("kept as backup: (\\S+)")).match(result.output).captured(1);
    QCOMPARE(contentOf(kept), "TOWER;118.100;76 14 54 4F 57 45 52 20 20 20\r\n" + emptyBackupLine.repeated(2)
                                  + "ATIS;126.125;7E 19 41 54 49 53 20 20 20 20\r\n" + emptyBackupLine.repeated(16));

    radio.setSettings(twentyChannels([](RadioFaults &f) { f.stopAfterFrames = 5; }));
    result = run({"read", "-o", file("partly.csv")}, radio.portName());
    QCOMPARE(result.exitCode, 3);
    QVERIFY2(result.output.contains("5 of 20 channels came"), qPrintable(result.output));
    QVERIFY(!QFile::exists(file("partly.csv")));

    // A byte of noise in front of a frame: the shifted frame is no channel.
    radio.setSettings(twentyChannels([](RadioFaults &f) { f.strayByteBeforeFrame = 3; }));
    result = run({"read", "-o", file("shifted.csv")}, radio.portName());
    QCOMPARE(result.exitCode, 3);
    QVERIFY2(result.output.contains("1 of them garbled"), qPrintable(result.output));
    QVERIFY(!QFile::exists(file("shifted.csv")));
}

void VkrtoolTest::writeBacksUpAndVerifies()
{
    VirtualRadio radio(twentyChannels());
    radio.setChannel(0, "TOWER", "118.100");
    radio.setChannel(2, "ATIS", "126.125");
    QFile input(file("new.csv"));
    QVERIFY(input.open(QIODevice::WriteOnly) && input.write("GROUND;121.900\r\n;\r\nINFO;122.805\r\n") > 0);
    input.close();

    const ProgramRun result = run({"write", file("new.csv")}, radio.portName());
    QCOMPARE(result.exitCode, 0);
    const QRegularExpression backupLine(QStringLiteral("backup of the radio's memory: (\\S+)"));
    const QString backup = backupLine.match(result.output).captured(1);
    QVERIFY2(backup.startsWith(folder.filePath(QStringLiteral("data"))), qPrintable(result.output));
    QCOMPARE(contentOf(backup), "TOWER;118.100;76 14 54 4F 57 45 52 20 20 20\r\n" + emptyBackupLine
                                    + "ATIS;126.125;7E 19 41 54 49 53 20 20 20 20\r\n" + emptyBackupLine.repeated(17));
    QCOMPARE(radio.memory().channel(0).name, QStringLiteral("GROUND"));
    QCOMPARE(radio.memory().channel(2).frequency.text(), QStringLiteral("122.805"));
    QCOMPARE(radio.memory().channel(3).frequency.text(), QString());
    QVERIFY2(result.output.contains("verified"), qPrintable(result.output));

    // The newest backup of the model goes back in, with a backup first.
    const ProgramRun restored = run({"restore"}, radio.portName());
    QCOMPARE(restored.exitCode, 0);
    QVERIFY2(restored.output.contains("restoring " + backup), qPrintable(restored.output));
    QCOMPARE(radio.memory().channel(0).name, QStringLiteral("TOWER"));
    QCOMPARE(radio.memory().channel(2).name, QStringLiteral("ATIS"));
    const ProgramRun listed = run({"backups"});
    QCOMPARE(listed.output.count(QStringLiteral("  VKR627S  ")), 2); // the write's and the restore's

    // Eleven channels over two, one of them refused: putting the two back
    // empties most of what the radio now holds, and the command printed to
    // do it, run as printed, does so.
    radio.setSettings(twentyChannels([](RadioFaults &f) { f.nakFrame = 9; }));
    const ProgramRun failed = run({"write", file("eleven.csv")}, radio.portName());
    QCOMPARE(failed.exitCode, 3);
    QCOMPARE(radio.memory().frame(10).toHex(' '), QByteArray("79 64 4e 45 57 20 20 20 20 20"));
    const QRegularExpressionMatch hint =
        QRegularExpression(QStringLiteral("restore the backup with: vkrtool restore \"(\\S+)\"(?: --port \\S+)? --force \\(")).match(failed.output);
    QVERIFY2(hint.hasMatch(), qPrintable(failed.output));
    // Still refused: the failed restore advises that backup again, not the half-written radio it kept.
    const ProgramRun again = run({"restore", hint.captured(1), "--force"}, radio.portName());
    QCOMPARE(again.exitCode, 3);
    QVERIFY2(again.output.contains("the restore failed: the radio refused channel 9; the radio may hold a mix of old and new "
                                   "channels; restore it again with: vkrtool restore \"" + hint.captured(1) + "\" --port "
                                   + radio.portName() + " --force (the radio as it was just before this restore is kept in \""),
             qPrintable(again.output));
    radio.setSettings(twentyChannels());
    const ProgramRun undone = run({"restore", hint.captured(1), "--force"}, radio.portName());
    QCOMPARE(undone.exitCode, 0);
    QCOMPARE(radio.memory().frame(0).toHex(' '), QByteArray("76 14 54 4f 57 45 52 20 20 20"));
    QCOMPARE(radio.memory().frame(2).toHex(' '), QByteArray("7e 19 41 54 49 53 20 20 20 20"));
    for (const int emptied : {1, 3, 8, 10})
        QCOMPARE(radio.memory().frame(emptied).toHex(' '), QByteArray("76 00 20 20 20 20 20 20 20 20"));
}

void VkrtoolTest::verifyFindsCorruptedChannel()
{
    VirtualRadio radio(twentyChannels([](RadioFaults &f) { f.corruptChannel = 1; }));
    const ProgramRun result = run({"write", file("good.csv"), "--no-backup"}, radio.portName());
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.output.contains("channel 1: expected (no name) 121.500, found (no name) 121.505"),
             qPrintable(result.output));
    QVERIFY2(result.output.contains("no backup was made"), qPrintable(result.output));

    // Every frame refused: the write itself failed, and says where.
    radio.setSettings(twentyChannels([](RadioFaults &f) { f.nakEveryFrame = true; }));
    const ProgramRun refused = run({"write", file("good.csv")}, radio.portName());
    QCOMPARE(refused.exitCode, 3);
    QVERIFY2(refused.output.contains("the radio refused channels 0, 1, 2,"), qPrintable(refused.output));
    QVERIFY2(refused.output.contains("vkrtool restore \""), qPrintable(refused.output));
    QVERIFY2(!refused.output.contains("--force"), qPrintable(refused.output)); // it empties nothing

    // A memory that really holds a channel no radio stores (118.020) is
    // backed up all the same, once a second read agrees, and then written.
    radio.setSettings(twentyChannels());
    radio.setFrame(3, QByteArray::fromHex("76042020202020202020"));
    radio.clearLogs();
    const ProgramRun odd = run({"write", file("good.csv")}, radio.portName());
    QCOMPARE(odd.exitCode, 0);
    const QString backup = QRegularExpression(QStringLiteral("backup of the radio's memory: (\\S+)")).match(odd.output).captured(1);
    QCOMPARE(contentOf(backup), "TOWER;118.000;76 00 54 4F 57 45 52 20 20 20\r\n;121.505;79 65 20 20 20 20 20 20 20 20\r\n"
                                    + emptyBackupLine + ";118.020;76 04 20 20 20 20 20 20 20 20\r\n"
                                    + emptyBackupLine.repeated(16));
    QCOMPARE(radio.received().count(QByteArray::fromHex("0254")), 3); // two reads of the backup, one to verify
}

// A port the user may not open: the group that owns it and the command that
// lets the user in, or, for a port of root's group, a udev rule; the same
// reason from identify as from ports. Run as nobody.
void VkrtoolTest::portWithoutPermission_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("group"); // for root: the port's group
    QTest::addColumn<int>("mode");      // for root: the port's permissions
    QTest::addColumn<QString>("advice"); // %1 the group, %2 the user

    QTest::newRow("ports: group dialout") << "ports" << "dialout" << 0660 << "sudo usermod -aG %1 %2";
    QTest::newRow("identify: group dialout") << "identify" << "dialout" << 0660 << "fix: sudo usermod -aG %1 %2";
    QTest::newRow("ports: readable, not writable") << "ports" << "dialout" << 0664 << "sudo usermod -aG %1 %2";
    QTest::newRow("ports: group root wants a udev rule")
        << "ports" << "root" << 0660 << "/etc/udev/rules.d/99-vkr-radio.rules";
}

void VkrtoolTest::portWithoutPermission()
{
    QFETCH(QString, command);
    QFETCH(QString, group);
    QFETCH(int, mode);
    QFETCH(QString, advice);
    VirtualRadio radio;
    const QByteArray path = QFile::encodeName(radio.portName());
    QString user;
    if (geteuid() == 0) {
        const ::group *owner = getgrnam(group.toLocal8Bit().constData());
        QVERIFY(owner && chown(path.constData(), 0, owner->gr_gid) == 0);
        QVERIFY(chmod(path.constData(), mode_t(mode)) == 0);
        user = QStringLiteral("nobody");
    } else {
        QVERIFY(chmod(path.constData(), 0060) == 0); // the owner itself has no access
        struct stat status;
        QVERIFY(stat(path.constData(), &status) == 0);
        group = QString::fromLocal8Bit(getgrgid(status.st_gid)->gr_name);
        user = QString::fromLocal8Bit(getpwuid(geteuid())->pw_name);
    }
    qputenv(Link::portListVariable, path);
    const NobodyRun result = runAsNobody(QStringLiteral(VKRTOOL_PATH), {command});
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 3);
    const QString said = QString::fromUtf8(result.output + result.errors);
    QVERIFY2(said.contains(QStringLiteral("belongs to group %1").arg(group)), qPrintable(said));
    QVERIFY2(said.contains(advice.arg(group, user)), qPrintable(said));
    if (group == QLatin1String("root"))
        QVERIFY2(!said.contains(QStringLiteral("usermod -aG root")), qPrintable(said));
}

// The wire trace of a read: the program and its version, the port's
// settings, then one line per burst in time order, with its direction and
// bytes; a frame split by a pause is two bursts. The read through the
// trace is whole.
void VkrtoolTest::traceRecordsTheLine()
{
    VirtualRadio radio(twentyChannels([](RadioFaults &f) {
        // Its first 5 bytes, 100 ms of silence, the other 5: half the quiet
        // that ends a frame, and twice the gap the trace must show, so that
        // a late turn of either side on a loaded machine changes neither.
        f.pauseFrame = 1;
        f.pauseTime = 100;
    }));
    radio.setChannel(1, "TOWER", "121.500");
    const ProgramRun result = run({"read", "-o", file("traced.csv"), "--trace", file("trace.txt")}, radio.portName());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(contentOf(file("traced.csv")).left(19), QByteArray(";\r\nTOWER;121.500\r\n"));
    const QStringList lines = QString::fromUtf8(contentOf(file("trace.txt"))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY2(lines.value(0).startsWith(QStringLiteral("# vkrtool 1.4 ")), qPrintable(lines.value(0)));
    const QString port = radio.portName();
    const QStringList expected{
        port + "  opened: 9600 baud, 8 data bits, no parity, 1 stop bit, no flow control",
        port + "  >  02 72 10 62  |.r.b|",
        port + "  <  02 72 41  |.rA|",
        port + "  >  02 50  |.P|",
        port + "  <  56 4B 52 36 32 37 53 20 56 31 2E 31 32  |VKR627S V1.12|",
        port + "  >  02 54  |.T|",
        port + "  <  76 00 20 20 20 20 20 20 20 20  |v.        |",
        port + "  >  06  |.|",
        port + "  <  79 64 54 4F 57  |ydTOW|",
        port + "  <  45 52 20 20 20  |ER   |",
        port + "  >  06  |.|",
    };
    QStringList traffic;
    QVector<double> times;
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1Char('#')))
            continue;
        times << line.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty).toDouble();
        QVERIFY2(times.size() == 1 || times.last() >= times.at(times.size() - 2), qPrintable(line));
        traffic << line.trimmed().section(QStringLiteral("  "), 1);
    }
    QCOMPARE(traffic.mid(0, expected.size()), expected);
    QVERIFY2(times.at(9) - times.at(8) >= 45, qPrintable(traffic.join('\n')));
    QCOMPARE(traffic.count(port + "  >  06  |.|"), 20);
    QCOMPARE(traffic.last(), port + "  closed");
}

// Without files named, the data is downloaded on first use and kept; an
// update that fails leaves it in use. vkrtool runs while this process
// serves the files, so it is waited for with the event loop running;
// what it said is its standard output, then its standard error.
void VkrtoolTest::airfieldDataDownloaded()
{
    qRegisterMetaType<QProcess::ExitStatus>();
    LocalHttpServer server;
    server.answers.insert("/airports.csv", LocalHttpServer::answer("200 OK", contentOf(file("places.csv"))));
    server.answers.insert("/airport-frequencies.csv", LocalHttpServer::answer("200 OK", contentOf(file("frequencies.csv"))));
    const QString dataFolder = file("downloads");
    const auto runWhileServing = [&](const QStringList &arguments) {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dataFolder);
        environment.insert(QStringLiteral("VKR_OURAIRPORTS_URL"), server.address());
        tool.setProcessEnvironment(environment);
        QSignalSpy finished(&tool, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished));
        tool.start(QStringLiteral(VKRTOOL_PATH), arguments);
        return ProgramRun{finished.wait(60000) ? tool.exitCode() : -1,
                          QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError())};
    };
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    const QString kept = dataFolder + QStringLiteral("/Corvane/VKRFrequencyTool/airfields");

    ProgramRun result = runWhileServing({"airfields", "--near", "EDDF", "--nearest", "1"});
    QCOMPARE(result.output, "EDDF TWR;119.900\r\nvkrtool: airfield data of " + today + " downloaded into " + kept
                                + "\nvkrtool: 1 channel of 1 airfield; 1 more beyond 1 per airfield left out\n");
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(server.requested, QByteArrayList({"/airports.csv", "/airport-frequencies.csv"}));

    server.answers.insert("/airports.csv", LocalHttpServer::answer("404 Not Found", "no such file", "text/plain"));
    const QString failed = "vkrtool: could not download airports.csv from " + server.address()
        + ": the server answered 404 Not Found; the airfield data of " + today + " stays in use.\n";
    result = runWhileServing({"airfields", "--update", "eddf"});
    QCOMPARE(result.output, "EDDF TWR;119.900\r\nEDDF ATI;118.010\r\n" + failed + "vkrtool: 2 channels of 1 airfield\n");
    QCOMPARE(result.exitCode, 0);
    result = runWhileServing({"airfields", "--update"});
    QCOMPARE(result.output, failed);
    QCOMPARE(result.exitCode, 3);
    QCOMPARE(contentOf(kept + QStringLiteral("/airports.csv")), contentOf(file("places.csv")));
}

// A run held by the outside (standard input nobody writes to, a FIFO
// nobody opens at its other end) ends within 0.5 s of each signal, with
// the signal's code and, with --json, its document.
void VkrtoolTest::blockedWaitEndsOnSignal_data()
{
    QTest::addColumn<QStringList>("arguments"); // FIFO: a FIFO of the row's own
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("exitCode");

    const QVector<QPair<QString, QStringList>> waits{
        {"check on a silent pipe", {"check", "-"}},
        {"write on a silent pipe", {"write", "-", "--json"}},
        {"check of a FIFO nobody writes", {"check", "FIFO"}},
        {"trace into a FIFO nobody reads", {"identify", "--trace", "FIFO"}},
        {"convert into a FIFO nobody reads", {"convert", file("good.csv"), "FIFO"}},
    };
    const QVector<QPair<int, int>> stops{{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}};
    for (const auto &wait : waits) {
        for (const auto &stop : stops)
            QTest::newRow(qPrintable(QStringLiteral("%1, signal %2").arg(wait.first).arg(stop.first)))
                << wait.second << stop.first << stop.second;
    }
}

void VkrtoolTest::blockedWaitEndsOnSignal()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, signal);
    QFETCH(int, exitCode);
    const QString fifo = file("fifo-") + QString::fromLatin1(QTest::currentDataTag()).section(QLatin1Char(','), 0, 0);
    if (!QFileInfo::exists(fifo))
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    arguments.replaceInStrings(QStringLiteral("FIFO"), fifo);
    RadioSettings silent;
    silent.faults.silent = true;
    VirtualRadio radio(silent);
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(Link::portListVariable), radio.portName());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), folder.filePath(QStringLiteral("data")));
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(VKRTOOL_PATH), arguments); // its standard input stays open, and silent
    QVERIFY(tool.waitForStarted());
    // Blocked: it catches the signal, and sleeps in the system.
    const QString proc = QStringLiteral("/proc/%1/").arg(tool.processId());
    const auto catches = [&] {
        const QString status = QString::fromLatin1(contentOf(proc + QStringLiteral("status")));
        const qulonglong caught = QRegularExpression(QStringLiteral("SigCgt:\\s*([0-9a-f]+)")).match(status).captured(1).toULongLong(nullptr, 16);
        return (caught >> (signal - 1)) & 1;
    };
    QTRY_VERIFY_WITH_TIMEOUT(catches() && contentOf(proc + QStringLiteral("stat")).split(' ').value(2) == "S", 10000);
    QElapsedTimer sinceSignal;
    ::kill(pid_t(tool.processId()), signal);
    sinceSignal.start();
    QVERIFY(tool.waitForFinished(5000));
    QVERIFY2(sinceSignal.elapsed() < 500, qPrintable(QString::number(sinceSignal.elapsed())));
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tool.exitCode(), exitCode);
    const QByteArray errors = tool.readAllStandardError();
    QVERIFY2(errors.contains(" while "), errors.constData());
    if (arguments.contains(QStringLiteral("--json")))
        QCOMPARE(QJsonDocument::fromJson(tool.readAllStandardOutput()).object().value("exitCode").toInt(), exitCode);
}

VKR_TEST_MAIN(VkrtoolTest)
#include "tst_vkrtool.moc"
