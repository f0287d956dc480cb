#include "SerialPorts.h"

#include "LinkConstants.h"

#include <QDir>
#include <QSerialPort>
#include <QSerialPortInfo>

namespace Link {

QStringList serialPortNames()
{
    if (qEnvironmentVariableIsSet(portListVariable)) {
        return qEnvironmentVariable(portListVariable)
            .split(QDir::listSeparator(), Qt::SkipEmptyParts);
    }
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports)
        names.append(port.portName());
    return names;
}

void applyLineSettings(QSerialPort &port)
{
    port.setBaudRate(baudRate, QSerialPort::AllDirections);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
}

} // namespace Link
