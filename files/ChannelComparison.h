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
    // Where two memories were compared byte for byte: the bytes each holds.
    QByteArray firstBytes;
    QByteArray secondBytes;
};

// Every channel, up to the longer list, that the radio would store
// differently; a list too short for a channel counts as holding it empty.
QVector<Difference> differences(const Channels &first, const Channels &second,
                                const RadioModel &model = RadioModels::series());

// How a channel shows in messages: "TOWER" 121.500, (no name) 121.500, or (empty).
QString describe(const Channel &channel);

// Each side of a difference in those words; with its bytes in hex too where
// the bytes differ but the channels read the same ("A  B" and "A B").
QString describeFirst(const Difference &difference);
QString describeSecond(const Difference &difference);

} // namespace ChannelComparison
