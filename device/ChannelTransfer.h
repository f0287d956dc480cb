#pragma once

#include "ChannelFrame.h"
#include "Reply.h"

#include <QString>
#include <QVector>

#include <functional>

class QIODevice;

// Reading and writing the whole channel memory over an open port, one
// channel frame at a time.
namespace Link {

// A channel of a read, decoded, with the frame it came in (as many bytes as
// came, up to the frame's length).
using ChannelReceived = std::function<void(int row, const Channel &channel, const QByteArray &frame)>;

struct ReadResult {
    int received = 0;    // channels handed over
    int shortFrames = 0; // of them, answers of fewer than 10 bytes (cut short, or split by a pause)
    int badFrames = 0;   // of them, answers that hold no channel a radio stores (shifted by line noise)
    int shiftedFrames = 0; // of the bad ones, those longer than a frame, as a byte in front makes them
    bool stopped = false; // ended early because a stop was requested

    // Every channel of the memory came, each as a whole frame that holds a
    // channel the radio can have stored.
    bool isComplete(int channelCount) const
    {
        return received == channelCount && shortFrames == 0 && badFrames == 0 && !stopped;
    }
};

// Drops what the port holds, sends the read command, then for each channel
// waits up to 1000 ms for its frame, gathers it (200 ms of quiet ends it),
// acknowledges it and hands it over decoded, with its row. After the last
// channel it still waits up to 1000 ms, so bytes the radio sends after its
// memory stay in the port. Fewer channels than `channelCount` come when the
// radio fell silent.
ReadResult readChannelMemory(QIODevice &port, int channelCount, const ChannelReceived &channelReceived,
                             const StopRequested &stopRequested = {});

enum class FrameAnswer {
    Acknowledged, // the first byte of the answer was 06
    Refused,      // the answer began with another byte
    Missing,      // no answer within 500 ms
};

using FrameSent = std::function<void(int row)>; // may be empty
using FrameAnswered = std::function<void(int row, FrameAnswer answer)>;

struct WriteResult {
    bool allAcknowledged = false; // every frame sent was acknowledged with 06
    int sent = 0;                 // frames sent
    bool stopped = false;         // a stop was requested: the closing 04 was not sent
    int unsendable = -1;          // the first channel that fits no frame: nothing at all was sent
};

// Sends nothing at all when a channel does not fit a frame (unsendable).
// Else drops what the port holds, sends the write command, then each channel as
// STX and its frame with checksum, waiting up to 500 ms for the radio's
// answer to each, and 04 at the end. Every frame is sent whatever the
// answers. `frameSent` runs while the frame is on the line, before its
// answer is awaited, so that what the caller shows costs the transfer no
// time; `frameAnswered` runs with the answer. A stop requested between
// frames ends the write without the closing 04, so a radio that stores a
// write only when 04 ends it keeps its old memory.
WriteResult writeChannelMemory(QIODevice &port, const Channels &channels, const FrameSent &frameSent,
                               const FrameAnswered &frameAnswered, const StopRequested &stopRequested = {});

// The same with each channel's ten bytes as they are (a memory put back
// byte for byte); a frame of another length is unsendable.
WriteResult writeFrames(QIODevice &port, const QVector<QByteArray> &frames, const FrameSent &frameSent,
                        const FrameAnswered &frameAnswered, const StopRequested &stopRequested = {});

} // namespace Link
