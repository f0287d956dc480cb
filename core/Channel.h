#pragma once

#include "Frequency.h"

#include <QString>
#include <QVector>

#include <algorithm>

// One memory channel: a name and a frequency, either of them possibly
// empty. Both hold what came (typed, from a file, from a radio), also where
// a radio would not take it as it stands; the rules say what is right.
struct Channel {
    QString name;
    Frequency frequency;

    bool isEmpty() const { return name.isEmpty() && frequency.isEmpty(); }
    bool operator==(const Channel &other) const { return name == other.name && frequency == other.frequency; }
    bool operator!=(const Channel &other) const { return !(*this == other); }
};

// A memory's or a list's channels in order: channel k at index k.
using Channels = QVector<Channel>;

// The channels that hold a name or a frequency: the channels in use.
inline int usedCount(const Channels &channels)
{
    return int(std::count_if(channels.cbegin(), channels.cend(), [](const Channel &c) { return !c.isEmpty(); }));
}
