#pragma once

#include "ChannelTransfer.h"

#include <functional>

namespace Session {

// The steps of a radio job, in the order a safe write takes them.
enum class Phase {
    Reading,   // a plain read of the memory
    BackingUp, // the read that keeps the memory before a write
    Writing,
    Verifying, // the read-back after a write
};

// What a front-end hears while a job runs; every member may be empty. The
// calls come on the thread that runs the job.
struct JobObserver {
    std::function<void(Phase)> phaseStarted;
    // A channel crossed the line: received, or sent (before its answer).
    std::function<void(Phase, int row)> progress;
    // A channel of a plain read or a backup, decoded, as it came.
    std::function<void(int row, const Channel &channel)> channelRead;
    std::function<void(int row, Link::FrameAnswer answer)> frameAnswered;
    // The memory as it was before a write is kept in this file; the write
    // begins right after.
    std::function<void(const QString &path)> backupKept;
    // Asked between channels and while waiting: true stops the job.
    Link::StopRequested stopRequested;
};

} // namespace Session
