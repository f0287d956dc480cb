#pragma once

#include "Channel.h"

// A channel as a test writes it: its name and its frequency as text.
inline Channel channelOf(const QString &name, const QString &frequency)
{
    return {name, Frequency::fromText(frequency)};
}
