#pragma once

#include "RadioRead.h"
#include "SafeWrite.h"

// What a safe write would do to the radio, found without writing: the
// channels checked by the radio's rules, the memory read (and kept as a
// backup when a store is given), and the channels that would change.
namespace Session {

struct DryRunReport {
    QVector<ChannelProblem> problems; // the write would be refused for these; nothing was read
    ReadOutcome read;                 // the memory as it stands, when the channels pass
    QVector<ChannelComparison::Difference> differences; // memory first, the channels second
    bool wouldEmpty = false; // the write would be refused for emptying `emptied` of `usedBefore` channels
    int emptied = 0;
    int usedBefore = 0;

    bool refused() const { return !problems.isEmpty(); }
    bool readComplete() const { return read.isComplete(); }
};

DryRunReport dryRun(RadioConnection &radio, BackupStore *store, const WriteRequest &request,
                    const JobObserver &observer);

} // namespace Session
