#pragma once

#include "JobObserver.h"

#include <QVector>

// How far a radio job has got, as one share of the whole from 0 to 100,
// over all its phases: a safe write's backup, write and read-back fill one
// bar once, each phase by the time it takes on the line. A channel read
// waits out the radio's quiet time after its frame; a channel written only
// takes its frame and answer, so a write moves the bar a little and each
// read nearly half of it. The share never goes back: a phase taken again
// (a second read of a memory that came with odd frames) holds it.
namespace Session {

class JobProgress
{
public:
    // The phases the job takes, in order, over a memory of `channelCount`.
    JobProgress(int channelCount, const QVector<Phase> &phases);

    // The phases of a safe write: backup, write, read-back.
    static QVector<Phase> safeWritePhases();

    // The share done once the channel at `row` (from 0) of `phase` crossed
    // the line.
    int percentAfter(Phase phase, int row);

private:
    int percentAt(double done);

    int channels;
    QVector<Phase> order;
    QVector<double> startOf; // the time spent before each phase, in channel-reads
    double total = 0;
    int reached = 0;
};

} // namespace Session
