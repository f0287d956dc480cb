// The safe write over a scripted port on a simulated clock: what it sends,
// what it keeps as a backup and how it ends, for a radio that behaves and
// for each way one does not. The radio's memory is full and odd before.
#include "TestMain.h"

#include "BackupStore.h"
#include "ChannelFrame.h"
#include "CsvTable.h"
#include "RadioConnection.h"
#include "SafeWrite.h"
#include "ScriptedPort.h"
#include "WireBytes.h"

#include <QTemporaryDir>
#include <QtTest>

using Answer = ScriptedPort::Answer;

Q_DECLARE_METATYPE(Session::WriteCause)
Q_DECLARE_METATYPE(QVector<ScriptedPort::Answer>)

namespace {

constexpr int channels = 20; // a VKR627S
constexpr int answerDelay = 5; // ms

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// What the radio holds before the write: every channel in use, channel 2 at
// 118.1000 (a step beyond the raster that a radio really held) and
// channel 3 with two spaces inside its name.
QVector<QByteArray> memoryBefore()
{
    QVector<QByteArray> frames(channels, hex("79 64 4F 4C 44 20 20 20 20 20")); // "OLD" 121.500
    frames[2] = hex("76 C8 4F 44 44 20 20 20 20 20");                             // "ODD" 118.1000
    frames[3] = hex("76 00 41 20 20 42 20 20 20 20");                             // "A  B" 118.000
    return frames;
}

// The channels written: "NEW" at 121.500 in each.
Channels channelsWritten()
{
    return Channels(channels, Channel{QStringLiteral("NEW"), Frequency::fromText(QStringLiteral("121.500"))});
}
const QByteArray newFrame = hex("79 64 4E 45 57 20 20 20 20 20");
// STX, the frame and its checksum, as the host sends "NEW" 121.500.
const QByteArray newFrameSent = hex("02 79 64 4E 45 57 20 20 20 20 20 9E");

// A read: each frame after the command or the acknowledgement before it; the
// last acknowledgement gets no answer.
QVector<Answer> readOf(const QVector<QByteArray> &frames)
{
    QVector<Answer> answers;
    for (const QByteArray &frame : frames)
        answers.append({{answerDelay, frame}});
    answers.append(Answer());
    return answers;
}

// A write: nothing to the command, an answer to each frame, nothing to 04.
QVector<Answer> writeOf(const QByteArray &nakFrames = QByteArray())
{
    QVector<Answer> answers{Answer()};
    for (int k = 0; k < channels; ++k)
        answers.append({{answerDelay, nakFrames.contains(char(k)) ? Wire::nak : Wire::ack}});
    answers.append(Answer());
    return answers;
}

// The read that keeps the memory: twice, as it holds a channel no radio
// stores, which only a second read that agrees tells from line noise.
QVector<Answer> backupOf(const QVector<QByteArray> &frames)
{
    return readOf(frames) + readOf(frames);
}

int count(const QByteArray &bytes, const QByteArray &part)
{
    return bytes.count(part);
}

} // namespace

class SafeWriteTest : public QObject
{
    Q_OBJECT

private slots:
    void outcome_data();
    void outcome();
    void restore_data();
    void restore();
};

void SafeWriteTest::outcome_data()
{
    QTest::addColumn<QVector<Answer>>("script");
    QTest::addColumn<int>("listed"); // channels in the list written, the rest empty
    QTest::addColumn<bool>("refuseEmptying");
    QTest::addColumn<Session::WriteCause>("cause");
    QTest::addColumn<int>("framesSent");
    QTest::addColumn<bool>("backupKept");
    QTest::addColumn<QString>("fault"); // the faults or differences in words; empty: none

    using Cause = Session::WriteCause;
    const QVector<QByteArray> before = memoryBefore();
    const QVector<QByteArray> written(channels, newFrame);
    // The read-back: channel 4 stored other than written.
    QVector<QByteArray> storedWrongly = written;
    storedWrongly[4] = hex("79 64 4E 45 58 20 20 20 20 20"); // "NEX"
    // The read-back: channel 7 cut short, channel 9 garbled by noise.
    QVector<QByteArray> cutShort = written;
    cutShort[7] = newFrame.left(6);
    QVector<QByteArray> garbled = written;
    garbled[9] = hex("79 04 4E 45 57 20 20 20 20 20"); // 121.020: off the raster
    // The memory read again with noise in another channel: not the memory.
    QVector<QByteArray> otherwise = before;
    otherwise[6] = hex("79 62 4F 4C 44 20 20 20 20 20");

    QTest::newRow("written and verified") << backupOf(before) + writeOf() + readOf(written) << channels << false
                                          << Cause::Written << channels << true << "";
    QTest::newRow("a frame refused") << backupOf(before) + writeOf(QByteArray(1, 3)) + readOf(written) << channels << false
                                     << Cause::FramesFailed << channels << true << "the radio refused channel 3";
    QTest::newRow("stored other than written") << backupOf(before) + writeOf() + readOf(storedWrongly) << channels << false
                                               << Cause::Differs << channels << true << "4";
    QTest::newRow("read-back with a frame cut short") << backupOf(before) + writeOf() + readOf(cutShort) << channels << false
                                                      << Cause::ReadBackIncomplete << channels << true
                                                      << "20 of 20 channels came, 1 of them cut short";
    QTest::newRow("read-back with a garbled frame") << backupOf(before) + writeOf() + readOf(garbled) << channels << false
                                                    << Cause::ReadBackIncomplete << channels << true
                                                    << "20 of 20 channels came, 1 of them garbled (no channel a radio stores)";
    QTest::newRow("backup read falls silent") << readOf(before.mid(0, 5)) << channels << false << Cause::BackupIncomplete << 0
                                              << false << "5 of 20 channels came, 1 of them garbled (no channel a radio stores)";
    QTest::newRow("odd reads that differ are noise") << readOf(before) + readOf(otherwise) << channels << false
                                                     << Cause::BackupIncomplete << 0 << false
                                                     << "20 of 20 channels came, 1 of them garbled (no channel a radio stores)";
    QTest::newRow("emptying most channels refused") << backupOf(before) << 3 << true << Cause::WouldEmpty << 0 << true << "";
}

void SafeWriteTest::outcome()
{
    QFETCH(QVector<Answer>, script);
    QFETCH(int, listed);
    QFETCH(bool, refuseEmptying);
    QFETCH(Session::WriteCause, cause);
    QFETCH(int, framesSent);
    QFETCH(bool, backupKept);
    QFETCH(QString, fault);

    QTemporaryDir folder;
    BackupStore store(folder.path());
    ScriptedPort port(script);
    RadioConnection radio;
    radio.attach(port, *RadioModels::named(QStringLiteral("VKR627S")), QStringLiteral("COM3"));
    Session::WriteRequest request;
    request.channels = channelsWritten().mid(0, listed);
    request.refuseEmptying = refuseEmptying;
    const Session::WriteReport report = Session::safeWrite(radio, store, request, {});

    QCOMPARE(int(report.cause), int(cause));
    QCOMPARE(count(port.written, newFrameSent), framesSent);
    QCOMPARE(count(port.written, Wire::writeCommand) > 0, framesSent > 0);
    QCOMPARE(report.verified, cause == Session::WriteCause::Written);
    QCOMPARE(!report.backupPath.isEmpty(), backupKept);
    if (backupKept) {
        // The backup holds the memory as it was: "ODD" at 118.1000 included.
        CsvTable backup;
        QVERIFY(backup.read(report.backupPath));
        QCOMPARE(backup.rowCount(), unsigned(channels));
        QCOMPARE(backup.cell(2, 0), QByteArray("ODD"));
        QCOMPARE(backup.cell(2, 1), QByteArray("118.1000"));
    } else {
        QVERIFY(store.list().isEmpty());
    }
    QString said;
    if (cause == Session::WriteCause::FramesFailed)
        said = report.frameFaultText(0);
    else if (cause == Session::WriteCause::Differs)
        said = QString::number(report.differences.value(0).channel);
    else if (cause == Session::WriteCause::BackupIncomplete || cause == Session::WriteCause::ReadBackIncomplete)
        said = report.readFaults();
    QCOMPARE(said, fault);
}

// A backup goes back byte for byte, odd values the radio really held and
// names a channel file cannot keep included, and is read back byte for
// byte; a backup that is empty, cut short, of another model or no backup
// at all is refused before a byte is sent, unless forced where that may be.
void SafeWriteTest::restore_data()
{
    QTest::addColumn<QString>("file");      // in the backup folder
    QTest::addColumn<QByteArray>("content"); // empty: the backup as the store saves it
    QTest::addColumn<bool>("force");
    QTest::addColumn<Session::WriteCause>("cause");

    using Cause = Session::WriteCause;
    const QString backup = QStringLiteral("VKR627S-20261207-120000-write-COM3.csv");
    QTest::newRow("odd values and odd names, byte for byte") << backup << QByteArray() << false << Cause::Written;
    QTest::newRow("an empty file") << backup << QByteArray("") << false << Cause::BackupNotWhole;
    QTest::newRow("blank lines") << backup << QByteArray("\r\n\r\n\r\n") << false << Cause::BackupNotWhole;
    QTest::newRow("cut to 10 lines") << backup << QByteArray("cut") << false << Cause::BackupNotWhole;
    QTest::newRow("cut within a line") << backup << QByteArray("half") << false << Cause::BackupNotWhole;
    QTest::newRow("another model's") << QStringLiteral("VKR627A-20261207-120000-write-COM3.csv") << QByteArray()
                                     << true << Cause::ForeignBackup;
    QTest::newRow("a file that names no model") << QStringLiteral("club.csv") << QByteArray() << false
                                                << Cause::ForeignBackup;
    QTest::newRow("that file forced") << QStringLiteral("club.csv") << QByteArray() << true << Cause::Written;
    QTest::newRow("a backup that empties most channels in use") << backup << QByteArray("sparse") << false
                                                                << Cause::WouldEmpty;
}

void SafeWriteTest::restore()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(bool, force);
    QFETCH(Session::WriteCause, cause);

    QTemporaryDir folder;
    BackupStore store(folder.filePath(QStringLiteral("backups")));
    // What the radio held when it was backed up: odd steps and bytes, names
    // with two spaces, a leading space, ';' and '"'.
    QVector<QByteArray> held(channels, Wire::emptyChannel);
    held[0] = hex("76 C8 4F 44 44 20 20 20 20 20"); // "ODD" 118.1000
    held[1] = hex("79 62 6C 6F 77 20 20 20 20 20"); // "low" 121.490
    held[2] = hex("79 64 41 20 20 42 20 20 20 20"); // "A  B"
    held[3] = hex("79 64 20 4C 45 41 44 20 20 20"); // " LEAD"
    held[4] = hex("79 64 58 3B 59 20 20 20 20 20"); // "X;Y"
    held[5] = hex("79 64 22 51 22 20 20 20 20 20"); // "\"Q\""
    Channels heldChannels;
    for (const QByteArray &frame : held)
        heldChannels.append(Link::decodeChannelFrame(frame));
    const BackupStore::Saved saved = BackupStore(folder.path()).save(
        QStringLiteral("VKR627S"), QStringLiteral("COM3"), heldChannels, held, BackupPurpose::Write);
    QVERIFY(!saved.path.isEmpty());
    QFile source(saved.path);
    QVERIFY(source.open(QIODevice::ReadOnly));
    QByteArray bytes = source.readAll();
    if (content == "sparse") // the radio holds more now than the backup did
        bytes = backupLine(Channel(), Wire::emptyChannel).repeated(channels);
    else if (content == "cut")
        bytes = bytes.left(bytes.indexOf("\r\n", bytes.size() / 2) + 2);
    else if (content == "half")
        bytes = bytes.left(bytes.size() / 2);
    else if (!content.isNull())
        bytes = content;
    const QString path = folder.filePath(file);
    QFile target(path);
    QVERIFY(target.open(QIODevice::WriteOnly) && target.write(bytes) == bytes.size());
    target.close();

    // The radio holds four channels now, as many as the backup or fewer.
    QVector<QByteArray> now(channels, Wire::emptyChannel);
    for (int k = 0; k < 4; ++k)
        now[k] = newFrame;
    ScriptedPort port((content == "sparse" ? backupOf(memoryBefore()) : readOf(now)) + writeOf() + readOf(held));
    RadioConnection radio;
    radio.attach(port, *RadioModels::named(QStringLiteral("VKR627S")), QStringLiteral("COM3"));
    Session::RestoreRequest request;
    request.backupPath = path;
    request.force = force;
    const Session::WriteReport report = Session::restoreBackup(radio, store, request, {});
    QCOMPARE(int(report.cause), int(cause));
    if (cause == Session::WriteCause::WouldEmpty) {
        QVERIFY(!port.written.contains(Wire::writeCommand)); // read to judge, nothing written
        return;
    }
    if (cause != Session::WriteCause::Written) {
        QVERIFY(port.written.isEmpty()); // refused before a byte was sent
        return;
    }
    for (const QByteArray &frame : held)
        QVERIFY2(port.written.contains(Wire::frameStart + frame), frame.toHex(' ').constData());
    QVERIFY(report.verified);
}

VKR_TEST_MAIN(SafeWriteTest)
#include "tst_safe_write.moc"
