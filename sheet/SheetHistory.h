#pragma once

#include "Channel.h"

#include <QList>
#include <QString>
#include <QVector>

// The steps that changed a sheet's channels, for undo and redo. A step
// keeps only the rows it changed, before and after, so that one edit of a
// cell costs one row, not the whole sheet.
class SheetHistory
{
public:
    struct RowChange {
        int row;
        Channel before;
        Channel after;
    };
    struct Step {
        QString text;                 // "Edit", "Paste", ...: what the Edit menu calls it
        QVector<RowChange> changes;   // in row order
        QList<int> rowsBefore;        // selected when the step is undone
        QList<int> rowsAfter;         // selected when it is done again
    };

    // Adds a step after the current one; steps that were undone are dropped.
    void push(const Step &step);

    bool canUndo() const { return done > 0; }
    bool canRedo() const { return done < steps.size(); }
    QString undoText() const { return canUndo() ? steps.at(done - 1).text : QString(); }
    QString redoText() const { return canRedo() ? steps.at(done).text : QString(); }

    // The step to undo or redo, which becomes the current one.
    const Step &undo();
    const Step &redo();

    // The channels stand as they were when last marked clean (saved, or as
    // the radio or a file holds them).
    bool isClean() const { return done == cleanAt; }
    void setClean() { cleanAt = done; }

private:
    QVector<Step> steps;
    int done = 0;    // steps done: the rest were undone
    int cleanAt = 0; // -1: no state of the history is clean
};
