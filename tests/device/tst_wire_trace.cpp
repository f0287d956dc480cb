// The wire trace: one line per burst with its time, port, direction and
// bytes in hex and as text, lines of many threads whole and in time order,
// and a trace that cannot be written said as such.
#include "TestMain.h"

#include "WireTrace.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>
#include <vector>

class WireTraceTest : public QObject
{
    Q_OBJECT

private slots:
    void burstLines_data();
    void burstLines();
    void threadsKeepTheirLinesWhole();
    void fullDiskIsSaid();
};

void WireTraceTest::burstLines_data()
{
    QTest::addColumn<bool>("sent");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("line"); // after the time

    QTest::newRow("ping sent") << true << QByteArray::fromHex("02721062") << "  COM3  >  02 72 10 62  |.r.b|";
    QTest::newRow("a channel received") << false << QByteArray::fromHex("7964544F574552202020")
                                        << "  COM3  <  79 64 54 4F 57 45 52 20 20 20  |ydTOWER   |";
    QTest::newRow("bytes beyond ASCII as dots") << false << QByteArray::fromHex("C384FF7F")
                                                << "  COM3  <  C3 84 FF 7F  |....|";
}

void WireTraceTest::burstLines()
{
    QFETCH(bool, sent);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, line);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("trace.txt"));
    Link::WireTrace trace;
    QVERIFY(trace.open(path, {QStringLiteral("vkrtool test")}));
    trace.burst(&trace, 12.5, QStringLiteral("COM3"), sent ? Link::WireTrace::Direction::Sent : Link::WireTrace::Direction::Received,
                bytes);
    QVERIFY(trace.close());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.first(), QStringLiteral("# vkrtool test"));
    QCOMPARE(lines.last(), QStringLiteral("    12.500") + line);
}

void WireTraceTest::threadsKeepTheirLinesWhole()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("trace.txt"));
    Link::WireTrace trace;
    QVERIFY(trace.open(path, {}));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&trace, t] {
            const int line = t; // its address tells the lines apart
            for (int k = 0; k < 200; ++k) {
                // Other threads write while this burst is gathered.
                const double at = trace.burstBegins(&line);
                std::this_thread::yield();
                trace.burst(&line, at, QStringLiteral("P%1").arg(t), Link::WireTrace::Direction::Sent,
                            QByteArray(20, char('A' + t)));
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    QVERIFY(trace.close());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    int bursts = 0;
    double last = 0;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        ++bursts;
        // In time order, whichever thread ended its burst first.
        const double at = line.trimmed().split(' ').first().toDouble();
        QVERIFY2(at >= last, line.constData());
        last = at;
        const char letter = line.at(line.indexOf('|') + 1);
        QCOMPARE(line.right(22), "|" + QByteArray(20, letter) + "|");
    }
    QCOMPARE(bursts, 800);
}

void WireTraceTest::fullDiskIsSaid()
{
    Link::WireTrace trace;
    QVERIFY(trace.open(QStringLiteral("/dev/full"), {}) == false || !trace.close());
    QVERIFY(trace.failed());
    QCOMPARE(trace.error(), QStringLiteral("No space left on device"));
}

VKR_TEST_MAIN(WireTraceTest)
#include "tst_wire_trace.moc"
