#pragma once

#include "ChannelComparison.h"
#include "ChannelFileCheck.h"
#include "ChannelTransfer.h"

#include <QString>
#include <QVector>

// How a safe write or a restore ended, decided once, with the facts that
// go with it; the window and vkrtool only put it into their words and exit
// codes.
namespace Session {

enum class WriteCause {
    Written,            // every frame taken, and the read-back holds the channels (when verified)
    Refused,            // the channels break the rules (`problems`): nothing was sent
    WouldEmpty,         // they would empty `emptied` of `usedBefore` channels in use: nothing was sent
    Unreadable,         // the backup to restore could not be read: nothing was sent
    ForeignBackup,      // the backup is of another model (`backupModel`; empty: its name does not say): nothing was sent
    BackupNotWhole,     // the backup is not a whole memory as the program keeps it (cut short): nothing was sent
    NotConnected,       // the radio was gone before the write began: nothing was sent
    BackupNotSaved,     // the memory was read, but its backup not saved (`backupError`): nothing was written
    BackupIncomplete,   // the read of the memory before the write was incomplete: nothing was written
    StoppedBeforeWrite, // a stop was asked for before a frame went out: the radio is as it was
    StoppedWriting,     // a stop was asked for after `sent` frames: no closing byte was sent
    StoppedVerifying,   // written, but stopped while it was read back: unchecked
    FramesFailed,       // the radio refused frames or did not answer them, or went away (`radioGone`)
    ReadBackIncomplete, // written, but the read that checks it was incomplete (`radioGone`: it went away)
    Differs,            // the radio holds other channels than written (`differences`)
};

struct FrameFault {
    int channel;
    Link::FrameAnswer answer; // Refused or Missing
};

struct WriteReport {
    WriteCause cause = WriteCause::Written;
    int channelCount = 0;             // of the radio
    QVector<ChannelProblem> problems; // Refused
    QString backupModel;              // ForeignBackup: the model the backup is of
    QString backupPath;               // the memory before the write
    QString backupError;              // BackupNotSaved: why, in the system's words
    Link::ReadResult lastRead;        // the backup read or the read-back, as far as it came
    int sent = 0;                     // frames sent
    QVector<FrameFault> frameFaults;  // in channel order
    bool radioGone = false;           // the port failed: the radio was unplugged or switched off
    QVector<ChannelComparison::Difference> differences; // Differs: expected and found
    Channels memoryBefore;            // the memory as read before the write (WouldEmpty: to agree to)
    int emptied = 0;                  // WouldEmpty: channels in use that the write would empty,
    int usedBefore = 0;               //   of this many in use
    bool verified = false;            // read back and found the same
    // Frames went out and the write did not end well: putting the backup
    // back may empty most of the channels in use, the ones this write put
    // there, so a restore of it has to be forced past that check.
    bool undoEmptiesMost = false;

    bool succeeded() const { return cause == WriteCause::Written; }
    // The radio may hold other channels than before: frames went out.
    bool radioChanged() const { return sent > 0; }

    // "5 of 20 channels came, 1 of them cut short": how far the last read came.
    QString readFaults() const;
    // "the radio refused channels 3, 4 and did not answer channel 7", or
    // where it went away; channel k of the memory called `firstNumber` + k.
    QString frameFaultText(int firstNumber) const;
};

} // namespace Session
