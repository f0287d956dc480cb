#include "SerialPorts.h"

#include "LinkConstants.h"
#include "SerialPort.h"

#include <QDir>

namespace Link {

QStringList serialPortNames()
{
    if (qEnvironmentVariableIsSet(portListVariable)) {
        return qEnvironmentVariable(portListVariable)
            .split(QDir::listSeparator(), Qt::SkipEmptyParts);
    }
    QStringList names;
    const auto ports = SerialPortInfo::availablePorts();
    for (const SerialPortInfo &port : ports)
        names.append(port.portName());
    return names;
}

void applyLineSettings(SerialPort &port)
{
    port.setBaudRate(baudRate, SerialPort::AllDirections);
    port.setDataBits(SerialPort::Data8);
    port.setParity(SerialPort::NoParity);
    port.setStopBits(SerialPort::OneStop);
    port.setFlowControl(SerialPort::NoFlowControl);
}

} // namespace Link
