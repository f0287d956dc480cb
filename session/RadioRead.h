#pragma once

#include "BackupStore.h"
#include "JobObserver.h"

class RadioConnection;

namespace Session {

struct ReadOutcome {
    Channels channels;         // one per channel of the memory; those that did not come stay empty
    QVector<QByteArray> frames; // each channel's frame as it came (as many bytes as came)
    Link::ReadResult result;
    BackupStore::Saved backup; // where a complete read was kept, when a store was given

    // Every channel came, whole and storable, and no stop was asked for.
    bool isComplete() const { return !channels.isEmpty() && result.isComplete(channels.size()); }
    // Every channel came as a frame of the right length, but some hold what
    // no radio of the series stores: line noise that replaced bytes, or a
    // memory that really holds such values. (A frame that came longer, with
    // a byte in front, was shifted by noise, and is no such case.)
    bool isWholeButOdd() const
    {
        return !channels.isEmpty() && result.received == channels.size() && result.shortFrames == 0
            && !result.stopped && result.badFrames > 0 && result.shiftedFrames == 0;
    }
};

// Reads the radio's whole memory, telling the observer of every channel.
// A complete read is kept as a backup in `store` when one is given, named
// as taken before `purpose`. With no radio connected (it went away),
// nothing is read.
ReadOutcome readRadio(RadioConnection &radio, BackupStore *store, Phase phase, const JobObserver &observer,
                      BackupPurpose purpose = BackupPurpose::Read);

// "5 of 20 channels came, 1 of them cut short": what an incomplete read
// got, in the words the window and vkrtool share.
QString describeIncompleteRead(const Link::ReadResult &result, int channelCount);

} // namespace Session
