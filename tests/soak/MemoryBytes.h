#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

class VirtualRadio;

// The radio's memory as bytes, and the bytes the soak expects there, worked
// out here from the radio's layout and not with the program's frame, file
// or comparison code: a fault in those must not hide in the soak's verdict.
namespace Soak {

// A channel as a user types it: a name, and a frequency as text with its
// decimals ("121.500"); both empty for the empty channel.
struct Typed {
    QString name;
    QString frequency;
};
using TypedChannels = QVector<Typed>;

// One stored frame of ten bytes per channel, as the radio keeps them.
using Frames = QVector<QByteArray>;

// The ten bytes a radio keeps for a channel: the whole megahertz, the
// kilohertz above it divided by 5, and the name's UTF-8 bytes cut at 8
// bytes where a character ends, padded with spaces. No frequency is 118.000.
QByteArray storedFrame(const Typed &channel);
// Channel k of the list into frame k; the channels beyond it empty.
Frames storedFrames(const TypedChannels &channels, int channelCount);

Frames framesIn(const VirtualRadio &radio);
void load(VirtualRadio &radio, const Frames &frames);

// A channel file: "NAME;121.500" and CR LF per record, record k channel k.
QByteArray channelFile(const TypedChannels &channels);
// The records of a channel file the program wrote. False when it does not open.
bool readChannelFile(const QString &path, TypedChannels &channels);

// The frames a backup says the radio held: the one place that knows how a
// backup keeps them. False when it does not open.
bool framesOfBackup(const QString &path, int channelCount, Frames &frames);

// Empty when both hold the same bytes; else the first channel that differs,
// with both frames in hex.
QString difference(const Frames &expected, const Frames &found);

} // namespace Soak
