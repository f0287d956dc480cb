#include "MemoryTransfer.h"

namespace MemoryTransfer {

Read read(QIODevice &port, int channelCount, const Link::FrameSent &progress, const Link::StopRequested &stopRequested)
{
    Read read;
    read.channels.resize(channelCount);
    read.result = Link::readChannelMemory(
        port, channelCount,
        [&](int row, const Link::ReceivedChannel &channel) {
            read.channels[row] = {channel.name, channel.frequency};
            progress(row);
        },
        stopRequested);
    return read;
}

Link::WriteResult write(QIODevice &port, const ChannelRecords &channels, int channelCount,
                        const Link::FrameSent &frameSent, const Link::FrameAnswered &frameAnswered,
                        const Link::StopRequested &stopRequested)
{
    QVector<Link::ChannelText> texts;
    texts.reserve(channelCount);
    for (int row = 0; row < channelCount; ++row) {
        const ChannelRecord record = channels.value(row);
        texts.append({record.name, record.frequency});
    }
    return Link::writeChannelMemory(port, texts, frameSent, frameAnswered, stopRequested);
}

} // namespace MemoryTransfer
