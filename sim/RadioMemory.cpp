#include "RadioMemory.h"

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

void RadioMemory::setFrame(int index, const QByteArray &frame)
{
    if (index >= 0 && index < frames.size())
        frames[index] = frame;
}

void RadioMemory::setChannel(int index, const QString &name, const QString &frequency)
{
    setFrame(index, Link::encodeChannelFrame(name, frequency).left(Link::frameLength));
}

Link::ReceivedChannel RadioMemory::channel(int index) const
{
    return Link::decodeChannelFrame(frame(index));
}

QByteArray RadioMemory::emptyFrame()
{
    return Link::encodeChannelFrame(QString(), QString()).left(Link::frameLength);
}
