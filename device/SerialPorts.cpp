#include "SerialPorts.h"

#include "LinkConstants.h"
#include "SerialPort.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#ifdef Q_OS_UNIX
#include <poll.h>
#endif

namespace Link {

namespace {

// The device a port name leads to: one device may be listed under several
// names (a link such as /dev/serial/by-id/..., a name and its path).
QString deviceOf(const QString &name)
{
#ifdef Q_OS_UNIX
    const QString path = name.contains(QLatin1Char('/')) ? name : QStringLiteral("/dev/") + name;
    const QString device = QFileInfo(path).canonicalFilePath();
    if (!device.isEmpty())
        return device;
#endif
    return name;
}

// Each device once, under the first of its names: probed twice at once,
// it would answer neither probe, and a radio would be counted twice.
QStringList eachDeviceOnce(const QStringList &names)
{
    QStringList kept;
    QSet<QString> devices;
    for (const QString &name : names) {
        const QString device = deviceOf(name);
        if (devices.contains(device))
            continue;
        devices.insert(device);
        kept.append(name);
    }
    return kept;
}

} // namespace

QStringList serialPortNames()
{
    if (qEnvironmentVariableIsSet(portListVariable))
        return eachDeviceOnce(qEnvironmentVariable(portListVariable).split(QDir::listSeparator(), Qt::SkipEmptyParts));
    QStringList names;
    const auto ports = SerialPortInfo::availablePorts();
    for (const SerialPortInfo &port : ports)
        names.append(port.portName());
    return eachDeviceOnce(names);
}

void applyLineSettings(SerialPort &port)
{
    port.setBaudRate(baudRate, SerialPort::AllDirections);
    port.setDataBits(SerialPort::Data8);
    port.setParity(SerialPort::NoParity);
    port.setStopBits(SerialPort::OneStop);
    port.setFlowControl(SerialPort::NoFlowControl);
}

bool lineHungUp(SerialPort &port)
{
#ifdef Q_OS_UNIX
    pollfd line{int(port.handle()), POLLIN, 0};
    if (line.fd < 0 || ::poll(&line, 1, 0) < 0)
        return true;
    return (line.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
#else
    Q_UNUSED(port)
    return true;
#endif
}

} // namespace Link
