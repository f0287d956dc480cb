#pragma once

#include "BackupStore.h"
#include "ChannelFileCheck.h"
#include "JobObserver.h"

#include <optional>
#include "WriteReport.h"

class RadioConnection;

// The safe write that the window and vkrtool share: the channels are
// checked by the radio's rules, the radio's memory is kept as a backup,
// then written, then read back and compared channel by channel.
namespace Session {

struct WriteRequest {
    Channels channels; // channel k at index k; channels beyond the list are written empty
    // Each channel's ten bytes, written as they are and compared byte for
    // byte when read back (a memory put back from its backup); empty: the
    // channels are sent as a radio stores them.
    QVector<QByteArray> frames;
    ChannelFileCheck::Rules rules = ChannelFileCheck::Rules::Radio;
    // The memory is read and kept as a backup first, every time: nothing
    // over this protocol tells that the radio behind the port is still the
    // one read before (a radio swapped on the same cable).
    bool backUp = true; // false: no backup at all
    BackupPurpose purpose = BackupPurpose::Write; // what the backup is named as taken before
    bool verify = true; // false: no read-back
    // Refuse channels that would empty more than half of the channels in
    // use in the radio (a list cut short, the wrong file): a write that
    // makes no backup reads the memory for this check all the same...
    bool refuseEmptying = false;
    // ...unless the memory read now is the one the user agreed to empty.
    std::optional<Channels> emptyingAgreedFor;
};

// Whether writing `channels` over `memory` empties more than half of the
// channels in use there; `emptied` and `used` receive the counts.
bool emptiesMostChannels(const Channels &memory, const Channels &channels, const RadioModel &model,
                         int *emptied = nullptr, int *used = nullptr);

WriteReport safeWrite(RadioConnection &radio, BackupStore &store, const WriteRequest &request,
                      const JobObserver &observer);

// How careful a restore is.
struct RestoreRequest {
    QString backupPath;
    // Also a backup that is not whole (cut short, or not ending where the
    // program ends its backups), one that would empty most channels in use,
    // and one whose name does not say its model.
    bool force = false;
    bool verify = true;
    std::optional<Channels> emptyingAgreedFor; // as for a write
    // The backup taken before a write that failed, put back at once as the
    // user asked: it empties what that write added, however many channels
    // that is (the memory that write left is backed up first all the same).
    bool undoesFailedWrite = false;
};

// Puts a backup back into the radio: a safe write of its frames, byte for
// byte, after a backup of the memory as it stands now, and read back and
// compared byte for byte. A backup may hold what the editors refuse but a
// radio held, so only what no radio can hold at all is refused; and one of
// another model, always. Older backups without frames (and other channel
// files, with force) go back as their channels.
WriteReport restoreBackup(RadioConnection &radio, BackupStore &store, const RestoreRequest &restore,
                          const JobObserver &observer);

} // namespace Session
