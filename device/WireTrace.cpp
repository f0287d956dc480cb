#include "WireTrace.h"

#include "SerialPort.h"

#include <QDateTime>
#include <QFile>

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

QString parityText(SerialPort::Parity parity)
{
    switch (parity) {
    case SerialPort::NoParity: return QStringLiteral("no parity");
    case SerialPort::EvenParity: return QStringLiteral("even parity");
    case SerialPort::OddParity: return QStringLiteral("odd parity");
    case SerialPort::SpaceParity: return QStringLiteral("space parity");
    case SerialPort::MarkParity: return QStringLiteral("mark parity");
    default: return QStringLiteral("unknown parity");
    }
}

QString stopBitsText(SerialPort::StopBits stopBits)
{
    switch (stopBits) {
    case SerialPort::OneStop: return QStringLiteral("1 stop bit");
    case SerialPort::OneAndHalfStop: return QStringLiteral("1.5 stop bits");
    case SerialPort::TwoStop: return QStringLiteral("2 stop bits");
    default: return QStringLiteral("unknown stop bits");
    }
}

QString flowControlText(SerialPort::FlowControl flowControl)
{
    switch (flowControl) {
    case SerialPort::NoFlowControl: return QStringLiteral("no flow control");
    case SerialPort::HardwareControl: return QStringLiteral("hardware flow control (RTS/CTS)");
    case SerialPort::SoftwareControl: return QStringLiteral("software flow control (XON/XOFF)");
    default: return QStringLiteral("unknown flow control");
    }
}

} // namespace

QString describeLineSettings(const SerialPort &port)
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
#ifdef Q_OS_WIN
    // By its UTF-16 name: a folder such as C:\Users\Jürgen Müller may not be
    // spelt in the system's 8-bit code page.
    file = _wfopen(reinterpret_cast<const wchar_t *>(path.utf16()), L"wb");
#else
    file = std::fopen(QFile::encodeName(path).constData(), "w");
#endif
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

void WireTrace::portOpened(const QString &port, const SerialPort &settings)
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
