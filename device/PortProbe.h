#pragma once

#include "Probe.h"

#include <QString>
#include <QStringList>

class QSerialPort;

namespace Link {

// Opens the named port (a name as the platform lists it, or a device path)
// with the radio's line settings and probes it. Null when the port does not
// open or no radio answers; the port may then still be open, and the caller
// closes it. On success the port stays open.
const RadioModel *openAndProbe(QSerialPort &port, const QString &portName, const ProbeProgress &progress = {});

struct FoundRadio {
    const RadioModel *model = nullptr; // null: no port held a radio
    QString portName;
};

// Probes the ports in order and stops at the first that holds a radio,
// leaving it open; every other port it opened is closed again.
FoundRadio scanForRadio(QSerialPort &port, const QStringList &portNames);

} // namespace Link
