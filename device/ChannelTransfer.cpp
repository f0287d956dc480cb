#include "ChannelTransfer.h"

#include "LinkConstants.h"
#include "Reply.h"
#include "SerialPort.h"
#include "TracedLine.h"

namespace Link {

namespace {

// Hands the bytes to the line at once, rather than when the port next
// waits: an acknowledgement then reaches the radio while the caller shows
// the channel, and the closing 04 leaves before the caller returns.
void send(QIODevice &port, const QByteArray &bytes)
{
    port.write(bytes);
    if (SerialPort *serialPort = serialPortOf(port))
        serialPort->flush();
}

bool stopNow(const StopRequested &stopRequested)
{
    return stopRequested && stopRequested();
}

} // namespace

ReadResult readChannelMemory(QIODevice &port, int channelCount, const ChannelReceived &channelReceived,
                             const StopRequested &stopRequested)
{
    discardInput(port);
    send(port, readMemoryCommand);
    ReadResult result;
    while (waitForBytes(port, readFrameTimeout, stopRequested) && result.received < channelCount) {
        if (stopNow(stopRequested))
            break;
        QByteArray answer;
        collectReply(port, answer, readQuietTime);
        send(port, ackByte);
        if (answer.size() < frameLength)
            ++result.shortFrames;
        else if (!isStorableFrame(answer)) {
            ++result.badFrames;
            result.shiftedFrames += answer.size() > frameLength ? 1 : 0;
        }
        channelReceived(result.received, decodeChannelFrame(answer), answer.left(frameLength));
        ++result.received;
    }
    result.stopped = stopNow(stopRequested);
    return result;
}

WriteResult writeChannelMemory(QIODevice &port, const Channels &channels, const FrameSent &frameSent,
                               const FrameAnswered &frameAnswered, const StopRequested &stopRequested)
{
    QVector<QByteArray> frames;
    for (int row = 0; row < channels.size(); ++row) {
        const QByteArray frame = encodeChannelFrame(channels[row]);
        if (frame.isEmpty()) {
            WriteResult result;
            result.unsendable = row;
            return result;
        }
        frames.append(frame.left(frameLength));
    }
    return writeFrames(port, frames, frameSent, frameAnswered, stopRequested);
}

WriteResult writeFrames(QIODevice &port, const QVector<QByteArray> &frames, const FrameSent &frameSent,
                        const FrameAnswered &frameAnswered, const StopRequested &stopRequested)
{
    WriteResult result;
    for (int row = 0; row < frames.size(); ++row) {
        if (frames[row].size() != frameLength) {
            result.unsendable = row;
            return result;
        }
    }
    discardInput(port);
    send(port, writeMemoryCommand);
    result.allAcknowledged = true;
    for (int row = 0; row < frames.size(); ++row) {
        if (stopNow(stopRequested)) {
            result.stopped = true;
            return result;
        }
        send(port, stxByte + frames[row] + frameChecksum(frames[row], frameLength));
        if (frameSent)
            frameSent(row);
        FrameAnswer answer = FrameAnswer::Missing;
        if (port.waitForReadyRead(writeAckTimeout))
            answer = port.readAll().startsWith(ackValue) ? FrameAnswer::Acknowledged : FrameAnswer::Refused;
        result.allAcknowledged = result.allAcknowledged && answer == FrameAnswer::Acknowledged;
        ++result.sent;
        frameAnswered(row, answer);
    }
    send(port, eotByte);
    return result;
}

} // namespace Link
