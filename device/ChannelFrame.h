#pragma once

#include "Channel.h"

#include <QByteArray>

// The channel frame: one memory channel on the serial line, as ten content
// bytes (whole megahertz, kilohertz step, 8 name bytes). The host sends it
// with a checksum byte appended; the radio sends it bare.
namespace Link {

// One byte: 0xFF with each of the first n bytes of the frame XORed into it.
// Over zero bytes it is 0xFF.
char frameChecksum(const QByteArray &frame, int n);

// The 11 bytes the host sends for a channel after the STX byte: megahertz,
// step, the name field (StoredChannel::nameField), checksum. An empty
// frequency is sent as 118.000. Empty for a channel whose frequency does not
// fit the frame's two bytes (one no radio can hold): such a frequency is
// refused, never cut to fit.
QByteArray encodeChannelFrame(const Channel &channel);

// Decodes an answer by position: byte 0 megahertz, byte 1 step, bytes 2 to 9
// the name (StoredChannel::shown). Missing bytes count as 0 (megahertz,
// step) or as no name. Bytes beyond the frame's ten are not looked at.
Channel decodeChannelFrame(const QByteArray &answer);

// Whether an answer to a read holds a channel that a radio of the series
// can store: its frequency a channel of the band and its name free of
// control bytes. A byte of line noise in front of a frame shifts every
// byte of it, which gives a megahertz byte outside the band or a step off
// the raster; such a frame must not pass for the radio's channel. Bytes
// beyond the frame's ten are not looked at.
bool isStorableFrame(const QByteArray &answer);

} // namespace Link
