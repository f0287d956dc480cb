#pragma once

#include "MemoryBytes.h"
#include "RadioSettings.h"

#include <QString>
#include <QStringList>

// What one cycle of the soak does: an operation under a fault of the
// virtual radio, drawn from the cycle's own seed so that any cycle can be
// run again alone.
//
// A new kind of cycle is a value at the end of Operation or Fault, its name
// in operationName() or faultNames(), what it draws in plan(), and, for an
// operation, the member of CycleRun (SoakCycle.cpp) that runs and judges
// it. Cycles are judged by the radio's memory bytes (MemoryBytes.h).
namespace Soak {

// ToolWriteThree: three vkrtool writes at once, on three radios, sharing
// one backups folder.
enum class Operation { ToolWrite, ToolRead, WindowRead, WindowWrite, ToolWriteThree };
constexpr int operationCount = 5;
QString operationName(Operation operation);

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
    Frames memory;           // what the radio holds at the start, byte for byte
    TypedChannels toWrite;   // what a write sends, one per channel of the radio
    int signal = 0;          // sent to vkrtool write ...
    int signalAfterBytes = 0; //   once the radio has heard this many bytes
    QString describe() const; // operation, fault and its numbers
};

Cycle plan(int number, quint32 runSeed);

} // namespace Soak
