#pragma once

#include <QByteArray>

// The models of the VKR627 series, told apart by a token in the model text
// that a radio sends back to the identify request.
namespace Link {

struct RadioModel {
    const char *token;      // searched for anywhere in the model text
    const char *label;      // shown in the device label
    int channelCount;       // memory channels, and rows of the table
    int firstChannelNumber; // number shown for the first channel
};

constexpr int radioModelCount = 4;

// The models in the order their tokens are searched: "62A", "627S",
// "627II", then "627", which the texts of all the others contain too.
const RadioModel *radioModels();

// The first model, in search order, whose token the text contains; null for
// a text without any of them.
const RadioModel *identifyModel(const QByteArray &modelText);

} // namespace Link
