#pragma once

#include "SerialPorts.h"
#include "VirtualRadio.h"

#include <QString>

#include <memory>

// The radio the transfer benchmarks move memory with: paced at the wire's
// speed, every one of its 100 channels holding a name and a frequency so that
// every frame crosses in full, and the only port the program will scan.
inline std::unique_ptr<VirtualRadio> pacedFullRadio()
{
    RadioSettings settings;
    settings.faults.pace = true;
    auto radio = std::make_unique<VirtualRadio>(settings);
    for (int row = 0; row < 100; ++row)
        radio->setChannel(row, QStringLiteral("CH %1").arg(row),
                          QStringLiteral("%1.%2").arg(118 + row % 19).arg(row % 4 * 25, 3, 10, QLatin1Char('0')));
    qputenv(Link::portListVariable, radio->portName().toLocal8Bit());
    return radio;
}
