#pragma once

#include "RadioModels.h"

#include <QByteArray>

// The command set spoken with a radio of the VKR627 series, and the waits of
// every exchange. Each constant is written whole, with its own length.
namespace Link {

extern const QByteArray pingCommand;        // 02 72 10 62: first message of a probe
extern const QByteArray pingAnswer;         // 02 72 41: marks a valid answer to the ping
extern const QByteArray identifyCommand;    // 02 50: asks for the model text
extern const QByteArray readMemoryCommand;  // 02 54: starts a read of the channel memory
extern const QByteArray writeMemoryCommand; // 02 4D: starts a write of the channel memory
extern const QByteArray ackByte;            // 06: acknowledges a channel frame
extern const QByteArray stxByte;            // 02: precedes each frame of a write
extern const QByteArray eotByte;            // 04: ends a write

// The single control bytes, as values.
constexpr char stxValue = 0x02; // start of a frame
constexpr char eotValue = 0x04; // end of a write
constexpr char ackValue = 0x06; // a frame taken
constexpr char nakValue = 0x15; // a frame refused

constexpr int baudRate = 9600;

// Waits in milliseconds: for the first bytes of an answer, and the silence
// that ends it.
constexpr int pingFirstByteTimeout = 400;
constexpr int pingQuietTime = 3000;
constexpr int identifyFirstByteTimeout = 1000;
constexpr int identifyQuietTime = 2000;
constexpr int readFrameTimeout = 1000;
constexpr int readQuietTime = 200;
constexpr int writeAckTimeout = 500;
// The silence that tells that a transfer's line noise is over, before the
// read that checks a write begins.
constexpr int settleQuietTime = 200;
// A write stopped before its closing 04 leaves the radio waiting for the
// rest of it, deaf to commands, until it gives the write up after a few
// seconds of silence; the next exchange waits this long first.
constexpr int unfinishedWriteQuiet = 3000;

// An answer longer than this is cut off: real answers are a few bytes to a
// few dozen, and a device that streams without pause (a GPS receiver, a
// noisy line) would otherwise keep a probe gathering forever.
constexpr int maxReplyLength = 4096;

constexpr int nameLength = RadioModels::seriesNameLength; // bytes of the name field
constexpr int frameLength = 2 + nameLength;              // megahertz, kilohertz step, the name
constexpr int sentFrameLength = frameLength + 1; // plus the checksum

} // namespace Link
