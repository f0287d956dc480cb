// Writing channel CSV files: the bytes written for a table, the records
// read back, the round trip, and saves that fail without harming the file
// that was there before.
#include "ChannelCsv.h"
#include "ChannelText.h"
#include "CsvTable.h"
#include "FileContent.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include "RunAsNobody.h"

#include <QScopeGuard>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace {

// Records from "name|frequency" texts.
Channels recordsOf(const QStringList &rows)
{
    Channels records;
    for (const QString &row : rows) {
        const QStringList fields = row.split(QLatin1Char('|'));
        records.append(channelOf(fields.value(0), fields.value(1)));
    }
    return records;
}

QStringList textsOf(const Channels &records)
{
    QStringList rows;
    for (const Channel &record : records)
        rows << record.name + QLatin1Char('|') + record.frequency.text();
    return rows;
}

Channels emptyRecords(int count)
{
    return Channels(count);
}

// A valid channel name: 0 to 8 characters of upper-case letters (some of
// them beyond ASCII), digits and spaces.
QString randomName(QRandomGenerator &random)
{
    static const QString alphabet = QString::fromUtf8("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ÄÖÜÅÉÑØ");
    QString name;
    const int length = random.bounded(0, 9);
    for (int k = 0; k < length; ++k)
        name += alphabet.at(random.bounded(alphabet.size()));
    return name;
}

// A frequency on the air-band raster, 118.000 to 136.980.
QString randomFrequency(QRandomGenerator &random)
{
    for (;;) {
        const int megahertz = random.bounded(118, 137);
        const int kilohertz = random.bounded(0, 1000);
        const int ending = kilohertz % 100;
        if (ending % 5 != 0 || ending == 20 || ending == 45 || ending == 70 || ending == 95)
            continue;
        if (megahertz == 136 && kilohertz > 980)
            continue;
        return QStringLiteral("%1.%2").arg(megahertz).arg(kilohertz, 3, 10, QLatin1Char('0'));
    }
}

Channels randomTable(QRandomGenerator &random)
{
    Channels records(random.bounded(2) ? 100 : 20);
    const int filled = random.bounded(0, records.size() + 1);
    for (int k = 0; k < filled; ++k) {
        Channel &record = records[random.bounded(records.size())];
        switch (random.bounded(4)) {
        case 0:
            record.name = randomName(random);
            break;
        case 1:
            record.frequency = Frequency::fromText(randomFrequency(random));
            break;
        default:
            record.name = randomName(random);
            record.frequency = Frequency::fromText(randomFrequency(random));
            break;
        }
    }
    return records;
}

// The records a file gives back for a table of `count` channels: rows
// without a record are empty.
Channels loadBack(const QByteArray &content, int count)
{
    CsvTable table;
    if (!table.readBytes(content))
        return {};
    Channels records = ChannelCsv::fromTable(table, unsigned(count));
    records.resize(count);
    return records;
}

#ifdef Q_OS_UNIX
// Lowers this process's file-size limit for as long as it lives, with the
// signal the kernel sends at the limit ignored, so writes beyond the limit
// fail the way they do on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        active = getrlimit(RLIMIT_FSIZE, &previous) == 0;
        rlimit lowered = previous;
        lowered.rlim_cur = bytes;
        active = active && setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        if (active)
            setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }
    bool isActive() const { return active; }

private:
    rlimit previous{};
    void (*previousHandler)(int) = nullptr;
    bool active = false;
};
#endif

} // namespace

class CsvWriterTest : public QObject
{
    Q_OBJECT

private slots:
    void toBytes_data();
    void toBytes();
    void fromTable_data();
    void fromTable();
    void roundTrip();
    void writeFile();
    void writeFileReplacesLongerFile();
    void writeFileByUnicodeName();
    void writeFileThatDoesNotOpen_data();
    void writeFileThatDoesNotOpen();
    void writeFileWhileDiskFills_data();
    void writeFileWhileDiskFills();
    void writeFileInReadOnlyFolder();
};

void CsvWriterTest::toBytes_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("name and frequency, empty name, empty frequency")
        << QStringList{"TOWER|118.000", "|121.500", "ATIS|"}
        << QByteArray("TOWER;118.000\r\n;121.500\r\nATIS;\r\n");
    QTest::newRow("CR LF after the last record") << QStringList{"A|118.000"} << QByteArray("A;118.000\r\n");
    QTest::newRow("no records") << QStringList{} << QByteArray();
    QTest::newRow("only empty rows") << textsOf(emptyRecords(100)) << QByteArray();
    QTest::newRow("row 0 empty") << QStringList{"|", "A|118.000"} << QByteArray(";\r\nA;118.000\r\n");
    QTest::newRow("gap keeps later channels in place")
        << QStringList{"A|118.000", "|", "|", "B|119.000", "|"}
        << QByteArray("A;118.000\r\n;\r\n;\r\nB;119.000\r\n");
    QTest::newRow("empty rows at the end left out") << (QStringList{"A|118.000"} + textsOf(emptyRecords(99)))
                                                    << QByteArray("A;118.000\r\n");
    QTest::newRow("only the last channel filled") << (textsOf(emptyRecords(99)) + QStringList{"LAST|136.975"})
                                                  << QByteArray(";\r\n").repeated(99) + "LAST;136.975\r\n";
    QTest::newRow("invalid frequencies as held")
        << QStringList{"A|200.000", "B|136.985", "C|12"} << QByteArray("A;200.000\r\nB;136.985\r\nC;12\r\n");
    QTest::newRow("UTF-8") << QStringList{QString::fromUtf8("KÖLN|118.000")} << QByteArray("K\xC3\x96LN;118.000\r\n");
    QTest::newRow("spaces kept") << QStringList{" A B |118.000"} << QByteArray(" A B ;118.000\r\n");
    QTest::newRow("one-character name") << QStringList{"A|118.000"} << QByteArray("A;118.000\r\n");
    QTest::newRow("separator in a name as comma") << QStringList{"a;\"B|121.500"}
                                                  << QByteArray("a,\"B;121.500\r\n");
}

void CsvWriterTest::toBytes()
{
    QFETCH(QStringList, rows);
    QFETCH(QByteArray, bytes);
    QCOMPARE(ChannelCsv::toBytes(recordsOf(rows)), bytes);
}

void CsvWriterTest::fromTable_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("maxRecords");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("name and frequency") << QByteArray("TOWER;118.000\r\n;121.500\r\n") << 100
                                        << QStringList{"TOWER|118.000", "|121.500"};
    QTest::newRow("no separator: name only") << QByteArray("ATIS\r\n") << 100 << QStringList{"ATIS|"};
    QTest::newRow("lone separator: empty row") << QByteArray(";\r\nA;1\r\n") << 100 << QStringList{"|", "A|1"};
    QTest::newRow("third field ignored") << QByteArray("A;118.000;x\r\n") << 100 << QStringList{"A|118.000"};
    QTest::newRow("more records than channels") << QByteArray("A;1\r\nB;2\r\nC;3\r\n") << 2
                                                << QStringList{"A|1", "B|2"};
    QTest::newRow("zero bytes kept, never a cut") << QByteArray("A\0B;1\0" "2\r\n", 9) << 100
                                                 << QStringList{QString::fromUtf8("A\0B|1\0" "2", 7)};
    QTest::newRow("Windows-1252 shown right") << QByteArray("K\xD6LN;90\xB0\r\nA\x96" "B;1\r\n") << 100
                                              << QStringList{QString::fromUtf8("KÖLN|90°"), "A-B|1"};
    QTest::newRow("UTF-8 shown right") << QByteArray("K\xC3\x96LN;118.000\r\n") << 100
                                       << QStringList{QString::fromUtf8("KÖLN|118.000")};
    QTest::newRow("quoted fields") << QByteArray("\"TOWER\";\"118.000\"\r\n") << 100
                                   << QStringList{"TOWER|118.000"};
    // What a name with a separator was written as loads back in its place.
    QTest::newRow("comma and quote in a name") << QByteArray("a,\"B;121.500\r\n") << 100
                                               << QStringList{"a,\"B|121.500"};
}

void CsvWriterTest::fromTable()
{
    QFETCH(QByteArray, content);
    QFETCH(int, maxRecords);
    QFETCH(QStringList, rows);
    CsvTable table;
    QVERIFY(table.readBytes(content));
    QCOMPARE(textsOf(ChannelCsv::fromTable(table, unsigned(maxRecords))), rows);
}

// Any table of valid names and frequencies, written and read back, gives
// the same channels in the same rows.
void CsvWriterTest::roundTrip()
{
    QRandomGenerator random(4711);
    for (int round = 0; round < 2000; ++round) {
        const Channels records = randomTable(random);
        const QByteArray bytes = ChannelCsv::toBytes(records);
        QCOMPARE(textsOf(loadBack(bytes, records.size())), textsOf(records));
    }
    const Channels edges = recordsOf({QString::fromUtf8("Ö|118.000"), "A|", "|118.005", "|",
                                            QString::fromUtf8("ÄÖÜÅÉÑØ |136.980"), "        |120.000"});
    QCOMPARE(textsOf(loadBack(ChannelCsv::toBytes(edges), edges.size())), textsOf(edges));
}

void CsvWriterTest::writeFile()
{
    QTemporaryDir folder;
    const QString fileName = folder.filePath("channels.csv");
    const Channels records = recordsOf({"TOWER|118.000", "|121.500", "ATIS|"});
    QVERIFY(ChannelCsv::writeFile(fileName, records));
    QCOMPARE(contentOf(fileName), QByteArray("TOWER;118.000\r\n;121.500\r\nATIS;\r\n"));
    QCOMPARE(folderEntries(folder.path()), QStringList{"channels.csv"});

    CsvTable table;
    QVERIFY(table.read(fileName));
    QCOMPARE(textsOf(ChannelCsv::fromTable(table, 100)), textsOf(records));
}

void CsvWriterTest::writeFileReplacesLongerFile()
{
    QTemporaryDir folder;
    const QString fileName = folder.filePath("channels.csv");
    QVERIFY(writeContent(fileName, QByteArray("OLD;118.000\r\n").repeated(100)));
    QVERIFY(ChannelCsv::writeFile(fileName, recordsOf({"NEW|119.000"})));
    QCOMPARE(contentOf(fileName), QByteArray("NEW;119.000\r\n"));

    // A table with nothing in it saves as an empty file.
    QVERIFY(ChannelCsv::writeFile(fileName, emptyRecords(100)));
    QCOMPARE(contentOf(fileName), QByteArray());
    QCOMPARE(folderEntries(folder.path()), QStringList{"channels.csv"});
}

void CsvWriterTest::writeFileByUnicodeName()
{
    QTemporaryDir folder;
    const QString fileName = folder.filePath(QString::fromUtf8("Kanäle Ω 東京.csv"));
    QVERIFY(ChannelCsv::writeFile(fileName, recordsOf({"A|118.000"})));
    QCOMPARE(folderEntries(folder.path()), QStringList{QString::fromUtf8("Kanäle Ω 東京.csv")});
    QCOMPARE(contentOf(fileName), QByteArray("A;118.000\r\n"));
}

void CsvWriterTest::writeFileThatDoesNotOpen_data()
{
    QTest::addColumn<QString>("relativeName");
    QTest::newRow("folder does not exist") << QString("nowhere/channels.csv");
    QTest::newRow("folder is a regular file") << QString("plain.txt/channels.csv");
    QTest::newRow("name of a folder") << QString("folder");
    QTest::newRow("empty name") << QString();
}

void CsvWriterTest::writeFileThatDoesNotOpen()
{
    QFETCH(QString, relativeName);
    QTemporaryDir folder;
    QVERIFY(writeContent(folder.filePath("plain.txt"), "plain"));
    QVERIFY(QDir(folder.path()).mkdir("folder"));
    const QStringList before = folderEntries(folder.path());

    const QString fileName = relativeName.isEmpty() ? QString() : folder.filePath(relativeName);
    QVERIFY(!ChannelCsv::writeFile(fileName, recordsOf({"A|118.000"})));
    QCOMPARE(folderEntries(folder.path()), before);
    QCOMPARE(contentOf(folder.filePath("plain.txt")), QByteArray("plain"));
    QVERIFY(folderEntries(folder.filePath("folder")).isEmpty());
}

void CsvWriterTest::writeFileWhileDiskFills_data()
{
    QTest::addColumn<int>("records");
    // Less than the file's write buffer fails when the buffer is flushed,
    // more fails in the middle of the writing itself.
    QTest::newRow("fails on flush") << 100;
    QTest::newRow("fails while writing") << 5000;
}

void CsvWriterTest::writeFileWhileDiskFills()
{
#ifdef Q_OS_UNIX
    QFETCH(int, records);
    QTemporaryDir folder;
    const QString fileName = folder.filePath("channels.csv");
    const QByteArray old("OLD;118.000\r\n;121.500\r\n");
    QVERIFY(writeContent(fileName, old));

    Channels table;
    for (int k = 0; k < records; ++k)
        table.append(channelOf(QStringLiteral("CH%1").arg(k), QStringLiteral("118.000")));
    bool written = true;
    {
        FileSizeLimit limit(100);
        QVERIFY(limit.isActive());
        written = ChannelCsv::writeFile(fileName, table);
    }
    QVERIFY(!written);
    QCOMPARE(contentOf(fileName), old);
    QCOMPARE(folderEntries(folder.path()), QStringList{"channels.csv"});

    // With room again the same save succeeds.
    QVERIFY(ChannelCsv::writeFile(fileName, table));
    QCOMPARE(contentOf(fileName), ChannelCsv::toBytes(table));
#else
    QSKIP("needs a file-size limit, which only POSIX systems offer");
#endif
}

// A folder that takes no new files, holding a file anyone may write. The
// save runs as a user without root's rights, which would ignore the folder's.
void CsvWriterTest::writeFileInReadOnlyFolder()
{
#ifdef Q_OS_UNIX
    QTemporaryDir top;
    const QString folder = top.filePath("read-only");
    QCOMPARE(chmod(QFile::encodeName(top.path()).constData(), 0711), 0);
    QVERIFY(QDir(top.path()).mkdir("read-only"));
    const QString fileName = folder + "/channels.csv";
    QVERIFY(writeContent(fileName, "OLD;119.000\r\nOLD;120.000\r\nOLD;122.000\r\n"));
    QCOMPARE(chmod(QFile::encodeName(fileName).constData(), 0666), 0);
    QCOMPARE(chmod(QFile::encodeName(folder).constData(), 0555), 0);
    // Lets the temporary folder be removed again by a user other than root.
    const auto writable = qScopeGuard([&folder] { chmod(QFile::encodeName(folder).constData(), 0700); });

    const NobodyRun run = runAsNobody(WRITE_CHANNEL_FILE_PROGRAM, {fileName});
    QVERIFY2(run.finished && run.exitCode == 0, run.errors.constData());
    QCOMPARE(run.output, QByteArray("written\n"));
    QCOMPARE(contentOf(fileName), QByteArray("TOWER;118.000\r\n;121.500\r\n"));
    QCOMPARE(folderEntries(folder), QStringList{"channels.csv"});
#else
    QSKIP("needs POSIX file permissions");
#endif
}

VKR_TEST_MAIN(CsvWriterTest)
#include "tst_channel_csv.moc"
