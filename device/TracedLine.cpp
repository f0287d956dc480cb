#include "TracedLine.h"

#include "SerialPort.h"

namespace Link {

namespace {

// A pause longer than this ends a burst: about five byte times at 9600
// baud, well above the gaps of bytes sent back to back.
constexpr double burstGap = 5.0; // ms
// A device that streams is cut into lines of this many bytes.
constexpr int longestBurst = 64;

} // namespace

TracedLine::TracedLine(SerialPort &port, WireTrace &trace)
    : serialPort(port)
    , trace(trace)
{
    // Bytes are traced when the port takes them from the system, which is
    // when the time stamp means something.
    connect(&serialPort, &QIODevice::readyRead, this, &TracedLine::noteArrivals, Qt::DirectConnection);
    connect(&serialPort, &QIODevice::aboutToClose, this, &TracedLine::portClosing, Qt::DirectConnection);
    open(QIODevice::ReadWrite | QIODevice::Unbuffered);
}

TracedLine::~TracedLine()
{
    endBurst();
}

qint64 TracedLine::bytesAvailable() const
{
    return serialPort.bytesAvailable() + QIODevice::bytesAvailable();
}

bool TracedLine::waitForReadyRead(int msecs)
{
    const bool arrived = serialPort.waitForReadyRead(msecs);
    noteArrivals();
    if (!arrived)
        endBurst(); // the line was quiet that long: whatever came is whole
    return arrived;
}

bool TracedLine::waitForBytesWritten(int msecs)
{
    return serialPort.waitForBytesWritten(msecs);
}

qint64 TracedLine::readData(char *data, qint64 maxSize)
{
    noteArrivals();
    const qint64 taken = serialPort.read(data, maxSize);
    if (taken > 0)
        unconsumed = qMax<qint64>(0, unconsumed - taken);
    return taken;
}

qint64 TracedLine::writeData(const char *data, qint64 size)
{
    noteArrivals();
    const qint64 written = serialPort.write(data, size);
    if (written > 0)
        record(WireTrace::Direction::Sent, QByteArray(data, int(written)));
    return written;
}

// The bytes the port's buffer holds beyond those traced already are new.
void TracedLine::noteArrivals()
{
    const qint64 available = serialPort.bytesAvailable();
    if (available < unconsumed) // the port dropped its input
        unconsumed = available;
    if (available == unconsumed)
        return;
    const QByteArray arrived = serialPort.peek(available).mid(int(unconsumed));
    unconsumed = available;
    record(WireTrace::Direction::Received, arrived);
}

void TracedLine::record(WireTrace::Direction direction, const QByteArray &bytes)
{
    if (!announced && serialPort.isOpen()) {
        endBurst();
        trace.portOpened(portLabel, serialPort);
        announced = true;
    }
    const double at = trace.now();
    for (int from = 0; from < bytes.size();) {
        if (!burst.isEmpty()
            && (direction != burstDirection || at - lastBytes > burstGap || burst.size() >= longestBurst))
            endBurst();
        if (burst.isEmpty()) {
            burstDirection = direction;
            burstStart = trace.burstBegins(this);
        }
        const int taken = qMin(bytes.size() - from, longestBurst - burst.size());
        burst.append(bytes.mid(from, taken));
        from += taken;
        lastBytes = at;
    }
}

void TracedLine::endBurst()
{
    if (burst.isEmpty())
        return;
    trace.burst(this, burstStart, portLabel, burstDirection, burst);
    burst.clear();
}

void TracedLine::portClosing()
{
    noteArrivals();
    endBurst();
    if (announced)
        trace.portClosed(portLabel);
    announced = false;
    unconsumed = 0;
}

SerialPort *serialPortOf(QIODevice &line)
{
    if (auto *port = qobject_cast<SerialPort *>(&line))
        return port;
    if (auto *traced = qobject_cast<TracedLine *>(&line))
        return &traced->port();
    return nullptr;
}

} // namespace Link
