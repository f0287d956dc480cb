#pragma once

#include "BackupStore.h"
#include "ChannelFileCheck.h"
#include "JobObserver.h"
#include "WriteReport.h"

class RadioConnection;

// The safe write that the window and vkrtool share: the channels are
// checked by the radio's rules, the radio's memory is kept as a backup,
// then written, then read back and compared channel by channel.
namespace Session {

struct WriteRequest {
    Channels channels; // channel k at index k; channels beyond the list are written empty
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
bool emptiesMostChannels(const Channels &memory, const Channels &channels, const RadioModel &model,
                         int *emptied = nullptr, int *used = nullptr);

WriteReport safeWrite(RadioConnection &radio, BackupStore &store, const WriteRequest &request,
                      const JobObserver &observer);

// Puts a backup (any channel file) back into the radio: a safe write of its
// channels, after a backup of the memory as it stands now. A backup may
// hold what the editors refuse but a radio held, so only what no radio can
// hold at all is refused.
// `currentBackup` as for a write.
WriteReport restoreBackup(RadioConnection &radio, BackupStore &store, const QString &backupPath,
                          const JobObserver &observer, const QString &currentBackup = QString());

} // namespace Session
