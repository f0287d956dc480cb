// The safe write over a scripted port on a simulated clock: what it sends,
// what it keeps as a backup and how it ends, for a radio that behaves and
// for each way one does not. The radio's memory is full and odd before.
#include "TestMain.h"

#include "BackupStore.h"
#include "ChannelCsv.h"
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
    void restoreOfOddValues();
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

// A backup of values the radio really held but the editors refuse goes back
// whole: a restore checks it by what a radio can hold, not by the editors.
void SafeWriteTest::restoreOfOddValues()
{
    QTemporaryDir folder;
    BackupStore store(folder.path() + QStringLiteral("/backups"));
    const QString backup = folder.filePath(QStringLiteral("VKR627S-20261207-120000-COM3.csv"));
    Channels held(channels);
    held[0] = {QStringLiteral("ODD"), Frequency::fromText(QStringLiteral("118.1000"))};
    held[1] = {QStringLiteral("low"), Frequency::fromText(QStringLiteral("121.490"))};
    QVERIFY(ChannelCsv::writeFile(backup, held));
    QVector<QByteArray> heldFrames(channels, Wire::emptyChannel);
    heldFrames[0] = hex("76 C8 4F 44 44 20 20 20 20 20");
    heldFrames[1] = hex("79 62 6C 6F 77 20 20 20 20 20");

    ScriptedPort port(backupOf(memoryBefore()) + writeOf() + readOf(heldFrames));
    RadioConnection radio;
    radio.attach(port, *RadioModels::named(QStringLiteral("VKR627S")), QStringLiteral("COM3"));
    const Session::WriteReport report = Session::restoreBackup(radio, store, backup, {});
    QCOMPARE(int(report.cause), int(Session::WriteCause::Written));
    QVERIFY(port.written.contains(hex("02 76 C8 4F 44 44 20 20 20 20 20")));
    QVERIFY(port.written.contains(hex("02 79 62 6C 6F 77 20 20 20 20 20")));
}

VKR_TEST_MAIN(SafeWriteTest)
#include "tst_safe_write.moc"
