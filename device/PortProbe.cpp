#include "PortProbe.h"

#include "SerialPort.h"
#include "SerialPorts.h"

namespace Link {

const RadioModel *openAndProbe(SerialPort &port, const QString &portName, const ProbeProgress &progress,
                               const StopRequested &stopRequested, ProbeReport *report, QIODevice *line)
{
    // Another program's port is not touched: opening it would take its lock.
    const PortLock lock = liveLockOf(portName);
    if (lock.held()) {
        if (report) {
            *report = ProbeReport();
            report->lock = lock;
        }
        return nullptr;
    }
    port.setPortName(portName);
    applyLineSettings(port);
    if (!port.open(QIODevice::ReadWrite))
        return nullptr;
    return probeRadio(line ? *line : port, progress, stopRequested, report);
}

} // namespace Link
