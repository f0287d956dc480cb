// The read and write loops of the link on a simulated clock: their waits to
// the millisecond, what is sent, and how answers are judged.
#include "TestMain.h"

#include "ChannelText.h"

#include "ChannelTransfer.h"
#include "LinkConstants.h"
#include "ScriptedPort.h"
#include "WireBytes.h"

#include <QtTest>

using Answer = ScriptedPort::Answer;

Q_DECLARE_METATYPE(QVector<ScriptedPort::Answer>)
Q_DECLARE_METATYPE(QVector<Link::FrameAnswer>)

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

const char *towerFrame = "79 64 54 4F 57 45 52 20 20 20";
const char *emptyFrame = "76 00 20 20 20 20 20 20 20 20";

} // namespace

class LinkTransferTest : public QObject
{
    Q_OBJECT

private slots:
    void readTiming_data();
    void readTiming();
    void writeAnswers_data();
    void writeAnswers();
};

void LinkTransferTest::readTiming_data()
{
    QTest::addColumn<int>("channelCount");
    QTest::addColumn<QVector<Answer>>("answers"); // to the read command, then to each acknowledgement
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("elapsed");             // ms on the simulated clock
    QTest::addColumn<int>("leftInPort");
    QTest::addColumn<int>("shortFrames");
    QTest::addColumn<int>("badFrames");

    const QByteArray tower = hex(towerFrame);
    const QByteArray empty = hex(emptyFrame);
    QTest::newRow("three prompt frames, then the final wait")
        << 3 << QVector<Answer>{{{10, tower}}, {{10, empty}}, {{10, tower}}} << QStringList{"TOWER", "", "TOWER"}
        << 3 * (10 + 200) + 1000 << 0 << 0 << 0;
    QTest::newRow("first frame at 1000 ms") << 1 << QVector<Answer>{{{1000, tower}}} << QStringList{"TOWER"}
                                            << 1000 + 200 + 1000 << 0 << 0 << 0;
    QTest::newRow("first frame at 1001 ms: nothing read") << 1 << QVector<Answer>{{{1001, tower}}} << QStringList()
                                                          << 1000 << 0 << 0 << 0;
    QTest::newRow("radio stops after one frame") << 3 << QVector<Answer>{{{0, tower}}} << QStringList{"TOWER"}
                                                 << 200 + 1000 << 0 << 0 << 0;
    QTest::newRow("pause of 200 ms inside a frame joins")
        << 1 << QVector<Answer>{{{0, tower.left(4)}, {200, tower.mid(4)}}} << QStringList{"TOWER"}
        << 200 + 200 + 1000 << 0 << 0 << 0;
    // The rest of the frame begins the next channel's answer, which the
    // radio sends once the frame is out.
    QTest::newRow("pause of 201 ms splits")
        << 2 << QVector<Answer>{{{0, tower.left(4)}, {201, tower.mid(4)}}, {{5, empty}}}
        << QStringList{"TO", "R v"} << 200 + 5 + 200 + 1000 << 0 << 1 << 1;
    QTest::newRow("a byte of noise in front of a frame shifts it")
        << 2 << QVector<Answer>{{{0, tower}}, {{0, hex("15") + tower}}} << QStringList{"TOWER", "dTOWER"}
        << 2 * 200 + 1000 << 0 << 0 << 1;
    QTest::newRow("bytes after the last frame end the final wait and stay")
        << 1 << QVector<Answer>{{{0, tower}}, {{300, "xyz"}}} << QStringList{"TOWER"} << 200 + 300 << 3 << 0 << 0;
}

void LinkTransferTest::readTiming()
{
    QFETCH(int, channelCount);
    QFETCH(QVector<Answer>, answers);
    QFETCH(QStringList, names);
    QFETCH(int, elapsed);
    QFETCH(int, leftInPort);
    QFETCH(int, shortFrames);
    QFETCH(int, badFrames);

    ScriptedPort port(answers);
    QStringList received;
    const Link::ReadResult result =
        Link::readChannelMemory(port, channelCount, [&](int row, const Channel &channel, const QByteArray &) {
            QCOMPARE(row, received.size());
            received.append(channel.name);
        });
    QCOMPARE(result.received, names.size());
    QCOMPARE(result.shortFrames, shortFrames);
    QCOMPARE(result.badFrames, badFrames);
    QCOMPARE(received, names);
    QCOMPARE(port.now(), qint64(elapsed));
    QCOMPARE(port.written, Wire::readCommand + Wire::ack.repeated(names.size()));
    QCOMPARE(port.bytesAvailable(), qint64(leftInPort));
}

void LinkTransferTest::writeAnswers_data()
{
    QTest::addColumn<QVector<Answer>>("answers"); // to the write command, then to each frame
    QTest::addColumn<QVector<Link::FrameAnswer>>("judged");
    QTest::addColumn<bool>("allAcknowledged");
    QTest::addColumn<int>("elapsed");

    using A = Link::FrameAnswer;
    const QByteArray ack = Wire::ack;
    const QByteArray nak("\x15", 1);
    QTest::newRow("all acknowledged") << QVector<Answer>{{}, {{5, ack}}, {{5, ack}}, {{5, ack}}}
                                      << QVector<A>{A::Acknowledged, A::Acknowledged, A::Acknowledged} << true << 15;
    QTest::newRow("only the first byte is judged")
        << QVector<Answer>{{}, {{0, ack + nak}}, {{0, nak + ack}}, {{0, ack}}}
        << QVector<A>{A::Acknowledged, A::Refused, A::Acknowledged} << false << 0;
    QTest::newRow("acknowledgement at 500 ms") << QVector<Answer>{{}, {{500, ack}}, {{0, ack}}, {{0, ack}}}
                                               << QVector<A>{A::Acknowledged, A::Acknowledged, A::Acknowledged}
                                               << true << 500;
    // A late acknowledgement stays in the port and answers the next frame.
    QTest::newRow("acknowledgement at 501 ms")
        << QVector<Answer>{{}, {{501, nak}}, {{400, ack}}, {{0, ack}}}
        << QVector<A>{A::Missing, A::Refused, A::Acknowledged} << false << 500 + 1 + 0;
    QTest::newRow("silent radio") << QVector<Answer>() << QVector<A>{A::Missing, A::Missing, A::Missing} << false
                                  << 1500;
}

// Every frame is sent whatever the answers; each waits at most 500 ms.
void LinkTransferTest::writeAnswers()
{
    QFETCH(QVector<Answer>, answers);
    QFETCH(QVector<Link::FrameAnswer>, judged);
    QFETCH(bool, allAcknowledged);
    QFETCH(int, elapsed);

    const Channels channels = {channelOf("TOWER", "121.500"), Channel(), channelOf("ABCDEFGH", "136.975")};
    ScriptedPort port(answers);
    QVector<int> sent;
    QVector<Link::FrameAnswer> answered;
    const Link::WriteResult result = Link::writeChannelMemory(
        port, channels, [&](int row) { sent.append(row); },
        [&](int row, Link::FrameAnswer answer) {
            QCOMPARE(row, answered.size());
            QCOMPARE(sent.size(), row + 1); // announced before its answer
            answered.append(answer);
        });
    QCOMPARE(result.allAcknowledged, allAcknowledged);
    QCOMPARE(answered, judged);
    QCOMPARE(sent, (QVector<int>{0, 1, 2}));
    QCOMPARE(port.now(), qint64(elapsed));
    const QByteArray expected = Wire::writeCommand + hex("02 79 64 54 4F 57 45 52 20 20 20 99")
        + hex("02 76 00 20 20 20 20 20 20 20 20 89") + hex("02 88 C3 41 42 43 44 45 46 47 48 BC") + Wire::writeEnd;
    QCOMPARE(port.written.toHex(' '), expected.toHex(' '));
}

VKR_TEST_MAIN(LinkTransferTest)
#include "tst_channel_transfer.moc"
