#include "PortProbe.h"

#include "SerialPorts.h"

#include <QSerialPort>

namespace Link {

const RadioModel *openAndProbe(QSerialPort &port, const QString &portName, const ProbeProgress &progress)
{
    port.setPortName(portName);
    applyLineSettings(port);
    if (!port.open(QIODevice::ReadWrite))
        return nullptr;
    return probeRadio(port, progress);
}

FoundRadio scanForRadio(QSerialPort &port, const QStringList &portNames)
{
    for (const QString &name : portNames) {
        if (const RadioModel *model = openAndProbe(port, name))
            return {model, name};
        port.close();
    }
    return {};
}

} // namespace Link
