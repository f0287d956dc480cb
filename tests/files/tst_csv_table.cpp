// Reading channel CSV files: the field functions, the rows a file's bytes
// give, and reading from files and devices that fail.
#include "CsvTable.h"
#include "ReferenceCsv.h"
#include "TestMain.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstring>

namespace {

// The table's rows, each as its cells joined by "|".
QByteArrayList rowsOf(const CsvTable &table)
{
    QByteArrayList rows;
    for (unsigned row = 0; row < table.rowCount(); ++row) {
        QByteArrayList cells;
        for (unsigned column = 0; column < table.fieldCount(row); ++column)
            cells << table.cell(row, column);
        rows << cells.join('|');
    }
    return rows;
}

// Hands out its content a few bytes per read call, as a pipe or a slow
// disk may, and optionally fails with a read error after some bytes.
class TrickleDevice : public QIODevice
{
public:
    TrickleDevice(const QByteArray &content, int piece, qint64 failAfter = -1)
        : content(content)
        , piece(piece)
        , failAfter(failAfter)
    {
    }

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (failAfter >= 0 && position >= failAfter)
            return -1;
        qint64 count = std::min({maxSize, qint64(piece), qint64(content.size()) - position});
        if (failAfter >= 0)
            count = qMin(count, failAfter - position);
        std::memcpy(data, content.constData() + position, size_t(count));
        position += count;
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray content;
    int piece;
    qint64 failAfter;
    qint64 position = 0;
};

// Random file content made mostly of the bytes that matter to the format.
QByteArray randomContent(QRandomGenerator &random)
{
    static const char bytes[] = "AZ09 ;;;\r\n\n\"\"\0\xD6\xB0\x96\xC3\x96\xEF\xBB\xBF\xE2\x80\xF0\x9F\x98\x80";
    static const QByteArray alphabet(bytes, sizeof bytes - 1);
    const int length = random.bounded(0, 120);
    QByteArray content;
    for (int k = 0; k < length; ++k)
        content.append(alphabet.at(random.bounded(alphabet.size())));
    if (random.bounded(4) == 0)
        content.prepend("\xEF\xBB\xBF");
    return content;
}

} // namespace

class CsvReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void unquote_data();
    void unquote();
    void ansiToUtf8_data();
    void ansiToUtf8();
    void read_data();
    void read();
    void readMatchesModel();
    void readInPieces();
    void cellOutOfRange();
    void readReplacesRows();
    void readFileByUnicodeName();
    void readFileThatDoesNotOpen_data();
    void readFileThatDoesNotOpen();
    void readErrorPartWay();
    void readDeviceNotOpen();
    void readLongLine();
};

void CsvReaderTest::split_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("separators");
    QTest::addColumn<QByteArrayList>("fields");

    const QByteArray semicolon(";");
    QTest::newRow("name and frequency") << QByteArray("TOWER;118.000") << semicolon
                                        << QByteArrayList{"TOWER", "118.000"};
    QTest::newRow("no separator") << QByteArray("ATIS") << semicolon << QByteArrayList{"ATIS"};
    QTest::newRow("empty line") << QByteArray() << semicolon << QByteArrayList{""};
    QTest::newRow("lone separator") << QByteArray(";") << semicolon << QByteArrayList{"", ""};
    QTest::newRow("empty name") << QByteArray(";121.500") << semicolon << QByteArrayList{"", "121.500"};
    QTest::newRow("empty last field") << QByteArray("ATIS;") << semicolon << QByteArrayList{"ATIS", ""};
    QTest::newRow("empty field between") << QByteArray("A;;B") << semicolon << QByteArrayList{"A", "", "B"};
    QTest::newRow("three fields") << QByteArray("A;1;x") << semicolon << QByteArrayList{"A", "1", "x"};
    QTest::newRow("spaces kept") << QByteArray(" A ; 1 ") << semicolon << QByteArrayList{" A ", " 1 "};
    QTest::newRow("quotes are not special") << QByteArray("\"A;B\"") << semicolon
                                            << QByteArrayList{"\"A", "B\""};
    QTest::newRow("zero byte in a field") << QByteArray("A\0B;1", 5) << semicolon
                                          << QByteArrayList{QByteArray("A\0B", 3), "1"};
    QTest::newRow("set of separators") << QByteArray("A,B;C") << QByteArray(";,")
                                       << QByteArrayList{"A", "B", "C"};
    QTest::newRow("no separators given") << QByteArray("A;B") << QByteArray() << QByteArrayList{"A;B"};
    QTest::newRow("high byte separator") << QByteArray("A\xB0" "B") << QByteArray("\xB0")
                                         << QByteArrayList{"A", "B"};
}

void CsvReaderTest::split()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, separators);
    QFETCH(QByteArrayList, fields);
    QCOMPARE(CsvTable::split(line, separators), fields);
}

void CsvReaderTest::unquote_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("one character") << QByteArray("A") << QByteArray("A");
    QTest::newRow("one quote") << QByteArray("\"") << QByteArray("\"");
    QTest::newRow("two quotes") << QByteArray("\"\"") << QByteArray();
    QTest::newRow("three quotes") << QByteArray("\"\"\"") << QByteArray("\"");
    QTest::newRow("quoted") << QByteArray("\"TOWER\"") << QByteArray("TOWER");
    QTest::newRow("quote at start only") << QByteArray("\"TOWER") << QByteArray("\"TOWER");
    QTest::newRow("quote at end only") << QByteArray("TOWER\"") << QByteArray("TOWER\"");
    QTest::newRow("doubled quote inside stays") << QByteArray("\"A\"\"B\"") << QByteArray("A\"\"B");
    QTest::newRow("spaces outside the quotes") << QByteArray(" \"A\" ") << QByteArray(" \"A\" ");
    QTest::newRow("spaces inside the quotes") << QByteArray("\" A \"") << QByteArray(" A ");
    QTest::newRow("plain") << QByteArray("118.000") << QByteArray("118.000");
}

void CsvReaderTest::unquote()
{
    QFETCH(QByteArray, field);
    QFETCH(QByteArray, text);
    QCOMPARE(CsvTable::unquote(field), text);
}

void CsvReaderTest::ansiToUtf8_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("converted");

    QTest::newRow("A diaeresis") << QByteArray("\xC4") << QByteArray("\xC3\x84");
    QTest::newRow("a diaeresis") << QByteArray("\xE4") << QByteArray("\xC3\xA4");
    QTest::newRow("O diaeresis") << QByteArray("\xD6") << QByteArray("\xC3\x96");
    QTest::newRow("o diaeresis") << QByteArray("\xF6") << QByteArray("\xC3\xB6");
    QTest::newRow("U diaeresis") << QByteArray("\xDC") << QByteArray("\xC3\x9C");
    QTest::newRow("u diaeresis") << QByteArray("\xFC") << QByteArray("\xC3\xBC");
    QTest::newRow("sharp s") << QByteArray("\xDF") << QByteArray("\xC3\x9F");
    QTest::newRow("degree") << QByteArray("\xB0") << QByteArray("\xC2\xB0");
    QTest::newRow("micro") << QByteArray("\xB5") << QByteArray("\xC2\xB5");
    QTest::newRow("en dash") << QByteArray("\x96") << QByteArray("-");
    QTest::newRow("record") << QByteArray("M\xDCNCHEN;118.000") << QByteArray("M\xC3\x9CNCHEN;118.000");
    QTest::newRow("ASCII unchanged") << QByteArray("TOWER;118.000") << QByteArray("TOWER;118.000");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("other Windows-1252 bytes stay") << QByteArray("\xE9\x80;1") << QByteArray("\xE9\x80;1");
    QTest::newRow("inserted bytes not converted again") << QByteArray("\xB0\xB5\x96")
                                                         << QByteArray("\xC2\xB0\xC2\xB5-");
    // Already UTF-8: left as it is, so names this program saved load back.
    QTest::newRow("UTF-8 O diaeresis") << QByteArray("K\xC3\x96LN;118.000") << QByteArray("K\xC3\x96LN;118.000");
    QTest::newRow("UTF-8 degree and micro") << QByteArray("\xC2\xB0\xC2\xB5") << QByteArray("\xC2\xB0\xC2\xB5");
    QTest::newRow("UTF-8 three bytes ending in 0x96") << QByteArray("\xE2\x80\x96") << QByteArray("\xE2\x80\x96");
    QTest::newRow("UTF-8 four bytes") << QByteArray("\xF0\x9F\x98\x80") << QByteArray("\xF0\x9F\x98\x80");
    QTest::newRow("UTF-8 after a long ASCII run") << QByteArray("ABCDEFGHIJKLMNOPQ\xC3\x96")
                                                   << QByteArray("ABCDEFGHIJKLMNOPQ\xC3\x96");
    // Not UTF-8 as a whole: the whole line is taken as Windows-1252.
    QTest::newRow("UTF-8 and Windows-1252 mixed") << QByteArray("\xC3\x96\xD6") << QByteArray("\xC3-\xC3\x96");
    QTest::newRow("Windows-1252 after a long ASCII run") << QByteArray("ABCDEFGHIJKLMNOPQ\xD6")
                                                          << QByteArray("ABCDEFGHIJKLMNOPQ\xC3\x96");
    QTest::newRow("overlong form") << QByteArray("\xC0\xB0") << QByteArray("\xC0\xC2\xB0");
    QTest::newRow("overlong three bytes") << QByteArray("\xE0\x80\xB0") << QByteArray("\xE0\x80\xC2\xB0");
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\xB5") << QByteArray("\xED\xA0\xC2\xB5");
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x96") << QByteArray("\xF4\x90\x80-");
    QTest::newRow("truncated at the end") << QByteArray("A\xE2\x96") << QByteArray("A\xE2-");
    QTest::newRow("stray continuation byte") << QByteArray("A\x96" "B") << QByteArray("A-B");
}

void CsvReaderTest::ansiToUtf8()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, converted);
    CsvTable::ansiToUtf8(line);
    QCOMPARE(line.toHex(' '), converted.toHex(' '));
}

void CsvReaderTest::read_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArrayList>("rows");

    QTest::newRow("empty file") << QByteArray() << QByteArrayList{};
    QTest::newRow("CR LF") << QByteArray("TOWER;118.000\r\n;121.500\r\n")
                           << QByteArrayList{"TOWER|118.000", "|121.500"};
    QTest::newRow("LF alone") << QByteArray("TOWER;118.000\n;121.500\n")
                              << QByteArrayList{"TOWER|118.000", "|121.500"};
    QTest::newRow("last line without line end") << QByteArray("A;118.000\r\nB;119.000")
                                                << QByteArrayList{"A|118.000", "B|119.000"};
    QTest::newRow("blank lines skipped") << QByteArray("\r\nA;118.000\r\n\r\n\nB;119.000\r\n\r\n")
                                         << QByteArrayList{"A|118.000", "B|119.000"};
    QTest::newRow("header line is a record") << QByteArray("Name;Frequency\r\nA;118.000\r\n")
                                             << QByteArrayList{"Name|Frequency", "A|118.000"};
    QTest::newRow("line without separator") << QByteArray("ATIS\r\n") << QByteArrayList{"ATIS"};
    QTest::newRow("lone separator") << QByteArray(";\r\n") << QByteArrayList{"|"};
    QTest::newRow("three fields") << QByteArray("A;118.000;x\r\n") << QByteArrayList{"A|118.000|x"};
    QTest::newRow("quotes at both ends") << QByteArray("\"TOWER\";\"118.000\"\r\n")
                                         << QByteArrayList{"TOWER|118.000"};
    QTest::newRow("quote at one end") << QByteArray("\"TOWER;118.000\"\r\n")
                                      << QByteArrayList{"\"TOWER|118.000\""};
    QTest::newRow("spaces kept") << QByteArray(" A B ; 118.000 \r\n") << QByteArrayList{" A B | 118.000 "};
    QTest::newRow("line of spaces") << QByteArray("   \r\n") << QByteArrayList{"   "};
    QTest::newRow("one-character name") << QByteArray("A;118.000\r\n") << QByteArrayList{"A|118.000"};
    QTest::newRow("Windows-1252 O diaeresis") << QByteArray("K\xD6LN;118.000\r\n")
                                              << QByteArrayList{"K\xC3\x96LN|118.000"};
    QTest::newRow("Windows-1252 degree") << QByteArray("90\xB0;118.000\r\n") << QByteArrayList{"90\xC2\xB0|118.000"};
    QTest::newRow("Windows-1252 en dash") << QByteArray("A\x96" "B;118.000\r\n") << QByteArrayList{"A-B|118.000"};
    QTest::newRow("UTF-8 kept") << QByteArray("K\xC3\x96LN;118.000\r\n") << QByteArrayList{"K\xC3\x96LN|118.000"};
    QTest::newRow("each line judged alone") << QByteArray("K\xC3\x96LN;1\r\nK\xD6LN;2\r\n")
                                            << QByteArrayList{"K\xC3\x96LN|1", "K\xC3\x96LN|2"};
    QTest::newRow("byte-order mark dropped") << QByteArray("\xEF\xBB\xBFTOWER;118.000\r\n")
                                             << QByteArrayList{"TOWER|118.000"};
    QTest::newRow("byte-order mark before a blank line") << QByteArray("\xEF\xBB\xBF\r\nA;1\r\n")
                                                         << QByteArrayList{"A|1"};
    QTest::newRow("byte-order mark only at the start") << QByteArray("A;1\r\n\xEF\xBB\xBF" "B;2\r\n")
                                                       << QByteArrayList{"A|1", "\xEF\xBB\xBF" "B|2"};
    QTest::newRow("one CR dropped") << QByteArray("A;1\r\r\n") << QByteArrayList{"A|1\r"};
    QTest::newRow("CR inside kept") << QByteArray("A\rB;1\r\n") << QByteArrayList{"A\rB|1"};
    QTest::newRow("CR ending the file") << QByteArray("A;1\r") << QByteArrayList{"A|1"};
    QTest::newRow("zero byte kept") << QByteArray("A\0B;1\r\n", 7) << QByteArrayList{QByteArray("A\0B|1", 5)};
}

void CsvReaderTest::read()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArrayList, rows);

    CsvTable table;
    QVERIFY(table.readBytes(content));
    QCOMPARE(rowsOf(table), rows);

    QBuffer buffer(&content);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    CsvTable fromDevice;
    QVERIFY(fromDevice.read(buffer));
    QCOMPARE(rowsOf(fromDevice), rows);
}

// Many random files, read whole and as a device, against the plain model.
void CsvReaderTest::readMatchesModel()
{
    QRandomGenerator random(20240611);
    for (int round = 0; round < 3000; ++round) {
        QByteArray content = randomContent(random);
        CsvTable table;
        QVERIFY(table.readBytes(content));
        const QByteArray difference = differenceFromReference(table, content);
        QVERIFY2(difference.isEmpty(), (content.toHex(' ') + ": " + difference).constData());
    }
}

// However the bytes arrive (one at a time, or cut inside a CR LF or a
// byte-order mark), the rows are the same.
void CsvReaderTest::readInPieces()
{
    QRandomGenerator random(777);
    for (int round = 0; round < 500; ++round) {
        const QByteArray content = randomContent(random);
        CsvTable whole;
        QVERIFY(whole.readBytes(content));
        for (int piece : {1, 2, 3, 5}) {
            TrickleDevice device(content, piece);
            QVERIFY(device.open(QIODevice::ReadOnly));
            CsvTable table;
            QVERIFY(table.read(device));
            QCOMPARE(rowsOf(table), rowsOf(whole));
        }
    }
}

void CsvReaderTest::cellOutOfRange()
{
    CsvTable table;
    QCOMPARE(table.rowCount(), 0u);
    QCOMPARE(table.cell(0, 0), QByteArray());
    QVERIFY(table.readBytes("ATIS\r\nA;1;x\r\n"));
    QCOMPARE(table.cell(0, 0), QByteArray("ATIS"));
    QCOMPARE(table.cell(0, 1), QByteArray());
    QCOMPARE(table.cell(1, 2), QByteArray("x"));
    QCOMPARE(table.cell(1, 3), QByteArray());
    QCOMPARE(table.cell(2, 0), QByteArray());
    QCOMPARE(table.cell(0, 0xFFFFFFFFu), QByteArray());
    QCOMPARE(table.cell(0xFFFFFFFFu, 0), QByteArray());
    QCOMPARE(table.fieldCount(2), 0u);
}

void CsvReaderTest::readReplacesRows()
{
    CsvTable table;
    QVERIFY(table.readBytes("A;1\r\nB;2\r\nC;3\r\n"));
    QVERIFY(table.readBytes("D;4\r\n"));
    QCOMPARE(rowsOf(table), QByteArrayList{"D|4"});
    QVERIFY(table.readBytes(QByteArray()));
    QCOMPARE(table.rowCount(), 0u);
}

// The name is passed to the file system as it is, not through the local
// 8-bit encoding, so names outside any one code page open.
void CsvReaderTest::readFileByUnicodeName()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString fileName = folder.filePath(QString::fromUtf8("Kanäle Ω 東京.csv"));
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("K\xC3\x96LN;118.000\r\nA;121.500\r\n");
    file.close();

    CsvTable table;
    QVERIFY(table.read(fileName));
    QCOMPARE(rowsOf(table), (QByteArrayList{"K\xC3\x96LN|118.000", "A|121.500"}));
}

void CsvReaderTest::readFileThatDoesNotOpen_data()
{
    QTest::addColumn<QString>("relativeName");
    QTest::newRow("missing file") << QString("missing.csv");
    QTest::newRow("missing folder") << QString("nowhere/missing.csv");
    QTest::newRow("a folder") << QString("folder");
    QTest::newRow("empty name") << QString();
}

void CsvReaderTest::readFileThatDoesNotOpen()
{
    QFETCH(QString, relativeName);
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir("folder"));
    const QString fileName = relativeName.isEmpty() ? QString() : folder.filePath(relativeName);

    CsvTable table;
    QVERIFY(table.readBytes("A;1\r\n"));
    QVERIFY(!table.read(fileName));
    QCOMPARE(table.rowCount(), 0u);
    QCOMPARE(table.cell(0, 0), QByteArray());
}

// A read error part-way is a failed read, not a shorter channel list.
void CsvReaderTest::readErrorPartWay()
{
    QByteArray content;
    for (int k = 0; k < 100; ++k)
        content += "CH" + QByteArray::number(k) + ";118.000\r\n";
    TrickleDevice device(content, 7, 500);
    QVERIFY(device.open(QIODevice::ReadOnly));
    CsvTable table;
    QVERIFY(table.readBytes("A;1\r\n"));
    QVERIFY(!table.read(device));
    QCOMPARE(table.rowCount(), 0u);
}

void CsvReaderTest::readDeviceNotOpen()
{
    QByteArray content("A;1\r\n");
    QBuffer buffer(&content);
    CsvTable table;
    QVERIFY(!table.read(buffer));
    QCOMPARE(table.rowCount(), 0u);
}

// A line longer than what one read call takes is still one line.
void CsvReaderTest::readLongLine()
{
    const QByteArray name(3 * 1024 * 1024 + 17, 'N');
    const QByteArray content = "A;1\r\n" + name + ";118.000;" + QByteArray(5, 'x') + "\r\nB;2";
    QTemporaryDir folder;
    const QString fileName = folder.filePath("long.csv");
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), qint64(content.size()));
    file.close();

    CsvTable table;
    QVERIFY(table.read(fileName));
    QCOMPARE(table.rowCount(), 3u);
    QCOMPARE(table.fieldCount(1), 3u);
    QVERIFY(table.cell(1, 0) == name);
    QCOMPARE(table.cell(1, 1), QByteArray("118.000"));
    QCOMPARE(table.cell(2, 0), QByteArray("B"));
}

VKR_TEST_MAIN(CsvReaderTest)
#include "tst_csv_table.moc"
