#pragma once

#include "SerialPort.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <map>
#include <mutex>

namespace Link {

// A record of every byte that crossed the line, for a bug report: one line
// per burst (bytes in one direction without a pause), with the time in
// milliseconds since the trace began, the port, the direction and the
// bytes in hex and as text; a line for each port opened, with its line
// settings. Written as it goes, a line at a time, so that what happened
// before a hang or a crash is on disk. Many ports on many threads may
// share one trace; their lines are in time order, each written as soon as
// no other port's burst under way began before it.
class WireTrace
{
public:
    WireTrace() = default;
    ~WireTrace();
    WireTrace(const WireTrace &) = delete;
    WireTrace &operator=(const WireTrace &) = delete;

    // Creates or empties the file and writes `heading` (each line marked as
    // a comment), the start time and how to read the lines. False, with the
    // system's reason in error(), when the file cannot be written.
    bool open(const QString &path, const QStringList &heading);

    enum class Direction { Sent, Received };

    // Milliseconds since the trace began.
    double now() const;

    void portOpened(const QString &port, const SerialPort &settings);
    void portClosed(const QString &port);
    // A burst on one of the lines (`line` tells them apart) begins now: its
    // time. Until it ends, lines of other ports that came after it wait, so
    // that the file stays in time order across ports.
    double burstBegins(const void *line);
    // The burst of `line` that began at `at` ends.
    void burst(const void *line, double at, const QString &port, Direction direction, const QByteArray &bytes);

    // Flushes and closes the file: false when any line did not arrive.
    bool close();
    bool failed() const;
    QString error() const;

private:
    // Into the file once no burst still being gathered began before it.
    void add(double at, const QString &line);
    void writeDue();
    void writeLine(const QString &line);

    mutable std::mutex mutex;
    std::map<const void *, double> openBursts; // the start of each burst being gathered, by line
    std::multimap<double, QString> waiting;    // lines by time, not yet in the file
    std::FILE *file = nullptr;
    QElapsedTimer clock;
    int firstError = 0; // errno of the first failed write, 0 while none
};

// How the port's line is set, as a trace shows it: "9600 baud, 8 data
// bits, no parity, 1 stop bit, no flow control".
QString describeLineSettings(const SerialPort &port);

} // namespace Link
