#include "RadioMemory.h"

#include "ChannelFrame.h"
#include "LinkConstants.h"

RadioMemory::RadioMemory(int channelCount)
{
    resize(channelCount);
}

int RadioMemory::channelCount() const
{
    return frames.size();
}

void RadioMemory::resize(int channelCount)
{
    const int oldCount = frames.size();
    frames.resize(qMax(0, channelCount));
    for (int i = oldCount; i < frames.size(); ++i)
        frames[i] = emptyFrame();
}

QByteArray RadioMemory::frame(int index) const
{
    return frames.value(index);
}

void RadioMemory::setRawFrame(int index, const QByteArray &frame)
{
    if (index >= 0 && index < frames.size())
        frames[index] = frame;
}

bool RadioMemory::setChannel(int index, const Channel &channel)
{
    const QByteArray frame = Link::encodeChannelFrame(channel);
    if (frame.isEmpty())
        return false;
    setRawFrame(index, frame.left(Link::frameLength));
    return true;
}

Channel RadioMemory::channel(int index) const
{
    return Link::decodeChannelFrame(frame(index));
}

QByteArray RadioMemory::emptyFrame()
{
    return Link::encodeChannelFrame(Channel()).left(Link::frameLength);
}
