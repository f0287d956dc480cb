// The vkr-radio-sim program as a user runs it: options, the printed port,
// channel files in and out, and stopping it.
#include "TestMain.h"

#include "ChannelFrame.h"
#include "ChannelText.h"
#include "LinkConstants.h"
#include "MemoryFile.h"
#include "RadioMemory.h"
#include "SerialPorts.h"
#include "WireBytes.h"

#include <QFile>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Sends bytes and gathers the answer until 300 ms of silence.
QByteArray exchange(QSerialPort &port, const QByteArray &bytes)
{
    port.write(bytes);
    QByteArray answer;
    while (port.waitForReadyRead(300))
        answer += port.readAll();
    return answer;
}

} // namespace

class RadioProgramTest : public QObject
{
    Q_OBJECT

private slots:
    void memoryFileRoundTrip();
    void memoryFileLoadsProgramFiles();
    void servesUntilStoppedAndDumpsMemory();
    void rejectsBadOptions_data();
    void rejectsBadOptions();

private:
    QTemporaryDir folder;
};

void RadioProgramTest::memoryFileRoundTrip()
{
    RadioMemory memory(20);
    memory.setChannel(0, "TOWER", "121.500");
    memory.setChannel(3, QString::fromUtf8("KÖLN"), "136.975");
    memory.setChannel(19, "LAST", "118.000");
    const QString path = folder.filePath("round.csv");
    QVERIFY(MemoryFile::save(path, memory));
    QCOMPARE(fileBytes(path), QByteArray("TOWER;121.500\r\n;\r\n;\r\nK\xC3\x96LN;136.975\r\n" + QByteArray(";\r\n").repeated(15)
                                         + "LAST;118.000\r\n"));

    RadioMemory loaded(20);
    loaded.setChannel(5, "STALE", "120.000");
    QVERIFY(MemoryFile::load(path, loaded));
    QVERIFY(loaded == memory);
}

void RadioProgramTest::memoryFileLoadsProgramFiles()
{
    const QString path = folder.filePath("program.csv");
    QVERIFY(writeBytes(path, "\xEF\xBB\xBFTOWER;121.500\r\nATIS\r\n;\r\nGROUND;121.900;extra\nA;118.005\n"));
    RadioMemory memory(4);
    QVERIFY(MemoryFile::load(path, memory));
    QCOMPARE(memory.frame(0), QByteArray::fromHex("79 64 54 4F 57 45 52 20 20 20"));
    QCOMPARE(memory.channel(1).name, QStringLiteral("ATIS")); // sent as 118.000, shown with it
    QCOMPARE(memory.channel(1).frequency.text(), QStringLiteral("118.000"));
    QCOMPARE(memory.frame(2), Wire::emptyChannel);
    QCOMPARE(memory.channel(3).name, QStringLiteral("GROUND")); // the fifth record has no channel

    QVERIFY(!MemoryFile::load(folder.filePath("missing.csv"), memory));
    QVERIFY(!MemoryFile::save(folder.filePath("no/such/folder/x.csv"), memory));
}

void RadioProgramTest::servesUntilStoppedAndDumpsMemory()
{
    const QString input = folder.filePath("in.csv");
    const QString output = folder.filePath("out.csv");
    QVERIFY(writeBytes(input, "TOWER;121.500\r\nATIS;127.125\r\n"));

    QProcess radio;
    radio.start(QStringLiteral(VKR_RADIO_SIM_PATH),
                {"--model", "VKR627S", "--load-memory", input, "--channel", "1:GROUND:121.900", "--dump-memory",
                 output});
    QVERIFY(radio.waitForStarted(5000));
    QVERIFY(radio.waitForReadyRead(5000));
    const QString portName = QString::fromLocal8Bit(radio.readLine()).trimmed();
    QVERIFY2(portName.startsWith('/'), qPrintable(portName));

    QSerialPort port;
    port.setPortName(portName);
    Link::applyLineSettings(port);
    QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
    QCOMPARE(exchange(port, Wire::pingCommand), Wire::pingAnswer);
    QCOMPARE(exchange(port, Wire::identifyCommand), QByteArray("VKR627S V1.12"));
    // The memory: the file, then the channel given on the command line.
    QCOMPARE(exchange(port, Wire::readCommand), QByteArray::fromHex("79 64 54 4F 57 45 52 20 20 20"));
    QCOMPARE(exchange(port, Wire::ack), QByteArray::fromHex("79 B4 47 52 4F 55 4E 44 20 20"));
    port.close();
    QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString())); // a second session
    QCOMPARE(exchange(port, Wire::writeCommand + Wire::frameStart + Link::encodeChannelFrame(channelOf("NEW", "136.975"))),
             Wire::ack);
    // 04 stores the frame; the radio hears bytes in order, so the read that
    // follows sees the stored channel.
    QCOMPARE(exchange(port, Wire::writeEnd + Wire::readCommand),
             QByteArray::fromHex("88 C3 4E 45 57 20 20 20 20 20"));

    radio.terminate();
    QVERIFY(radio.waitForFinished(5000));
    QCOMPARE(radio.exitStatus(), QProcess::NormalExit);
    QCOMPARE(radio.exitCode(), 0);
    QCOMPARE(fileBytes(output), QByteArray("NEW;136.975\r\nGROUND;121.900\r\n"));
}

void RadioProgramTest::rejectsBadOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << 2;
    QTest::newRow("unknown model") << QStringList{"--model", "VKR9"} << 2;
    QTest::newRow("missing memory file") << QStringList{"--load-memory", "/no/such/file.csv"} << 1;
}

void RadioProgramTest::rejectsBadOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QProcess radio;
    radio.start(QStringLiteral(VKR_RADIO_SIM_PATH), arguments);
    QVERIFY(radio.waitForFinished(5000));
    QCOMPARE(radio.exitCode(), exitCode);
    QVERIFY(radio.readAllStandardOutput().isEmpty()); // no port announced
    QVERIFY(!radio.readAllStandardError().isEmpty());
}

VKR_TEST_MAIN(RadioProgramTest)
#include "tst_radio_program.moc"
