#pragma once

#include "Channel.h"
#include "RadioModels.h"

#include <QByteArray>
#include <QVector>

// The channel memory of the virtual radio: one stored frame per channel,
// sent as it stands when the host reads the memory. A new or empty channel
// holds 118, 0 and eight spaces.
class RadioMemory
{
public:
    explicit RadioMemory(int channelCount = RadioModels::largestMemory());

    int channelCount() const;
    // Keeps the first channels; channels that are added are empty.
    void resize(int channelCount);

    QByteArray frame(int index) const;
    // Stores raw bytes, any length, to be sent as they are.
    void setRawFrame(int index, const QByteArray &frame);
    // Stores the channel as the host would write it; false, with nothing
    // stored, for a frequency no frame can carry.
    bool setChannel(int index, const Channel &channel);
    // The same for a channel given as text, as the command line gives it.
    bool setChannel(int index, const QString &name, const QString &frequency)
    {
        return setChannel(index, {name, Frequency::fromText(frequency)});
    }
    // The channel as the host shows it after a read.
    Channel channel(int index) const;

    static QByteArray emptyFrame();

    bool operator==(const RadioMemory &other) const { return frames == other.frames; }

private:
    QVector<QByteArray> frames;
};
