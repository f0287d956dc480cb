#include "SheetHistory.h"

void SheetHistory::push(const Step &step)
{
    steps.resize(done);
    // The clean state was undone and is now dropped: it cannot come back.
    if (cleanAt > done)
        cleanAt = -1;
    steps.append(step);
    ++done;
}

const SheetHistory::Step &SheetHistory::undo()
{
    return steps.at(--done);
}

const SheetHistory::Step &SheetHistory::redo()
{
    return steps.at(done++);
}
