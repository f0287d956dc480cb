#pragma once

#include "ChannelCsv.h"
#include "RadioSettings.h"

#include <QString>
#include <QStringList>

// What one cycle of the soak does: an operation under a fault of the
// virtual radio, drawn from the cycle's own seed so that any cycle can be
// run again alone.
namespace Soak {

// ToolWriteThree: three vkrtool writes at once, on three radios, sharing
// one backups folder.
enum class Operation { ToolWrite, ToolRead, WindowRead, WindowWrite, ToolWriteThree };
constexpr int operationCount = 5;

enum class Fault {
    None,
    UnplugAfterBytes,
    NakOfFrame,
    NoAnswerToFrame,
    StrayByteBeforeCommand,
    FrameSplitByPause,
    OneByteFrame,
    ChannelStoredWrongly,
    SilentAfterFrames,
    StrayByteBeforeFrame,
    CtrlCDuringWrite,   // SIGINT to vkrtool write once the radio heard k bytes
    SigtermDuringWrite, // SIGTERM likewise
    LockedPortBeside,   // another radio, scanned first, on a port a live process has locked
};
constexpr int faultCount = 13;

QStringList faultNames(); // in the order of Fault

struct Cycle {
    int number = 0;
    Operation operation = Operation::ToolRead;
    Fault fault = Fault::None;
    RadioSettings radio;     // model and fault settings
    Channels memory;   // what the radio holds at the start
    Channels toWrite;  // what a write sends
    int signal = 0;          // sent to vkrtool write ...
    int signalAfterBytes = 0; //   once the radio has heard this many bytes
    QString describe() const; // operation, fault and its numbers
};

Cycle plan(int number, quint32 runSeed);

} // namespace Soak
