#pragma once

#include "Channel.h"
#include "RadioModels.h"

#include <QByteArray>

// How a radio of the series keeps a channel, and how a read shows it again.
// The radio keeps a name as bytes in a field of fixed length, padded with
// spaces, and an empty channel as a blank name at 118.000; a read shows the
// name up to a zero byte, with its spaces trimmed and inner runs as one.
namespace StoredChannel {

// The name field as the radio keeps it: the name's UTF-8 bytes cut after
// the last whole character that fits `length` bytes (a cut inside a
// character would leave the radio half of it), padded with spaces.
QByteArray nameField(const QString &name, int length);

// The channel a read shows for a name field (as many bytes as came, at most
// `length`) and a frequency: the name up to its first zero byte, white space
// trimmed and inner runs made one space. A name field with no bytes before
// a zero, or of `length` spaces, at 118.000 is the empty channel.
Channel shown(const QByteArray &field, const Frequency &frequency, int length);

// The frequency the radio keeps for a channel: 118.000 for none.
Frequency frequencyKept(const Frequency &frequency);

// The channel as the radio stores it and a read shows it again. Two
// channels are the same in the radio exactly when these agree.
Channel asStored(const Channel &channel, const RadioModel &model);

// Whether the radio holds the channel as empty.
inline bool isEmptyAsStored(const Channel &channel, const RadioModel &model)
{
    return asStored(channel, model).isEmpty();
}

} // namespace StoredChannel
