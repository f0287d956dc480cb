#pragma once

#include "Probe.h"
#include "SerialPort.h"

#include <QString>

namespace Link {

// Opens the named port (a name as the platform lists it, or a device path)
// with the radio's line settings and probes it. A port locked by another
// live process (a UUCP lock file) is left alone, the lock named in
// `report`. Null when the port is locked, does not open or no radio
// answers; the port may then still be open, and the caller
// closes it. On success the port stays open. `report`, when given, says
// how far the probe got. The probe talks through `line` when one is given
// (a TracedLine in front of the port), else through the port itself.
const RadioModel *openAndProbe(SerialPort &port, const QString &portName, const ProbeProgress &progress = {},
                               const StopRequested &stopRequested = {}, ProbeReport *report = nullptr,
                               QIODevice *line = nullptr);

} // namespace Link
