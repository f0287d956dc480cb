#pragma once

#include "LinkConstants.h"
#include "RadioMemory.h"
#include "RadioSettings.h"

#include <QByteArray>
#include <QMap>

#include <chrono>
#include <deque>
#include <optional>
#include <random>
#include <vector>

// What a radio of the series does with the bytes it hears: it answers the
// ping and the identify request, sends its memory frame by frame on a read
// (the next frame only after the host's 06), and takes a write frame by
// frame (06 for a frame whose checksum holds, 15 otherwise), storing the
// frames when 04 ends the write. Faults from the settings change that.
//
// The protocol does no input or output itself: bytes go in with the time
// they were read, answers come out with the time they are due, so the same
// logic serves a terminal, a test, or a paced wire.
class RadioProtocol
{
public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    struct LoggedByte {
        TimePoint at;
        quint8 value;
    };

    // Time a byte takes on a 9600-baud wire: start bit, 8 data bits, stop bit.
    static constexpr std::chrono::nanoseconds byteTime{10'000'000'000LL / Link::baudRate};
    // A transfer the host abandons ends after this much silence.
    static constexpr std::chrono::milliseconds sessionTimeout{2500};

    explicit RadioProtocol(const RadioSettings &settings = RadioSettings());

    const RadioSettings &settings() const;
    // Takes new settings at once; the memory follows the model's channel count.
    void setSettings(const RadioSettings &settings);

    RadioMemory &memory();
    const RadioMemory &memory() const;

    // A byte read from the line at `readAt`. When pacing, each byte is heard
    // one byte time after the one before it, at the earliest.
    void receive(char byte, TimePoint readAt);
    // Acts on every byte heard by `now`.
    void advance(TimePoint now);

    // Queues bytes to send, not before `notBefore`, after everything queued
    // before; gives the time the last of them is due.
    TimePoint sendAt(const QByteArray &bytes, TimePoint notBefore);
    // Takes the queued bytes that are due by `now`.
    QByteArray takeDueOutput(TimePoint now);

    // When something is next to be done: a byte to hear, a byte to send, the
    // terminal to close.
    std::optional<TimePoint> nextEvent() const;
    // True once a fault wants the terminal closed and all before it is sent.
    bool unplugDue(TimePoint now) const;

    const std::vector<LoggedByte> &receivedLog() const;
    const std::vector<LoggedByte> &sentLog() const;
    void clearLogs();
    // Writes ended by 04; their accepted frames are in the memory.
    int completedWrites() const;

private:
    enum class Mode { Idle, Reading, Writing };

    void hear(char byte, TimePoint at);
    void parseCommand(char byte, TimePoint at);
    void answerPing(TimePoint at);
    void answerIdentify(TimePoint at);
    void startRead(TimePoint at);
    void sendFrame(TimePoint at);
    void takeWriteByte(char byte, TimePoint at);
    void takeWriteFrame(const QByteArray &frame, TimePoint at);
    bool transferHasStopped();
    void endTransfer(TimePoint at);
    void endSession();
    TimePoint answer(const QByteArray &bytes, TimePoint at);
    void answerWithGarbage(const QByteArray &token, TimePoint at);

    RadioSettings radioSettings;
    RadioMemory radioMemory;

    struct HeardByte {
        char value;
        TimePoint at;
    };
    struct QueuedByte {
        char value;
        TimePoint due;
    };
    std::deque<HeardByte> input;
    std::deque<QueuedByte> output;
    TimePoint lastArrival{};
    TimePoint lastDue{};
    TimePoint lastActivity{};
    std::optional<TimePoint> unplugAt;

    Mode mode = Mode::Idle;
    QByteArray command;        // bytes of a command being heard
    QByteArray writeFrame;     // bytes of a write frame being heard
    QMap<int, QByteArray> stagedFrames;
    int frameIndex = 0;        // next frame of a read
    int transferFrames = 0;    // frames sent or taken in this transfer
    bool stopped = false;      // gone dead for the rest of this transfer
    int writesCompleted = 0;

    std::vector<LoggedByte> received;
    std::vector<LoggedByte> sent;
    std::mt19937 random;
};
