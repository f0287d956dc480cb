#pragma once

#include "ChannelCsv.h"

#include <QVector>

// Channels compared as the radio stores them: each side goes through the
// frame the link sends and back, so a name cut at 8 bytes, inner spaces run
// together, or an empty frequency that the radio holds as 118.000 count as
// the same channel.
namespace ChannelComparison {

struct Difference {
    int channel;
    ChannelRecord first;  // as stored
    ChannelRecord second; // as stored
};

// Every channel, up to the longer list, that the radio would store
// differently; a list too short for a channel counts as holding it empty.
QVector<Difference> differences(const ChannelRecords &first, const ChannelRecords &second);

// How a channel shows in messages: "TOWER" 121.500, (no name) 121.500, or (empty).
QString describe(const ChannelRecord &record);

} // namespace ChannelComparison
