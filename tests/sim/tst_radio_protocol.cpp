// The virtual radio's behaviour, byte by byte, on a simulated clock: what
// it answers, when, and what it stores; and its command line.
#include "TestMain.h"

#include "ChannelFrame.h"
#include "ChannelText.h"
#include "LinkConstants.h"
#include "WireBytes.h"
#include "RadioCommandLine.h"
#include "RadioProtocol.h"

#include <QtTest>

using namespace std::chrono_literals;
using TimePoint = RadioProtocol::TimePoint;

Q_DECLARE_METATYPE(RadioSettings)

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QByteArray heard(const RadioProtocol &radio)
{
    QByteArray bytes;
    for (const RadioProtocol::LoggedByte &byte : radio.receivedLog())
        bytes.append(static_cast<char>(byte.value));
    return bytes;
}

// Drives a protocol on a clock of its own.
class Line
{
public:
    explicit Line(const RadioSettings &settings = RadioSettings())
        : radio(settings)
    {
    }

    // The host sends bytes at the current time; the radio hears them.
    void send(const QByteArray &bytes)
    {
        for (char byte : bytes)
            radio.receive(byte, now);
        radio.advance(now);
    }
    // Time passes; everything due by then is taken from the radio.
    QByteArray wait(std::chrono::nanoseconds span)
    {
        now += span;
        radio.advance(now);
        return radio.takeDueOutput(now);
    }
    // The host sends and takes what the radio answers within `span`.
    QByteArray exchange(const QByteArray &bytes, std::chrono::nanoseconds span = 1ms)
    {
        send(bytes);
        return wait(span);
    }
    QByteArray writeFrame(const QString &name, const QString &frequency)
    {
        return exchange(Wire::frameStart + Link::encodeChannelFrame(channelOf(name, frequency)));
    }

    RadioProtocol radio;
    TimePoint now = TimePoint() + 1h;
};

RadioSettings withFaults(void (*change)(RadioFaults &), int model = 0)
{
    RadioSettings settings;
    settings.model = model;
    change(settings.faults);
    return settings;
}

} // namespace

class RadioProtocolTest : public QObject
{
    Q_OBJECT

private slots:
    void answersProbe_data();
    void answersProbe();
    void ignoresNoiseBetweenCommands();
    void readSendsOneFramePerAcknowledgement();
    void readEndsOnAnotherCommand();
    void readFaults_data();
    void readFaults();
    void pauseInsideFrame();
    void answerDelay();
    void writeStoresFramesOnEot();
    void writeRefusesBadFrames();
    void writeFaults_data();
    void writeFaults();
    void abandonedWriteEndsAfterSilence();
    void unplugAfterFrames();
    void pacingTakesWireTime();
    void garbageFollowsSeed();
    void commandLine_data();
    void commandLine();
    void commandLineRejects_data();
    void commandLineRejects();
};

void RadioProtocolTest::answersProbe_data()
{
    QTest::addColumn<RadioSettings>("settings");
    QTest::addColumn<QByteArray>("pingAnswer");
    QTest::addColumn<QByteArray>("identifyAnswer");

    RadioSettings plain;
    QTest::newRow("VKR627A") << plain << hex("027241") << QByteArray("VKR62A V2.05");
    RadioSettings s;
    s.model = 1;
    QTest::newRow("VKR627S") << s << hex("027241") << QByteArray("VKR627S V1.12");
    RadioSettings text;
    text.modelText = "MY 627II";
    QTest::newRow("own model text") << text << hex("027241") << QByteArray("MY 627II");
    QTest::newRow("silent") << withFaults([](RadioFaults &f) { f.silent = true; }) << QByteArray() << QByteArray();
    QTest::newRow("wrong ping") << withFaults([](RadioFaults &f) { f.wrongPingAnswer = true; }) << hex("02723F")
                                << QByteArray("VKR62A V2.05");
    QTest::newRow("echo ping") << withFaults([](RadioFaults &f) { f.echoPing = true; }) << hex("02721062")
                               << QByteArray("VKR62A V2.05");
    QTest::newRow("no identify") << withFaults([](RadioFaults &f) { f.noIdentifyAnswer = true; }) << hex("027241")
                                 << QByteArray();
}

void RadioProtocolTest::answersProbe()
{
    QFETCH(RadioSettings, settings);
    QFETCH(QByteArray, pingAnswer);
    QFETCH(QByteArray, identifyAnswer);
    Line line(settings);
    QCOMPARE(line.exchange(Wire::pingCommand).toHex(' '), pingAnswer.toHex(' '));
    QCOMPARE(line.exchange(Wire::identifyCommand), identifyAnswer);
    QCOMPARE(heard(line.radio), Wire::pingCommand + Wire::identifyCommand);
}

void RadioProtocolTest::ignoresNoiseBetweenCommands()
{
    Line line;
    QCOMPARE(line.exchange(hex("00 FF 02 02 99 72 10")), QByteArray());
    QCOMPARE(line.exchange(Wire::pingCommand), Wire::pingAnswer);
    // A command cut short by an STX starts over there.
    QCOMPARE(line.exchange(hex("02 72 02 50")), QByteArray("VKR62A V2.05"));
    QCOMPARE(line.exchange(hex("04 06 15")), QByteArray());
}

void RadioProtocolTest::readSendsOneFramePerAcknowledgement()
{
    RadioSettings settings;
    settings.model = 1; // 20 channels
    Line line(settings);
    line.radio.memory().setChannel(0, "TOWER", "121.500");
    line.radio.memory().setChannel(19, "LAST", "136.975");

    QCOMPARE(line.exchange(Wire::readCommand).toHex(' '), hex("7964544F574552202020").toHex(' '));
    QCOMPARE(line.wait(2s), QByteArray()); // nothing more until acknowledged
    for (int i = 1; i < 19; ++i)
        QCOMPARE(line.exchange(Wire::ack), Wire::emptyChannel);
    QCOMPARE(line.exchange(Wire::ack), hex("88 C3 4C 41 53 54 20 20 20 20"));
    QCOMPARE(line.exchange(Wire::ack), QByteArray()); // the read is over
    QCOMPARE(line.exchange(Wire::pingCommand), Wire::pingAnswer);
}

void RadioProtocolTest::readEndsOnAnotherCommand()
{
    Line line;
    QCOMPARE(line.exchange(Wire::readCommand).size(), Wire::frameLength);
    QCOMPARE(line.exchange(Wire::pingCommand), Wire::pingAnswer);
    QCOMPARE(line.exchange(Wire::ack), QByteArray());
}

void RadioProtocolTest::readFaults_data()
{
    QTest::addColumn<RadioSettings>("settings");
    QTest::addColumn<int>("frames");     // frames sent, acknowledging each
    QTest::addColumn<int>("oddFrame");   // frame sent other than whole, or -1
    QTest::addColumn<int>("oddSize");    // its size

    QTest::newRow("none") << withFaults([](RadioFaults &) {}, 1) << 20 << -1 << 0;
    QTest::newRow("one-byte frame 3") << withFaults([](RadioFaults &f) { f.oneByteFrame = 3; }, 1) << 20 << 3 << 1;
    QTest::newRow("stray byte before frame 3") << withFaults([](RadioFaults &f) { f.strayByteBeforeFrame = 3; }, 1)
                                               << 20 << 3 << 11;
    QTest::newRow("stop after 5") << withFaults([](RadioFaults &f) { f.stopAfterFrames = 5; }, 1) << 5 << -1 << 0;
    QTest::newRow("stop after 0") << withFaults([](RadioFaults &f) { f.stopAfterFrames = 0; }, 1) << 0 << -1 << 0;
}

void RadioProtocolTest::readFaults()
{
    QFETCH(RadioSettings, settings);
    QFETCH(int, frames);
    QFETCH(int, oddFrame);
    QFETCH(int, oddSize);
    Line line(settings);
    QByteArray answer = line.exchange(Wire::readCommand);
    int count = 0;
    while (!answer.isEmpty()) {
        QCOMPARE(answer.size(), count == oddFrame ? oddSize : 10);
        ++count;
        answer = line.exchange(Wire::ack);
    }
    QCOMPARE(count, frames);
}

void RadioProtocolTest::pauseInsideFrame()
{
    Line line(withFaults([](RadioFaults &f) {
        f.pauseFrame = 1;
        f.pauseOffset = 4;
        f.pauseTime = 300;
    }));
    QCOMPARE(line.exchange(Wire::readCommand).size(), Wire::frameLength);
    QCOMPARE(line.exchange(Wire::ack, 100ms), Wire::emptyChannel.left(4));
    // An acknowledgement heard during the pause is answered after the frame.
    line.send(Wire::ack);
    QCOMPARE(line.wait(199ms), QByteArray());
    QCOMPARE(line.wait(2ms), Wire::emptyChannel.mid(4) + Wire::emptyChannel);
}

void RadioProtocolTest::answerDelay()
{
    Line line(withFaults([](RadioFaults &f) { f.answerDelay = 700; }));
    QCOMPARE(line.exchange(Wire::pingCommand, 699ms), QByteArray());
    QCOMPARE(line.wait(1ms), Wire::pingAnswer);
}

void RadioProtocolTest::writeStoresFramesOnEot()
{
    RadioSettings settings;
    settings.model = 1;
    Line line(settings);
    line.radio.memory().setChannel(5, "KEEP", "120.000");
    QCOMPARE(line.exchange(Wire::writeCommand), QByteArray());
    QCOMPARE(line.writeFrame("TOWER", "121.500"), Wire::ack);
    QCOMPARE(line.writeFrame("", ""), Wire::ack);
    QCOMPARE(line.radio.memory().channel(0).name, QString()); // nothing stored before 04
    QCOMPARE(line.exchange(Wire::writeEnd), QByteArray());

    QCOMPARE(line.radio.completedWrites(), 1);
    QCOMPARE(line.radio.memory().frame(0), hex("7964544F574552202020"));
    QCOMPARE(line.radio.memory().frame(1), Wire::emptyChannel);
    QCOMPARE(line.radio.memory().channel(5).name, QStringLiteral("KEEP")); // frames not sent stay
    QCOMPARE(line.exchange(Wire::pingCommand), Wire::pingAnswer);
}

void RadioProtocolTest::writeRefusesBadFrames()
{
    RadioSettings settings;
    settings.model = 1; // 20 channels
    Line line(settings);
    line.send(Wire::writeCommand);
    QByteArray broken = Wire::frameStart + Link::encodeChannelFrame(channelOf("BAD", "118.000"));
    broken[11] = static_cast<char>(broken[11] ^ 0x01);
    QCOMPARE(line.exchange(broken), Wire::nak);
    for (int i = 1; i < 20; ++i)
        QCOMPARE(line.writeFrame("OK", "119.000"), Wire::ack);
    QCOMPARE(line.writeFrame("EXTRA", "119.000"), Wire::nak); // beyond the memory
    line.send(Wire::writeEnd);
    QCOMPARE(line.radio.memory().frame(0), Wire::emptyChannel);
    QCOMPARE(line.radio.memory().channel(1).name, QStringLiteral("OK"));
    QCOMPARE(line.radio.memory().channelCount(), 20);
}

void RadioProtocolTest::writeFaults_data()
{
    QTest::addColumn<RadioSettings>("settings");
    QTest::addColumn<QByteArray>("answers"); // to three frames
    QTest::addColumn<bool>("stored");
    QTest::addColumn<int>("completed"); // writes ended by 04

    QTest::newRow("none") << withFaults([](RadioFaults &) {}) << hex("060606") << true << 1;
    QTest::newRow("NAK") << withFaults([](RadioFaults &f) { f.nakEveryFrame = true; }) << hex("151515") << false
                         << 1;
    QTest::newRow("no acknowledgement") << withFaults([](RadioFaults &f) { f.noAcknowledge = true; }) << QByteArray()
                                        << true << 1;
    QTest::newRow("stop after 2") << withFaults([](RadioFaults &f) { f.stopAfterFrames = 2; }) << hex("0606")
                                  << false << 0;
}

void RadioProtocolTest::writeFaults()
{
    QFETCH(RadioSettings, settings);
    QFETCH(QByteArray, answers);
    QFETCH(bool, stored);
    QFETCH(int, completed);
    Line line(settings);
    line.send(Wire::writeCommand);
    QByteArray got;
    for (int i = 0; i < 3; ++i)
        got += line.writeFrame("TOWER", "121.500");
    line.send(Wire::writeEnd);
    QCOMPARE(got.toHex(' '), answers.toHex(' '));
    QCOMPARE(line.radio.memory().channel(2).name == QStringLiteral("TOWER"), stored);
    QCOMPARE(line.radio.completedWrites(), completed);
}

void RadioProtocolTest::abandonedWriteEndsAfterSilence()
{
    Line line;
    line.send(Wire::writeCommand);
    line.send(hex("02 76 00"));
    QCOMPARE(line.exchange(Wire::pingCommand), QByteArray()); // still inside the frame
    line.wait(RadioProtocol::sessionTimeout + 1ms);
    QCOMPARE(line.exchange(Wire::pingCommand), Wire::pingAnswer);
    QCOMPARE(line.radio.completedWrites(), 0);
}

void RadioProtocolTest::unplugAfterFrames()
{
    Line line(withFaults([](RadioFaults &f) { f.unplugAfterFrames = 2; }));
    // A read: unplugged once the host acknowledged the second frame.
    QCOMPARE(line.exchange(Wire::readCommand).size(), Wire::frameLength);
    QCOMPARE(line.exchange(Wire::ack).size(), Wire::frameLength);
    QVERIFY(!line.radio.unplugDue(line.now));
    QCOMPARE(line.exchange(Wire::ack), QByteArray());
    QVERIFY(line.radio.unplugDue(line.now));

    // A write: unplugged after answering the second frame.
    Line writing(withFaults([](RadioFaults &f) { f.unplugAfterFrames = 2; }));
    writing.send(Wire::writeCommand);
    QCOMPARE(writing.writeFrame("A", "118.000"), Wire::ack);
    QVERIFY(!writing.radio.unplugDue(writing.now));
    writing.send(Wire::frameStart + Link::encodeChannelFrame(channelOf("B", "118.000")));
    QVERIFY(!writing.radio.unplugDue(writing.now)); // its answer is not sent yet
    QCOMPARE(writing.wait(1ms), Wire::ack);
    QVERIFY(writing.radio.unplugDue(writing.now));
}

void RadioProtocolTest::pacingTakesWireTime()
{
    Line line(withFaults([](RadioFaults &f) { f.pace = true; }));
    const auto byteTime = RadioProtocol::byteTime;
    line.send(Wire::pingCommand);
    // The ping is heard a byte time per byte later, its last byte after four.
    QCOMPARE(line.wait(4 * byteTime - 1ns), QByteArray());
    QCOMPARE(heard(line.radio), Wire::pingCommand.left(3));
    // The three answer bytes come one byte time apart.
    QCOMPARE(line.wait(1ns + byteTime), Wire::pingAnswer.left(1));
    QCOMPARE(line.wait(byteTime), Wire::pingAnswer.mid(1, 1));
    QCOMPARE(line.wait(byteTime), Wire::pingAnswer.mid(2, 1));
    const auto &log = line.radio.receivedLog();
    QCOMPARE(log.size(), size_t(4));
    QCOMPARE(log[3].at - log[0].at, 3 * byteTime);
}

void RadioProtocolTest::garbageFollowsSeed()
{
    auto answersFor = [](quint32 seed) {
        Line line(withFaults([](RadioFaults &f) { f.garbage = true; }));
        RadioSettings settings = line.radio.settings();
        settings.faults.garbageSeed = seed;
        line.radio.setSettings(settings);
        QByteArray all;
        for (int i = 0; i < 20; ++i) {
            all += line.exchange(Wire::pingCommand, 3s);
            all += line.exchange(Wire::identifyCommand, 3s);
        }
        return all;
    };
    QCOMPARE(answersFor(7), answersFor(7));
    QVERIFY(answersFor(7) != answersFor(8));
}

void RadioProtocolTest::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("model");
    QTest::addColumn<QByteArray>("modelText");
    QTest::addColumn<int>("channels");

    QTest::newRow("defaults") << QStringList() << 0 << QByteArray() << 0;
    QTest::newRow("model label") << QStringList{"--model", "VKR627-II"} << 2 << QByteArray() << 0;
    QTest::newRow("model short") << QStringList{"--model", "627s"} << 1 << QByteArray() << 0;
    QTest::newRow("plain model") << QStringList{"--model", "627"} << 3 << QByteArray() << 0;
    QTest::newRow("model text") << QStringList{"--model-text", "X 627"} << 0 << QByteArray("X 627") << 0;
    QTest::newRow("unknown model") << QStringList{"--unknown-model"} << 0 << QByteArray(unknownModelText) << 0;
    QTest::newRow("channels") << QStringList{"--channel", "0:TOWER:121.500", "--channel", "99::", "--channel",
                                             "5:A B:C:118.000"}
                              << 0 << QByteArray() << 3;
}

void RadioProtocolTest::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, model);
    QFETCH(QByteArray, modelText);
    QFETCH(int, channels);
    RadioCommandLine options;
    QString error;
    QVERIFY2(parseRadioCommandLine(QStringList{"vkr-radio-sim"} + arguments, options, error), qPrintable(error));
    QCOMPARE(options.settings.model, model);
    QCOMPARE(options.settings.modelText, modelText);
    QCOMPARE(options.channels.size(), channels);
    if (channels == 3) {
        QCOMPARE(options.channels[0].name, QStringLiteral("TOWER"));
        QCOMPARE(options.channels[1].index, 99);
        QCOMPARE(options.channels[1].frequency, QString());
        QCOMPARE(options.channels[2].name, QStringLiteral("A B:C"));
    }

    const QStringList faults{"vkr-radio-sim", "--silent", "--frame-pause", "3:5:500", "--one-byte-frame", "2",
                             "--nak", "--answer-delay", "40", "--stop-after", "7", "--unplug-after", "9",
                             "--garbage", "12", "--pace", "--stray-byte-before", "4"};
    QVERIFY2(parseRadioCommandLine(faults, options, error), qPrintable(error));
    const RadioFaults &f = options.settings.faults;
    QVERIFY(f.silent && f.nakEveryFrame && f.pace && f.garbage);
    QVERIFY(!f.noAcknowledge && !f.echoPing && !f.wrongPingAnswer && !f.noIdentifyAnswer);
    QCOMPARE(f.pauseFrame, 3);
    QCOMPARE(f.pauseOffset, 5);
    QCOMPARE(f.pauseTime, 500);
    QCOMPARE(f.oneByteFrame, 2);
    QCOMPARE(f.answerDelay, 40);
    QCOMPARE(f.stopAfterFrames, 7);
    QCOMPARE(f.unplugAfterFrames, 9);
    QCOMPARE(f.garbageSeed, 12u);
    QCOMPARE(f.strayByteBeforeFrame, 4);
}

void RadioProtocolTest::commandLineRejects_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("unknown option") << QStringList{"--frobnicate"};
    QTest::newRow("stray argument") << QStringList{"extra"};
    QTest::newRow("unknown model") << QStringList{"--model", "VKR999"};
    QTest::newRow("channel without fields") << QStringList{"--channel", "TOWER"};
    QTest::newRow("channel index too high for 20") << QStringList{"--model", "627S", "--channel", "20:A:118.000"};
    QTest::newRow("channel negative index") << QStringList{"--channel", "-1:A:118.000"};
    QTest::newRow("channel bad frequency") << QStringList{"--channel", "0:A:118,000"};
    QTest::newRow("pause with two fields") << QStringList{"--frame-pause", "3:500"};
    QTest::newRow("negative delay") << QStringList{"--answer-delay", "-5"};
    QTest::newRow("word for a count") << QStringList{"--stop-after", "many"};
    QTest::newRow("seed not a number") << QStringList{"--garbage", "x"};
}

void RadioProtocolTest::commandLineRejects()
{
    QFETCH(QStringList, arguments);
    RadioCommandLine options;
    QString error;
    QVERIFY(!parseRadioCommandLine(QStringList{"vkr-radio-sim"} + arguments, options, error));
    QVERIFY(!error.isEmpty());
}

VKR_TEST_MAIN(RadioProtocolTest)
#include "tst_radio_protocol.moc"
