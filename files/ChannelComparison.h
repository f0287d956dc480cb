#pragma once

#include "Channel.h"
#include "RadioModels.h"

#include <QVector>

// Channels compared as a radio stores them (StoredChannel): a name cut at
// the model's length, inner spaces run together, or an empty frequency that
// the radio holds as 118.000 count as the same channel.
namespace ChannelComparison {

struct Difference {
    int channel;
    Channel first;  // as stored
    Channel second; // as stored
};

// Every channel, up to the longer list, that the radio would store
// differently; a list too short for a channel counts as holding it empty.
QVector<Difference> differences(const Channels &first, const Channels &second,
                                const RadioModel &model = RadioModels::series());

// How a channel shows in messages: "TOWER" 121.500, (no name) 121.500, or (empty).
QString describe(const Channel &channel);

} // namespace ChannelComparison
