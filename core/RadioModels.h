#pragma once

#include <QByteArray>
#include <QString>

// The models of the VKR627 series and the limits of each: how many memory
// channels it has and how they are numbered, how long a name it stores and
// which band it tunes. Every other part of the program takes these numbers
// from here.

// A band as the lowest and highest channel designator, in kilohertz.
struct Band {
    int lowestKilohertz;
    int highestKilohertz;
};

struct RadioModel {
    const char *token;      // searched for anywhere in the model text the radio sends back
    const char *label;      // shown in the device label and in messages
    int channelCount;       // memory channels
    int firstChannelNumber; // number shown for the first channel
    int nameLength;         // characters, and bytes, of a stored name
    Band band;
};

namespace RadioModels {

// The air band's channels, 118.000 to 136.980 MHz, which every model tunes.
constexpr Band airBand{118000, 136980};
constexpr int seriesNameLength = 8;

constexpr int count = 4;

// The models in the order their tokens are searched: "62A", "627S",
// "627II", then "627", which the texts of all the others contain too.
constexpr RadioModel all[count] = {
    {"62A", "VKR627A", 100, 0, seriesNameLength, airBand},
    {"627S", "VKR627S", 20, 1, seriesNameLength, airBand},
    {"627II", "VKR627-II", 20, 1, seriesNameLength, airBand},
    {"627", "VKR627", 100, 0, seriesNameLength, airBand},
};

// The largest of the models' limits: what no model of the series exceeds.
constexpr int largestMemory()
{
    int largest = 0;
    for (const RadioModel &model : all)
        largest = model.channelCount > largest ? model.channelCount : largest;
    return largest;
}

constexpr int longestName()
{
    int longest = 0;
    for (const RadioModel &model : all)
        longest = model.nameLength > longest ? model.nameLength : longest;
    return longest;
}

// What no model of the series exceeds: the largest memory, numbered from 0,
// the longest name and the air band. The limits of a channel list meant for
// any radio of the series, and of the window's table while no radio is
// connected.
constexpr RadioModel seriesLimits{"", "VKR627 series", largestMemory(), 0, longestName(), airBand};
inline const RadioModel &series()
{
    return seriesLimits;
}

// The first model, in search order, whose token the text contains; null for
// a text without any of them.
const RadioModel *identify(const QByteArray &modelText);

// The model of that label ("VKR627S"; case, a leading "VKR" and "-" do not
// matter, so "627s" and "vkr627ii" name models too); null for none.
const RadioModel *named(const QString &label);

// The model's place in `all`.
int indexOf(const RadioModel &model);

// The first model with that many channels; null for none.
const RadioModel *withChannelCount(int channelCount);

} // namespace RadioModels
