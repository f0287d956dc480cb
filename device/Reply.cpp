#include "Reply.h"

#include "LinkConstants.h"
#include "SerialPort.h"
#include "TracedLine.h"

#include <QElapsedTimer>
#include <QIODevice>

namespace Link {

namespace {

// How often a wait asks whether it is to stop: short enough that Ctrl+C or
// Cancel is obeyed at once, long enough to cost nothing.
constexpr int stopPollInterval = 50; // ms
// A line that never falls quiet is left after this long.
constexpr int longestSettle = 3000; // ms

} // namespace

bool waitForBytes(QIODevice &port, int timeout, const StopRequested &stopRequested)
{
    if (!stopRequested)
        return port.waitForReadyRead(timeout);
    QElapsedTimer clock;
    clock.start();
    while (!stopRequested()) {
        const qint64 left = timeout - clock.elapsed();
        if (left <= 0)
            return false;
        if (port.waitForReadyRead(int(qMin<qint64>(left, stopPollInterval))))
            return true;
    }
    return false;
}

void collectReply(QIODevice &port, QByteArray &reply, int quietTime, const StopRequested &stopRequested)
{
    QElapsedTimer clock;
    clock.start();
    const qint64 longest = 2 * qint64(quietTime);
    // Never more than the longest answer, however much piled up in the port
    // while this thread waited its turn (a loaded machine): the rest stays.
    reply = port.read(maxReplyLength);
    while (reply.size() < maxReplyLength) {
        const qint64 left = longest - clock.elapsed();
        if (left <= 0 || !waitForBytes(port, int(qMin<qint64>(quietTime, left)), stopRequested))
            break;
        reply.append(port.read(maxReplyLength - reply.size()));
    }
}

void discardInput(QIODevice &port)
{
    port.readAll();
    if (SerialPort *serialPort = serialPortOf(port))
        serialPort->clear(SerialPort::Input);
}

void settleLine(QIODevice &port, int quietTime, const StopRequested &stopRequested)
{
    QElapsedTimer clock;
    clock.start();
    port.readAll();
    while (clock.elapsed() < longestSettle && waitForBytes(port, quietTime, stopRequested))
        port.readAll();
    discardInput(port);
}

} // namespace Link
