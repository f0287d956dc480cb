// vkrtool as a user runs it: a separate process, against virtual radios on
// pseudo-terminals, with the real port and time-outs.
#include "TestMain.h"

#include "ProgramRun.h"
#include "RunAsNobody.h"
#include "SerialPorts.h"
#include "VirtualRadio.h"

#include <QTemporaryDir>
#include <QtTest>

#include <grp.h>
#include <pwd.h>

namespace {

// Ports named for the scan, and a data folder of the test's own for backups.
ProgramRun vkrtool(const QStringList &arguments, const QString &ports, const QString &dataFolder)
{
    return runProgram(QStringLiteral(VKRTOOL_PATH), arguments,
                      {{QString::fromLatin1(Link::portListVariable), ports}, {QStringLiteral("XDG_DATA_HOME"), dataFolder}});
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

RadioSettings twentyChannels(void (*change)(RadioFaults &) = [](RadioFaults &) {})
{
    RadioSettings settings;
    settings.model = 1;
    change(settings.faults);
    return settings;
}

} // namespace

class VkrtoolTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void withoutRadio_data();
    void withoutRadio();
    void identifyFindsTheRadio();
    void readCompleteAndIncomplete();
    void writeBacksUpAndVerifies();
    void verifyFindsCorruptedChannel();
    void portWithoutPermission();

private:
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
        {"long.csv", QByteArray("A;118.000\r\n").repeated(101)},
        {"semicolons.csv", "Location;Name;Frequency\r\n1;TOWER;118.100\r\n"},
        {"frequencies.csv", "\"id\",\"airport_ident\",\"type\",\"description\",\"frequency_mhz\"\n"
                            "1,\"EDDF\",\"TWR\",\"TOWER, NORTH\",119.9\n2,\"EDDF\",\"ATIS\",\"ATIS\",118.0083\n"},
    };
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QFile out(file(it.key()));
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(it.value()) == it.value().size());
    }
}

void VkrtoolTest::withoutRadio_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");

    QTest::newRow("help lists the subcommands") << QStringList{"--help"} << 0 << "diff";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "1.4";
    QTest::newRow("unknown subcommand") << QStringList{"bogus"} << 2 << "no subcommand \"bogus\"";
    QTest::newRow("unknown option") << QStringList{"read", "--bogus"} << 2 << "--bogus";
    QTest::newRow("missing argument") << QStringList{"check"} << 2 << "FILE is required";
    QTest::newRow("check: clean") << QStringList{"check", file("good.csv")} << 0 << "no problems";
    QTest::newRow("check: lower case, line counted") << QStringList{"check", file("lower.csv")} << 1
                                                     << "lower.csv:3: channel 1: the name \"Tower\"";
    QTest::newRow("check: off the raster") << QStringList{"check", file("raster.csv")} << 1 << "\"118.003\"";
    QTest::newRow("check: more than a radio holds") << QStringList{"check", file("long.csv")} << 1
                                                    << "long.csv:101: channel 100";
    QTest::newRow("check: no such file") << QStringList{"check", file("none.csv")} << 3 << "does not exist";
    QTest::newRow("diff: same as stored") << QStringList{"diff", file("spaced.csv"), file("joined.csv")} << 0 << "";
    QTest::newRow("diff: differs") << QStringList{"diff", file("good.csv"), file("joined.csv")} << 1
                                   << "channel 1: " + file("good.csv") + ": (no name) 121.500, " + file("joined.csv")
            + ": \"X Y\" 121.500";
    QTest::newRow("airfields by ident") << QStringList{"airfields", "--frequencies", file("frequencies.csv"), "EDDF"}
                                        << 0 << "EDDF TWR;119.900\r\nEDDF ATI;118.010\r\n";
    QTest::newRow("airfields near no point") << QStringList{"airfields", "--frequencies", file("frequencies.csv"),
                                                            "--near", "north", "--radius-km", "5"}
                                             << 2 << "LAT,LON";
    QTest::newRow("airfields near without a radius")
        << QStringList{"airfields", "--frequencies", file("frequencies.csv"), "--airports", file("frequencies.csv"),
                       "--near", "50.03,8.57"}
        << 2 << "--near needs --radius-km";
    QTest::newRow("airfields radius without near") << QStringList{"airfields", "--frequencies", file("frequencies.csv"),
                                                                  "--radius-km", "60", "EDDF"}
                                                   << 2 << "--radius-km needs --near";
    QTest::newRow("airfields one per airfield, summary")
        << QStringList{"airfields", "--frequencies", file("frequencies.csv"), "--per-airfield", "1", "eddf"} << 0
        << "EDDF TWR;119.900\r\nvkrtool: 1 channel of 1 airfield; 1 more beyond 1 per airfield left out\n";
    QTest::newRow("convert to CHIRP") << QStringList{"convert", file("good.csv"), file("chirp.csv")} << 0 << "";
    QTest::newRow("convert a CHIRP file written with semicolons")
        << QStringList{"convert", file("semicolons.csv"), file("out.csv")} << 1
        << "no columns \"Location\", \"Frequency\" (its fields are separated by \";\", not by \",\")";
    QFile unwritable(file("none/chirp.csv")); // the system's words for it, in the user's language
    QVERIFY(!unwritable.open(QIODevice::WriteOnly));
    QTest::newRow("convert into a missing folder") << QStringList{"convert", file("good.csv"), file("none/chirp.csv")}
                                                   << 3 << file("none/chirp.csv") + ": " + unwritable.errorString();
    QTest::newRow("identify: nothing answers") << QStringList{"identify"} << 3 << "vkrtool ports";
    QTest::newRow("write: a name without frequency, before any radio")
        << QStringList{"write", file("nameonly.csv")} << 1 << "nameonly.csv:2: channel 1: the name \"ATIS\" has no frequency";
    QTest::newRow("write: nameless 118.000 would be the empty channel")
        << QStringList{"write", file("nameless.csv")} << 1 << "the radio's empty channel";
    QTest::newRow("backups: none yet") << QStringList{"backups"} << 0 << "no backups in";
    QTest::newRow("restore: no such backup") << QStringList{"restore", file("none.csv")} << 3 << "there is no backup";
}

void VkrtoolTest::withoutRadio()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    RadioSettings silent;
    silent.faults.silent = true;
    VirtualRadio radio(silent);
    const ProgramRun result = run(arguments, radio.portName());
    QVERIFY2(result.output.contains(said), qPrintable(result.output));
    QCOMPARE(result.exitCode, exitCode);
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
    // Kept as a backup too.
    const QString kept = QRegularExpression(QStringLiteral("kept as backup: (\\S+)")).match(result.output).captured(1);
    QCOMPARE(contentOf(kept), contentOf(file("read.csv")));

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
    QCOMPARE(contentOf(backup), QByteArray("TOWER;118.100\r\n;\r\nATIS;126.125\r\n"));
    QCOMPARE(radio.memory().channel(0).name, QStringLiteral("GROUND"));
    QCOMPARE(radio.memory().channel(2).frequency, QStringLiteral("122.805"));
    QCOMPARE(radio.memory().channel(3).frequency, QString());
    QVERIFY2(result.output.contains("verified"), qPrintable(result.output));

    // The newest backup of the model goes back in, with a backup first.
    const ProgramRun restored = run({"restore"}, radio.portName());
    QCOMPARE(restored.exitCode, 0);
    QVERIFY2(restored.output.contains("restoring " + backup), qPrintable(restored.output));
    QCOMPARE(radio.memory().channel(0).name, QStringLiteral("TOWER"));
    QCOMPARE(radio.memory().channel(2).name, QStringLiteral("ATIS"));
    const ProgramRun listed = run({"backups"});
    QCOMPARE(listed.output.count(QStringLiteral("  VKR627S  ")), 2); // the write's and the restore's
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

    // A memory that really holds a channel no radio stores (118.020) is
    // backed up all the same, once a second read agrees, and then written.
    radio.setSettings(twentyChannels());
    radio.setFrame(3, QByteArray::fromHex("76042020202020202020"));
    radio.clearLogs();
    const ProgramRun odd = run({"write", file("good.csv")}, radio.portName());
    QCOMPARE(odd.exitCode, 0);
    const QString backup = QRegularExpression(QStringLiteral("backup of the radio's memory: (\\S+)")).match(odd.output).captured(1);
    QCOMPARE(contentOf(backup), QByteArray("TOWER;118.000\r\n;121.505\r\n;\r\n;118.020\r\n"));
    QCOMPARE(radio.received().count(QByteArray::fromHex("0254")), 3); // two reads of the backup, one to verify
}

// A port the user may not open: the group that owns it, and the command
// that lets the user in.
void VkrtoolTest::portWithoutPermission()
{
    VirtualRadio radio;
    const QByteArray path = QFile::encodeName(radio.portName());
    QString group, user;
    if (geteuid() == 0) {
        const ::group *dialout = getgrnam("dialout");
        QVERIFY(dialout && chown(path.constData(), uid_t(-1), dialout->gr_gid) == 0);
        QVERIFY(chmod(path.constData(), 0660) == 0);
        group = QStringLiteral("dialout");
        user = QStringLiteral("nobody");
    } else {
        QVERIFY(chmod(path.constData(), 0060) == 0); // the owner itself has no access
        struct stat status;
        QVERIFY(stat(path.constData(), &status) == 0);
        group = QString::fromLocal8Bit(getgrgid(status.st_gid)->gr_name);
        user = QString::fromLocal8Bit(getpwuid(geteuid())->pw_name);
    }
    qputenv(Link::portListVariable, path);
    const NobodyRun result = runAsNobody(QStringLiteral(VKRTOOL_PATH), {"ports"});
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 3);
    const QString said = QString::fromUtf8(result.output);
    QVERIFY2(said.contains(QStringLiteral("belongs to group %1").arg(group)), qPrintable(said));
    QVERIFY2(said.contains(QStringLiteral("sudo usermod -aG %1 %2").arg(group, user)), qPrintable(said));
}

VKR_TEST_MAIN(VkrtoolTest)
#include "tst_vkrtool.moc"
