#pragma once

#include "BackupStore.h"
#include "ChannelComparison.h"
#include "ChannelFileCheck.h"
#include "JobObserver.h"

class RadioConnection;

// The safe write that the window and vkrtool share: the channels are
// checked by the radio's rules, the radio's memory is kept as a backup,
// then written, then read back and compared channel by channel.
namespace Session {

struct WriteRequest {
    ChannelRecords channels; // channel k at index k; channels beyond the list are written empty
    ChannelFileCheck::Rules rules = ChannelFileCheck::Rules::Radio;
    // A backup of the radio's memory as it stands now (a complete read of
    // this radio with nothing written since); empty: the write reads one.
    QString currentBackup;
    bool backUp = true; // false: no backup at all
    bool verify = true; // false: no read-back
    // Refuse channels that would empty more than half of the channels in
    // use in the radio (a list cut short, the wrong file): a write that
    // makes no backup reads the memory for this check all the same.
    bool refuseEmptying = false;
};

// Whether writing `channels` over `memory` empties more than half of the
// channels in use there; `emptied` and `used` receive the counts.
bool emptiesMostChannels(const ChannelRecords &memory, const ChannelRecords &channels, int *emptied = nullptr,
                         int *used = nullptr);

enum class WriteOutcome {
    Written,            // every frame taken, and the read-back holds the channels (if verified)
    Refused,            // the channels break the rules: nothing was sent
    WouldEmpty,         // the channels would empty most channels in use (refuseEmptying): nothing was sent
    Unreadable,         // the channels to restore could not be read: nothing was sent
    BackupFailed,       // the backup read was incomplete, or its file could not be saved: nothing was written
    Stopped,            // a stop was asked for, in `phase`
    FramesFailed,       // the radio refused frames, did not answer them, or went away
    ReadBackIncomplete, // the read that checks the write did not come whole
    Differs,            // the radio holds other channels than written
};

struct FrameFault {
    int channel;
    Link::FrameAnswer answer; // Refused or Missing
};

struct WriteResult {
    WriteOutcome outcome = WriteOutcome::Written;
    Phase phase = Phase::BackingUp; // the step it ended in
    int channelCount = 0;           // of the radio
    QVector<ChannelProblem> problems; // Refused
    QString backupPath;               // the memory before the write
    QString backupError;              // BackupFailed: why
    Link::ReadResult lastRead;        // the backup read or the read-back, as far as it came
    int sent = 0;                     // frames sent
    QVector<FrameFault> frameFaults;  // in channel order
    bool radioGone = false;           // the port failed: the radio was unplugged or switched off
    QVector<ChannelComparison::Difference> differences; // Differs: expected and found
    int emptied = 0;        // WouldEmpty: channels in use that the write would empty,
    int usedBefore = 0;     //   of this many in use
    bool verified = false; // read back and found the same

    bool succeeded() const { return outcome == WriteOutcome::Written; }
    // The radio may hold other channels than before: frames went out.
    bool radioChanged() const { return sent > 0; }
};

WriteResult safeWrite(RadioConnection &radio, BackupStore &store, const WriteRequest &request,
                      const JobObserver &observer);

// Puts a backup (any channel file) back into the radio: a safe write of its
// channels, after a backup of the memory as it stands now. A backup may
// hold what the editors refuse but a radio held, so only what no radio can
// hold at all is refused.
// `currentBackup` as for a write.
WriteResult restoreBackup(RadioConnection &radio, BackupStore &store, const QString &backupPath,
                          const JobObserver &observer, const QString &currentBackup = QString());

} // namespace Session
