#include "RadioProtocol.h"

#include "ChannelFrame.h"
#include "LinkConstants.h"
#include "RadioModels.h"

#include <algorithm>
#include <array>

namespace {

using std::chrono::milliseconds;

constexpr int sentFrameBytes = 1 + Link::sentFrameLength; // STX, frame, checksum

// Line noise after a transfer comes this long after its end.
constexpr milliseconds strayByteDelay{100};

// Neither the ping nor the ping answer: STX 'r' '?'.
const QByteArray wrongPingAnswer("\x02\x72\x3F", 3);

int channelCountOf(int model)
{
    return RadioModels::all[qBound(0, model, RadioModels::count - 1)].channelCount;
}

} // namespace

constexpr std::chrono::nanoseconds RadioProtocol::byteTime;
constexpr std::chrono::milliseconds RadioProtocol::sessionTimeout;

RadioProtocol::RadioProtocol(const RadioSettings &settings)
    : radioSettings(settings)
    , radioMemory(channelCountOf(settings.model))
    , random(settings.faults.garbageSeed)
{
}

const RadioSettings &RadioProtocol::settings() const
{
    return radioSettings;
}

void RadioProtocol::setSettings(const RadioSettings &settings)
{
    if (settings.faults.garbageSeed != radioSettings.faults.garbageSeed)
        random.seed(settings.faults.garbageSeed);
    radioSettings = settings;
    radioMemory.resize(channelCountOf(settings.model));
}

RadioMemory &RadioProtocol::memory()
{
    return radioMemory;
}

const RadioMemory &RadioProtocol::memory() const
{
    return radioMemory;
}

void RadioProtocol::receive(char byte, TimePoint readAt)
{
    TimePoint arrival = readAt;
    if (radioSettings.faults.pace)
        arrival = std::max(readAt, lastArrival) + byteTime;
    lastArrival = arrival;
    input.push_back({byte, arrival});
}

void RadioProtocol::advance(TimePoint now)
{
    while (!input.empty() && input.front().at <= now) {
        const HeardByte byte = input.front();
        input.pop_front();
        received.push_back({byte.at, static_cast<quint8>(byte.value)});
        hear(byte.value, byte.at);
    }
}

RadioProtocol::TimePoint RadioProtocol::sendAt(const QByteArray &bytes, TimePoint notBefore)
{
    for (char value : bytes) {
        TimePoint due = std::max(notBefore, lastDue);
        if (radioSettings.faults.pace)
            due += byteTime;
        lastDue = due;
        output.push_back({value, due});
    }
    return std::max(notBefore, lastDue);
}

QByteArray RadioProtocol::takeDueOutput(TimePoint now)
{
    QByteArray bytes;
    while (!output.empty() && output.front().due <= now) {
        const QueuedByte byte = output.front();
        output.pop_front();
        sent.push_back({byte.due, static_cast<quint8>(byte.value)});
        bytes.append(byte.value);
    }
    return bytes;
}

std::optional<RadioProtocol::TimePoint> RadioProtocol::nextEvent() const
{
    std::optional<TimePoint> next = unplugAt;
    if (!input.empty())
        next = next ? std::min(*next, input.front().at) : input.front().at;
    if (!output.empty())
        next = next ? std::min(*next, output.front().due) : output.front().due;
    return next;
}

bool RadioProtocol::unplugDue(TimePoint now) const
{
    return unplugAt && now >= *unplugAt && output.empty();
}

const std::vector<RadioProtocol::LoggedByte> &RadioProtocol::receivedLog() const
{
    return received;
}

const std::vector<RadioProtocol::LoggedByte> &RadioProtocol::sentLog() const
{
    return sent;
}

void RadioProtocol::clearLogs()
{
    received.clear();
    sent.clear();
}

int RadioProtocol::completedWrites() const
{
    return writesCompleted;
}

void RadioProtocol::hear(char byte, TimePoint at)
{
    const int unplugAfterBytes = radioSettings.faults.unplugAfterBytes;
    if (unplugAfterBytes >= 0 && int(received.size()) >= unplugAfterBytes && !unplugAt)
        unplugAt = at;
    // A transfer the host gave up on must not swallow its next command.
    if (mode != Mode::Idle && at - std::max(lastActivity, lastDue) > sessionTimeout)
        endSession();
    lastActivity = at;
    if (radioSettings.faults.silent)
        return;

    switch (mode) {
    case Mode::Idle:
        parseCommand(byte, at);
        break;
    case Mode::Reading:
        if (byte == Link::ackValue) {
            if (transferHasStopped())
                return;
            ++frameIndex;
            // Unplugged once the host has the frames: it acknowledged them.
            const int unplugAfter = radioSettings.faults.unplugAfterFrames;
            if (unplugAfter >= 0 && frameIndex >= unplugAfter && !unplugAt)
                unplugAt = std::max(at, lastDue);
            else if (frameIndex < radioMemory.channelCount())
                sendFrame(at);
            else
                endTransfer(at);
        } else {
            endSession();
            parseCommand(byte, at);
        }
        break;
    case Mode::Writing:
        takeWriteByte(byte, at);
        break;
    }
}

void RadioProtocol::parseCommand(char byte, TimePoint at)
{
    if (command.isEmpty()) {
        if (byte == Link::stxValue)
            command.append(byte);
        return;
    }
    command.append(byte);

    if (command == Link::pingCommand) {
        command.clear();
        answerPing(at);
        return;
    }
    if (command == Link::identifyCommand) {
        command.clear();
        answerIdentify(at);
        return;
    }
    if (command == Link::readMemoryCommand) {
        command.clear();
        startRead(at);
        return;
    }
    if (command == Link::writeMemoryCommand) {
        command.clear();
        mode = Mode::Writing;
        return;
    }
    const bool started = Link::pingCommand.startsWith(command) || Link::identifyCommand.startsWith(command)
        || Link::readMemoryCommand.startsWith(command) || Link::writeMemoryCommand.startsWith(command);
    if (!started) {
        command.clear();
        if (byte == Link::stxValue)
            command.append(byte);
    }
}

void RadioProtocol::answerPing(TimePoint at)
{
    const RadioFaults &faults = radioSettings.faults;
    if (faults.garbage)
        answerWithGarbage(Link::pingAnswer, at);
    else if (faults.wrongPingAnswer)
        answer(wrongPingAnswer, at);
    else if (faults.echoPing)
        answer(Link::pingCommand, at);
    else
        answer(Link::pingAnswer, at);
}

void RadioProtocol::answerIdentify(TimePoint at)
{
    const RadioFaults &faults = radioSettings.faults;
    if (faults.noIdentifyAnswer)
        return;
    if (faults.garbage) {
        const int model = std::uniform_int_distribution<int>(0, RadioModels::count - 1)(random);
        answerWithGarbage(QByteArray(RadioModels::all[model].token), at);
        return;
    }
    const QByteArray text = radioSettings.modelText.isEmpty() ? defaultModelText(radioSettings.model)
                                                              : radioSettings.modelText;
    answer(text, at);
}

void RadioProtocol::startRead(TimePoint at)
{
    mode = Mode::Reading;
    frameIndex = 0;
    transferFrames = 0;
    stopped = false;
    if (radioMemory.channelCount() > 0)
        sendFrame(at);
}

void RadioProtocol::sendFrame(TimePoint at)
{
    if (transferHasStopped())
        return;
    const RadioFaults &faults = radioSettings.faults;
    QByteArray frame = radioMemory.frame(frameIndex);
    if (frameIndex == faults.oneByteFrame)
        frame = frame.left(1);
    if (frameIndex == faults.strayByteBeforeFrame)
        frame.prepend(Link::nakValue);

    if (frameIndex == faults.pauseFrame && faults.pauseOffset > 0 && faults.pauseOffset < frame.size()) {
        const TimePoint firstPartDue = answer(frame.left(faults.pauseOffset), at);
        sendAt(frame.mid(faults.pauseOffset), firstPartDue + milliseconds(faults.pauseTime));
    } else {
        answer(frame, at);
    }
    ++transferFrames;
}

void RadioProtocol::takeWriteByte(char byte, TimePoint at)
{
    if (writeFrame.isEmpty()) {
        if (byte == Link::eotValue) {
            if (!stopped) {
                for (auto it = stagedFrames.cbegin(); it != stagedFrames.cend(); ++it) {
                    QByteArray frame = it.value();
                    if (it.key() == radioSettings.faults.corruptChannel)
                        frame[1] = static_cast<char>(frame.at(1) + 1);
                    radioMemory.setRawFrame(it.key(), frame);
                }
                ++writesCompleted;
            }
            endTransfer(at);
        } else if (byte == Link::stxValue) {
            writeFrame.append(byte);
        }
        return;
    }
    writeFrame.append(byte);
    if (writeFrame.size() == sentFrameBytes) {
        const QByteArray frame = writeFrame.mid(1);
        writeFrame.clear();
        takeWriteFrame(frame, at);
    }
}

void RadioProtocol::takeWriteFrame(const QByteArray &frame, TimePoint at)
{
    if (transferHasStopped())
        return;
    const RadioFaults &faults = radioSettings.faults;
    const int index = transferFrames;
    const QByteArray content = frame.left(Link::frameLength);
    const bool intact = frame.at(Link::frameLength) == Link::frameChecksum(content, Link::frameLength);
    if (index == faults.unansweredFrame) {
        ++transferFrames;
        return;
    }
    const bool refused = faults.nakEveryFrame || index == faults.nakFrame;
    const bool accepted = intact && index < radioMemory.channelCount() && !refused;
    if (accepted)
        stagedFrames.insert(index, content);

    TimePoint lastByteDue = std::max(at, lastDue);
    if (!faults.noAcknowledge)
        lastByteDue = answer(QByteArray(1, accepted ? Link::ackValue : Link::nakValue), at);
    ++transferFrames;
    const int unplugAfter = faults.unplugAfterFrames;
    if (unplugAfter >= 0 && transferFrames >= unplugAfter && !unplugAt)
        unplugAt = lastByteDue;
}

bool RadioProtocol::transferHasStopped()
{
    const int stopAfter = radioSettings.faults.stopAfterFrames;
    if (stopAfter >= 0 && transferFrames >= stopAfter)
        stopped = true;
    return stopped;
}

// The end of a read (its last frame acknowledged) or of a write (its 04).
void RadioProtocol::endTransfer(TimePoint at)
{
    endSession();
    if (radioSettings.faults.strayByteAfterTransfer)
        sendAt(QByteArray(1, Link::nakValue), at + strayByteDelay);
}

void RadioProtocol::endSession()
{
    mode = Mode::Idle;
    command.clear();
    writeFrame.clear();
    stagedFrames.clear();
    frameIndex = 0;
    transferFrames = 0;
    stopped = false;
}

RadioProtocol::TimePoint RadioProtocol::answer(const QByteArray &bytes, TimePoint at)
{
    return sendAt(bytes, at + milliseconds(radioSettings.faults.answerDelay));
}

// Random bytes, the token in them half of the time, sent in up to three
// pieces after random pauses: some come too late, some gather into one
// answer, some split it.
void RadioProtocol::answerWithGarbage(const QByteArray &token, TimePoint at)
{
    auto between = [this](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    QByteArray bytes;
    const int length = between(0, 48);
    for (int i = 0; i < length; ++i)
        bytes.append(static_cast<char>(between(0, 255)));
    if (between(0, 1) == 1)
        bytes.insert(between(0, bytes.size()), token);

    TimePoint due = at + milliseconds(between(0, 600));
    const int pieces = between(1, 3);
    int start = 0;
    for (int piece = 0; piece < pieces && start < bytes.size(); ++piece) {
        const int end = piece == pieces - 1 ? bytes.size() : between(start, bytes.size());
        due = sendAt(bytes.mid(start, end - start), due) + milliseconds(between(0, 400));
        start = end;
    }
}
