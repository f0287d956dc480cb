#pragma once

#include "ChannelCsv.h"
#include "ChannelTransfer.h"

class QIODevice;

// The radio's whole memory moved as channel records, the form that files
// and comparisons take, so that the window and the tool move it alike.
namespace MemoryTransfer {

struct Read {
    ChannelRecords channels; // one per channel of the memory; those that did not come stay empty
    Link::ReadResult result;
    bool isComplete() const { return result.isComplete(channels.size()); }
};

// `progress` runs with each channel's row as it comes.
Read read(QIODevice &port, int channelCount, const Link::FrameSent &progress,
          const Link::StopRequested &stopRequested = {});

// Writes `channelCount` channels: `channels`, then empty ones.
Link::WriteResult write(QIODevice &port, const ChannelRecords &channels, int channelCount,
                        const Link::FrameSent &frameSent, const Link::FrameAnswered &frameAnswered,
                        const Link::StopRequested &stopRequested = {});

} // namespace MemoryTransfer
