// Byte exchanges of the link: the probe on a simulated clock (its waits to
// the millisecond, and random answers), and gathering answers over a real
// pseudo-terminal through the real QSerialPort.
#include "TestMain.h"

#include "LinkConstants.h"
#include "Probe.h"
#include "Reply.h"
#include "ScriptedPort.h"
#include "SerialPorts.h"
#include "VirtualRadio.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QtTest>

#include <random>

#include <termios.h>

using namespace std::chrono_literals;
using Answer = ScriptedPort::Answer;

Q_DECLARE_METATYPE(QVector<ScriptedPort::Answer>)

namespace {

struct ProbeOutcome {
    QString model; // label of the model found; empty for none
    QStringList stages;
};

ProbeOutcome probe(ScriptedPort &port)
{
    ProbeOutcome outcome;
    const RadioModel *model = Link::probeRadio(port, [&outcome](Link::ProbeStage stage) {
        outcome.stages.append(stage == Link::ProbeStage::Alive ? QStringLiteral("alive") : QStringLiteral("read"));
    });
    outcome.model = model ? QString::fromLatin1(model->label) : QString();
    return outcome;
}

// Restores an environment variable when the test ends.
class EnvironmentGuard
{
public:
    explicit EnvironmentGuard(const char *name)
        : name(name)
        , wasSet(qEnvironmentVariableIsSet(name))
        , value(qgetenv(name))
    {
    }
    ~EnvironmentGuard()
    {
        if (wasSet)
            qputenv(name, value);
        else
            qunsetenv(name);
    }

private:
    const char *name;
    bool wasSet;
    QByteArray value;
};

bool openOn(QSerialPort &port, const VirtualRadio &radio)
{
    port.setPortName(radio.portName());
    Link::applyLineSettings(port);
    return port.open(QIODevice::ReadWrite);
}

} // namespace

class LinkExchangeTest : public QObject
{
    Q_OBJECT

private slots:
    void probeTiming_data();
    void probeTiming();
    void probeSurvivesRandomAnswers();
    void portList_data();
    void portList();
    void lineSettingsReachTheTerminal();
    void terminalPassesEveryByteValue();
    void collectReplyEndsAtQuietTime();
    void collectReplyEndsOnATalkativeLine_data();
    void collectReplyEndsOnATalkativeLine();
};

void LinkExchangeTest::probeTiming_data()
{
    QTest::addColumn<QVector<Answer>>("answers"); // to the ping, then to the identify request
    QTest::addColumn<QString>("model");
    QTest::addColumn<QStringList>("stages");
    QTest::addColumn<int>("elapsed"); // ms on the simulated clock

    const QByteArray ping = Link::pingAnswer;
    const QStringList both{"alive", "read"};
    QTest::newRow("prompt radio") << QVector<Answer>{{{5, ping}}, {{5, "VKR627S"}}} << "VKR627S" << both
                                  << 5 + 3000 + 5 + 2000;
    QTest::newRow("ping answer at 400 ms") << QVector<Answer>{{{400, ping}}, {{0, "627"}}} << "VKR627" << both
                                           << 400 + 3000 + 2000;
    QTest::newRow("ping answer at 401 ms") << QVector<Answer>{{{401, ping}}, {{0, "627"}}} << "" << QStringList()
                                           << 400;
    QTest::newRow("silent port") << QVector<Answer>() << "" << QStringList() << 400;
    QTest::newRow("echoed ping") << QVector<Answer>{{{0, Link::pingCommand}}, {{0, "627II"}}} << "VKR627-II"
                                 << both << 5000;
    QTest::newRow("wrong ping answer") << QVector<Answer>{{{0, "\x02rX"}}, {{0, "627"}}} << "" << QStringList()
                                       << 3000;
    QTest::newRow("ping answer in pieces 2999 ms apart")
        << QVector<Answer>{{{0, "\x02r"}, {2999, "A"}}, {{0, "627"}}} << "VKR627" << both << 2999 + 3000 + 2000;
    QTest::newRow("ping answer split by 3001 ms")
        << QVector<Answer>{{{0, "\x02r"}, {3001, "A"}}, {{0, "627"}}} << "" << QStringList() << 3000;
    QTest::newRow("no identify answer") << QVector<Answer>{{{0, ping}}} << "" << QStringList{"alive"}
                                        << 3000 + 1000;
    QTest::newRow("identify answer at 1001 ms") << QVector<Answer>{{{0, ping}}, {{1001, "627"}}} << ""
                                                << QStringList{"alive"} << 3000 + 1000;
    QTest::newRow("identify answer at 1000 ms") << QVector<Answer>{{{0, ping}}, {{1000, "627"}}} << "VKR627" << both
                                                << 3000 + 1000 + 2000;
    QTest::newRow("token joined from pieces") << QVector<Answer>{{{0, ping}}, {{0, "VKR62"}, {1999, "7S"}}}
                                              << "VKR627S" << both << 3000 + 1999 + 2000;
    QTest::newRow("token split by 2001 ms") << QVector<Answer>{{{0, ping}}, {{0, "VKR62"}, {2001, "7S"}}} << ""
                                            << both << 3000 + 2000;
    QTest::newRow("no token") << QVector<Answer>{{{0, ping}}, {{0, "HX-100"}}} << "" << both << 5000;
    QTest::newRow("late ping answer bytes join the identify answer")
        << QVector<Answer>{{{0, ping}, {3500, "62A"}}, {{600, "x"}}} << "VKR627A" << both << 3000 + 500 + 100 + 2000;
}

// The probe's waits and decisions, to the millisecond.
void LinkExchangeTest::probeTiming()
{
    QFETCH(QVector<Answer>, answers);
    QFETCH(QString, model);
    QFETCH(QStringList, stages);
    QFETCH(int, elapsed);
    ScriptedPort port(answers);
    const ProbeOutcome outcome = probe(port);
    QCOMPARE(outcome.model, model);
    QCOMPARE(outcome.stages, stages);
    QCOMPARE(port.now(), qint64(elapsed));
    const QByteArray expectedWrites = stages.isEmpty() ? Link::pingCommand : Link::pingCommand + Link::identifyCommand;
    QCOMPARE(port.written, expectedWrites);
}

// Random bytes in random pieces after random pauses: the probe always ends,
// never claims more than the bytes it was sent hold, and only asks for the
// model after a ping answer.
void LinkExchangeTest::probeSurvivesRandomAnswers()
{
    std::mt19937 random(20240611);
    auto between = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const QByteArray tokens[] = {Link::pingAnswer, Link::pingCommand, "62A", "627S", "627II", "627", "\x02", "6"};

    int identified = 0;
    int alive = 0;
    for (int round = 0; round < 3000; ++round) {
        QVector<Answer> answers;
        for (int a = 0; a < 2; ++a) {
            Answer answer;
            const int pieces = between(0, 4);
            for (int p = 0; p < pieces; ++p) {
                QByteArray bytes;
                const int length = between(0, 12);
                for (int i = 0; i < length; ++i)
                    bytes.append(static_cast<char>(between(0, 255)));
                if (between(0, 2) == 0)
                    bytes.insert(between(0, bytes.size()), tokens[between(0, 7)]);
                answer.append({between(0, 1) ? between(0, 450) : between(0, 3500), bytes});
            }
            answers.append(answer);
        }

        ScriptedPort port(answers);
        const ProbeOutcome outcome = probe(port);
        if (!outcome.stages.isEmpty()) {
            ++alive;
            QVERIFY(port.delivered.contains(Link::pingAnswer) || port.delivered.contains(Link::pingCommand));
            QCOMPARE(outcome.stages.first(), QStringLiteral("alive"));
            QVERIFY(port.written.startsWith(Link::pingCommand + Link::identifyCommand));
        } else {
            QCOMPARE(port.written, Link::pingCommand);
        }
        if (!outcome.model.isEmpty()) {
            ++identified;
            QCOMPARE(outcome.stages, (QStringList{"alive", "read"}));
            const RadioModel *models = RadioModels::all;
            const auto *model = std::find_if(models, models + RadioModels::count, [&outcome](const auto &m) {
                return outcome.model == QLatin1String(m.label);
            });
            QVERIFY(model != models + RadioModels::count);
            QVERIFY2(port.delivered.contains(model->token), qPrintable(outcome.model));
        }
        QVERIFY(port.written.size() <= Link::pingCommand.size() + Link::identifyCommand.size());
    }
    // The random answers reach every branch.
    QVERIFY(alive > 100);
    QVERIFY(identified > 20);
}

void LinkExchangeTest::portList_data()
{
    QTest::addColumn<bool>("set");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("ports");

    const QString separator(QDir::listSeparator());
    QStringList platform;
    for (const QSerialPortInfo &port : QSerialPortInfo::availablePorts())
        platform.append(port.portName());

    QTest::newRow("unset: the platform's ports") << false << QString() << platform;
    QTest::newRow("empty: no ports") << true << QString() << QStringList();
    QTest::newRow("one path") << true << "/dev/pts/7" << QStringList{"/dev/pts/7"};
    QTest::newRow("two, in order") << true << "/dev/pts/9" + separator + "COM3" << QStringList{"/dev/pts/9", "COM3"};
    QTest::newRow("empty entries skipped") << true << separator + "a" + separator + separator + "b" + separator
                                           << QStringList{"a", "b"};
    QTest::newRow("separator only") << true << separator << QStringList();
}

void LinkExchangeTest::portList()
{
    QFETCH(bool, set);
    QFETCH(QString, value);
    QFETCH(QStringList, ports);
    EnvironmentGuard guard(Link::portListVariable);
    if (set)
        qputenv(Link::portListVariable, value.toLocal8Bit());
    else
        qunsetenv(Link::portListVariable);
    QCOMPARE(Link::serialPortNames(), ports);
}

// The port really runs at 9600 baud, 8N1, raw, without flow control.
void LinkExchangeTest::lineSettingsReachTheTerminal()
{
    VirtualRadio radio;
    QVERIFY2(radio.isServing(), qPrintable(radio.whyNotServing()));
    QSerialPort port;
    port.setBaudRate(115200);
    port.setParity(QSerialPort::EvenParity);
    port.setFlowControl(QSerialPort::HardwareControl);
    QVERIFY2(openOn(port, radio), qPrintable(port.errorString()));

    termios terminal;
    QCOMPARE(::tcgetattr(static_cast<int>(port.handle()), &terminal), 0);
    QCOMPARE(::cfgetospeed(&terminal), speed_t(B9600));
    QCOMPARE(::cfgetispeed(&terminal), speed_t(B9600));
    QCOMPARE(terminal.c_cflag & CSIZE, tcflag_t(CS8));
    QCOMPARE(terminal.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
    QCOMPARE(terminal.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), tcflag_t(0));
    QCOMPARE(terminal.c_lflag & (ICANON | ECHO | ISIG), tcflag_t(0));
}

// Raw both ways: all 256 byte values cross unchanged, each exactly once.
void LinkExchangeTest::terminalPassesEveryByteValue()
{
    RadioSettings settings;
    settings.faults.silent = true;
    VirtualRadio radio(settings);
    QVERIFY2(radio.isServing(), qPrintable(radio.whyNotServing()));
    QSerialPort port;
    QVERIFY2(openOn(port, radio), qPrintable(port.errorString()));

    QByteArray everyValue;
    for (int value = 0; value < 256; ++value)
        everyValue.append(static_cast<char>(value));

    port.write(everyValue);
    QVERIFY(port.waitForBytesWritten(5000));
    QTRY_COMPARE_WITH_TIMEOUT(radio.received().size(), everyValue.size(), 5000);
    QCOMPARE(radio.received().toHex(), everyValue.toHex());

    radio.transmit(everyValue);
    QByteArray heard;
    while (heard.size() < everyValue.size() && port.waitForReadyRead(5000))
        heard += port.readAll();
    QCOMPARE(heard.toHex(), everyValue.toHex());
    QVERIFY(!port.waitForReadyRead(100)); // nothing doubled
}

// Pieces closer than the quiet time make one answer; a longer pause ends
// it, and what follows stays in the port.
void LinkExchangeTest::collectReplyEndsAtQuietTime()
{
    RadioSettings settings;
    settings.faults.silent = true;
    VirtualRadio radio(settings);
    QSerialPort port;
    QVERIFY2(openOn(port, radio), qPrintable(port.errorString()));

    radio.transmit("AB");
    radio.transmit("CD", 100ms);
    radio.transmit("EF", 200ms);
    radio.transmit("GH", 1100ms);
    QVERIFY(port.waitForReadyRead(2000));
    QByteArray reply("left over from before");
    Link::collectReply(port, reply, 400);
    QCOMPARE(reply, QByteArray("ABCDEF"));

    QVERIFY(port.waitForReadyRead(2000));
    QCOMPARE(port.readAll(), QByteArray("GH"));
}

// A device that never stops talking still ends the answer: at the latest
// twice the quiet time after gathering began, or at the length limit,
// never beyond it.
void LinkExchangeTest::collectReplyEndsOnATalkativeLine_data()
{
    QTest::addColumn<int>("chunkSize");
    QTest::addColumn<int>("interval"); // ms between chunks
    QTest::addColumn<int>("quietTime");

    QTest::newRow("a byte every 100 ms") << 1 << 100 << 400;
    QTest::newRow("100 bytes every 20 ms") << 100 << 20 << 3000;
}

void LinkExchangeTest::collectReplyEndsOnATalkativeLine()
{
    QFETCH(int, chunkSize);
    QFETCH(int, interval);
    QFETCH(int, quietTime);
    RadioSettings settings;
    settings.faults.silent = true;
    VirtualRadio radio(settings);
    QSerialPort port;
    QVERIFY2(openOn(port, radio), qPrintable(port.errorString()));

    const int chunks = 200;
    for (int i = 0; i < chunks; ++i)
        radio.transmit(QByteArray(chunkSize, 'x'), std::chrono::milliseconds(interval * i));
    QVERIFY(port.waitForReadyRead(2000));
    QElapsedTimer clock;
    clock.start();
    QByteArray reply;
    Link::collectReply(port, reply, quietTime);
    QVERIFY2(clock.elapsed() <= 2 * quietTime + 250, QByteArray::number(clock.elapsed()));
    QVERIFY2(reply.size() <= 4096, QByteArray::number(reply.size())); // however much piled up meanwhile
    QVERIFY(port.waitForReadyRead(2000)); // the device talks on
}

VKR_TEST_MAIN(LinkExchangeTest)
#include "tst_link_exchange.moc"
