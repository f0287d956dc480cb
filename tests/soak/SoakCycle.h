#pragma once

#include "SoakPlan.h"

#include <QString>

namespace Soak {

// How a cycle ended, judged from the virtual radio's own memory, not from
// what the program said.
struct Outcome {
    bool reportedSuccess = false;
    bool happened = false;    // what was reported as done is so in the radio's memory
    bool restorable = true;   // after a failed vkrtool write: the backup is the old memory and puts it back
    QString note;             // what went wrong, for the log

    bool falseSuccess() const { return reportedSuccess && !happened; }
};

// Runs the cycle against a fresh virtual radio; `vkrtool` is the tool's path.
Outcome runCycle(const Cycle &cycle, const QString &vkrtool);

} // namespace Soak
