#pragma once

#include <QByteArray>
#include <QString>

// The channel frame: one memory channel on the serial line, as ten content
// bytes (whole megahertz, kilohertz step, 8 name bytes). The host sends it
// with a checksum byte appended; the radio sends it bare.
namespace Link {

// One byte: 0xFF with each of the first n bytes of the frame XORed into it.
// Over zero bytes it is 0xFF.
char frameChecksum(const QByteArray &frame, int n);

struct FrequencyBytes {
    quint8 megahertz;
    quint8 step; // kilohertz divided by 5
};

// "121.500" for 121 and 100: the step times 5, at least three digits wide.
// Received steps have no upper bound, so 118 and 200 give "118.1000".
QString frequencyText(quint8 megahertz, quint8 step);

// The text split at "." (empty parts kept): the low 8 bits of the first part,
// and the second part divided by 5, then cut to 8 bits. A part that is no
// unsigned decimal number counts as 0; an empty text gives the empty
// channel's 118 and 0.
FrequencyBytes frequencyBytes(const QString &frequency);

// The 11 bytes the host sends for a channel after the STX byte: megahertz,
// step, the name's UTF-8 bytes up to the last whole character within 8
// bytes, padded with spaces, checksum. An empty frequency is sent as 118.000.
QByteArray encodeChannelFrame(const QString &name, const QString &frequency);

// A channel as the table shows it after a read.
struct ReceivedChannel {
    QString name;      // white space trimmed and inner runs made one space
    QString frequency; // empty for a channel not in use
};

// Decodes an answer by position: byte 0 megahertz, byte 1 step, bytes 2 to 9
// the name up to its first zero byte. Missing bytes count as 0 (megahertz,
// step) or as no name. A channel with an empty or all-space name at 118.000
// is the empty channel and gets an empty frequency.
ReceivedChannel decodeChannelFrame(const QByteArray &answer);

// Whether an answer to a read holds a channel that a radio of the series
// can store: its frequency a channel of the band and its name free of
// control bytes. A byte of line noise in front of a frame shifts every
// byte of it, which gives a megahertz byte outside the band or a step off
// the raster; such a frame must not pass for the radio's channel. Bytes
// beyond the frame's ten are not looked at.
bool isStorableFrame(const QByteArray &answer);

// The channel as the radio stores it and a read shows it again: through the
// frame the host sends and back. A name longer than 8 bytes comes back cut,
// inner runs of spaces as one; an empty frequency with a name comes back as
// 118.000. Two channels are the same in the radio exactly when these agree.
ReceivedChannel storedChannel(const QString &name, const QString &frequency);

// Whether a frequency text survives the frame unchanged (empty counts): the
// channel designators, but also odd values a radio may hold, as a read
// shows them ("118.1000"). Not so for text that is no frequency at all.
bool isEncodableFrequency(const QString &frequency);

} // namespace Link
