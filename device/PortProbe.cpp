#include "PortProbe.h"

#include "SerialPorts.h"

#include <QSerialPort>

namespace Link {

const RadioModel *openAndProbe(QSerialPort &port, const QString &portName, const ProbeProgress &progress,
                               const StopRequested &stopRequested, ProbeReport *report)
{
    port.setPortName(portName);
    applyLineSettings(port);
    if (!port.open(QIODevice::ReadWrite))
        return nullptr;
    return probeRadio(port, progress, stopRequested, report);
}

} // namespace Link
