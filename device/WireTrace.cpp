#include "WireTrace.h"

#include <QDateTime>
#include <QFile>
#include <QSerialPort>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <cstring>

namespace Link {

namespace {

constexpr char commentMark[] = "# ";

QString directionMark(WireTrace::Direction direction)
{
    return direction == WireTrace::Direction::Sent ? QStringLiteral(">") : QStringLiteral("<");
}

// Printable ASCII as it is, every other byte as a dot: enough to read a
// model text or a name among the bytes.
QString asText(const QByteArray &bytes)
{
    QString text;
    for (const char byte : bytes)
        text += byte >= 0x20 && byte < 0x7f ? QLatin1Char(byte) : QLatin1Char('.');
    return text;
}

QString parityText(QSerialPort::Parity parity)
{
    switch (parity) {
    case QSerialPort::NoParity: return QStringLiteral("no parity");
    case QSerialPort::EvenParity: return QStringLiteral("even parity");
    case QSerialPort::OddParity: return QStringLiteral("odd parity");
    case QSerialPort::SpaceParity: return QStringLiteral("space parity");
    case QSerialPort::MarkParity: return QStringLiteral("mark parity");
    default: return QStringLiteral("unknown parity");
    }
}

QString stopBitsText(QSerialPort::StopBits stopBits)
{
    switch (stopBits) {
    case QSerialPort::OneStop: return QStringLiteral("1 stop bit");
    case QSerialPort::OneAndHalfStop: return QStringLiteral("1.5 stop bits");
    case QSerialPort::TwoStop: return QStringLiteral("2 stop bits");
    default: return QStringLiteral("unknown stop bits");
    }
}

QString flowControlText(QSerialPort::FlowControl flowControl)
{
    switch (flowControl) {
    case QSerialPort::NoFlowControl: return QStringLiteral("no flow control");
    case QSerialPort::HardwareControl: return QStringLiteral("hardware flow control (RTS/CTS)");
    case QSerialPort::SoftwareControl: return QStringLiteral("software flow control (XON/XOFF)");
    default: return QStringLiteral("unknown flow control");
    }
}

} // namespace

QString describeLineSettings(const QSerialPort &port)
{
    return QStringLiteral("%1 baud, %2 data bits, %3, %4, %5")
        .arg(port.baudRate())
        .arg(int(port.dataBits()))
        .arg(parityText(port.parity()), stopBitsText(port.stopBits()), flowControlText(port.flowControl()));
}

WireTrace::~WireTrace()
{
    close();
}

bool WireTrace::open(const QString &path, const QStringList &heading)
{
    std::lock_guard<std::mutex> lock(mutex);
    errno = 0;
    file = std::fopen(QFile::encodeName(path).constData(), "w");
    if (!file) {
        firstError = errno != 0 ? errno : EIO;
        return false;
    }
    clock.start();
    QStringList lines = heading;
    lines << QStringLiteral("started %1; times in milliseconds since then")
                 .arg(QDateTime::currentDateTime().toString(Qt::ISODateWithMs))
          << QStringLiteral("> host to radio, < radio to host: the bytes of one burst in hex, then as text");
    for (const QString &line : lines)
        writeLine(QLatin1String(commentMark) + line);
    return firstError == 0;
}

double WireTrace::now() const
{
    return clock.isValid() ? clock.nsecsElapsed() / 1e6 : 0.0;
}

void WireTrace::portOpened(const QString &port, const QSerialPort &settings)
{
    std::lock_guard<std::mutex> lock(mutex);
    const double at = now();
    add(at, QStringLiteral("%1  %2  opened: %3").arg(at, 10, 'f', 3).arg(port, describeLineSettings(settings)));
}

void WireTrace::portClosed(const QString &port)
{
    std::lock_guard<std::mutex> lock(mutex);
    const double at = now();
    add(at, QStringLiteral("%1  %2  closed").arg(at, 10, 'f', 3).arg(port));
}

// Times are taken under the lock: a line written has a time no burst that
// begins later can come before.
double WireTrace::burstBegins(const void *line)
{
    std::lock_guard<std::mutex> lock(mutex);
    const double at = now();
    openBursts[line] = at;
    return at;
}

void WireTrace::burst(const void *line, double at, const QString &port, Direction direction, const QByteArray &bytes)
{
    std::lock_guard<std::mutex> lock(mutex);
    openBursts.erase(line);
    add(at, QStringLiteral("%1  %2  %3  %4  |%5|")
                .arg(at, 10, 'f', 3)
                .arg(port, directionMark(direction), QString::fromLatin1(bytes.toHex(' ').toUpper()), asText(bytes)));
}

void WireTrace::add(double at, const QString &line)
{
    waiting.emplace(at, line);
    writeDue();
}

void WireTrace::writeDue()
{
    double earliestOpen = std::numeric_limits<double>::infinity();
    for (const auto &open : openBursts)
        earliestOpen = std::min(earliestOpen, open.second);
    while (!waiting.empty() && waiting.begin()->first <= earliestOpen) {
        writeLine(waiting.begin()->second);
        waiting.erase(waiting.begin());
    }
}

// Each line reaches the file at once: a trace is read after a hang too.
void WireTrace::writeLine(const QString &line)
{
    if (!file || firstError != 0)
        return;
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file) != size_t(bytes.size()) || std::fflush(file) != 0)
        firstError = errno != 0 ? errno : EIO;
}

bool WireTrace::close()
{
    std::lock_guard<std::mutex> lock(mutex);
    openBursts.clear();
    writeDue();
    if (!file)
        return firstError == 0;
    errno = 0;
    if (std::fclose(file) != 0 && firstError == 0)
        firstError = errno != 0 ? errno : EIO;
    file = nullptr;
    return firstError == 0;
}

bool WireTrace::failed() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return firstError != 0;
}

QString WireTrace::error() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return QString::fromLocal8Bit(std::strerror(firstError));
}

} // namespace Link
