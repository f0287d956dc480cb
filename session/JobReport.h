#pragma once

#include "ChannelTransfer.h"

#include <QString>

namespace Session {

struct WriteResult;

// How a job's failures read, in the words the window and vkrtool share.
// Channels are named by number: channel k of the memory is called
// `firstNumber` + k (vkrtool counts from 0, the window as its table does).

// "5 of 20 channels came, 1 of them cut short": what an incomplete read got.
QString describeIncompleteRead(const Link::ReadResult &result, int channelCount);

// Which frames of a write the radio refused or did not answer, or where it
// went away: "the radio refused channels 3, 4 and did not answer channel 7".
QString describeFrameFaults(const WriteResult &result, int firstNumber);

} // namespace Session
