#pragma once

#include "VirtualRadio.h"

#include <QString>

// The memory the transfer benchmarks move: every one of the 100 channels
// holds a name and a frequency, so every frame crosses the wire in full.
inline void fillEveryChannel(VirtualRadio &radio)
{
    for (int row = 0; row < 100; ++row)
        radio.setChannel(row, QStringLiteral("CH %1").arg(row),
                         QStringLiteral("%1.%2").arg(118 + row % 19).arg(row % 4 * 25, 3, 10, QLatin1Char('0')));
}
