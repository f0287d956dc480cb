#pragma once

#include "SerialPort.h"
#include "WireTrace.h"

#include <QIODevice>

namespace Link {

// The line to the radio while a trace is kept: a device in front of the
// serial port that passes every read, write and wait through to it, and
// writes into the trace each byte that arrives (as it arrives, not when the
// link takes it) and each byte sent, gathered into bursts. The port keeps
// its own open, close and settings; the line stays open as long as it
// exists. The link talks through it exactly as through the port itself.
class TracedLine : public QIODevice
{
    Q_OBJECT

public:
    TracedLine(SerialPort &port, WireTrace &trace);
    ~TracedLine() override;

    // The name the trace gives the port: the one the user named or the
    // scan found.
    void setPortLabel(const QString &label) { portLabel = label; }
    SerialPort &port() { return serialPort; }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    bool waitForReadyRead(int msecs) override;
    bool waitForBytesWritten(int msecs) override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    void noteArrivals();
    void record(WireTrace::Direction direction, const QByteArray &bytes);
    void endBurst();
    void portClosing();

    SerialPort &serialPort;
    WireTrace &trace;
    QString portLabel;
    bool announced = false; // the port's opening, with its settings, is in the trace
    qint64 unconsumed = 0;  // bytes in the port's buffer already traced, not yet read
    // The burst being gathered: written out once a pause, the other
    // direction or the port's closing ends it.
    QByteArray burst;
    WireTrace::Direction burstDirection = WireTrace::Direction::Sent;
    double burstStart = 0; // ms of the trace
    double lastBytes = 0;
};

// The serial port a line talks through: the port itself, or the one a
// TracedLine records; null for any other device.
SerialPort *serialPortOf(QIODevice &line);

} // namespace Link
