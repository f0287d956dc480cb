#include "JobProgress.h"

#include "LinkConstants.h"

#include <algorithm>

namespace Session {

namespace {

// Milliseconds a byte takes on the line: a start bit, eight data bits and
// a stop bit.
constexpr double byteTime = 10 * 1000.0 / Link::baudRate;

// What one channel of a phase costs on the line, in milliseconds.
double channelTime(Phase phase)
{
    if (phase == Phase::Writing)
        return (Link::sentFrameLength + 2) * byteTime; // STX, frame, the answer
    return Link::frameLength * byteTime + Link::readQuietTime; // the frame and its acknowledgement, the quiet after
}

} // namespace

JobProgress::JobProgress(int channelCount, const QVector<Phase> &phases)
    : channels(std::max(1, channelCount))
    , order(phases)
{
    for (const Phase phase : order) {
        startOf.append(total);
        total += channels * channelTime(phase);
    }
}

QVector<Phase> JobProgress::safeWritePhases()
{
    return {Phase::BackingUp, Phase::Writing, Phase::Verifying};
}

int JobProgress::percentAfter(Phase phase, int row)
{
    const int at = int(order.indexOf(phase));
    if (at < 0)
        return reached;
    return percentAt(startOf.at(at) + std::min(row + 1, channels) * channelTime(phase));
}

int JobProgress::percentAt(double done)
{
    if (total > 0)
        reached = std::max(reached, std::min(100, int(100 * done / total)));
    return reached;
}

} // namespace Session
