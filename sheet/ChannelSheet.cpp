#include "ChannelSheet.h"

#include "ChannelComparison.h"

ChannelSheet::ChannelSheet(QObject *parent)
    : QObject(parent)
    , records(rowCount)
    , radioModel(&RadioModels::series())
{
}

void ChannelSheet::setModel(const RadioModel &model)
{
    radioModel = &model;
    emit modelChanged();
}

int ChannelSheet::usedBeyondRadio() const
{
    return usedCount(records.mid(radioModel->channelCount));
}

void ChannelSheet::replace(const Channels &channels, const QString &step, const QList<int> &rowsBefore,
                           const QList<int> &rowsAfter)
{
    SheetHistory::Step change{step, {}, rowsBefore, rowsAfter};
    for (int row = 0; row < rowCount; ++row) {
        const Channel after = channels.value(row);
        if (after != records.at(row))
            change.changes.append({row, records.at(row), after});
    }
    if (change.changes.isEmpty())
        return;
    const bool wasClean = history.isClean();
    history.push(change);
    apply(change, true);
    emit historyChanged();
    if (wasClean != history.isClean())
        emit cleanChanged(history.isClean());
}

void ChannelSheet::setName(int row, const QString &name, const QString &step)
{
    Channels changed = records;
    changed[row].name = name;
    replace(changed, step);
}

void ChannelSheet::setFrequency(int row, const Frequency &frequency, const QString &step)
{
    Channels changed = records;
    changed[row].frequency = frequency;
    replace(changed, step);
}

void ChannelSheet::undo()
{
    if (!history.canUndo())
        return;
    const bool wasClean = history.isClean();
    apply(history.undo(), false);
    emit historyChanged();
    if (wasClean != history.isClean())
        emit cleanChanged(history.isClean());
}

void ChannelSheet::redo()
{
    if (!history.canRedo())
        return;
    const bool wasClean = history.isClean();
    apply(history.redo(), true);
    emit historyChanged();
    if (wasClean != history.isClean())
        emit cleanChanged(history.isClean());
}

void ChannelSheet::setClean()
{
    const bool wasClean = history.isClean();
    history.setClean();
    if (!wasClean)
        emit cleanChanged(true);
}

void ChannelSheet::apply(const SheetHistory::Step &step, bool forward)
{
    QList<int> rows;
    for (const SheetHistory::RowChange &change : step.changes) {
        records[change.row] = forward ? change.after : change.before;
        rows.append(change.row);
    }
    emit rowsChanged(rows, forward ? step.rowsAfter : step.rowsBefore);
}

QVector<ChannelProblem> ChannelSheet::problems() const
{
    return ChannelFileCheck::check(radioChannels(), *radioModel, ChannelFileCheck::Rules::Radio);
}

void ChannelSheet::setRadioMemory(const Channels &memory)
{
    radioMemory = memory;
    emit radioMemoryChanged();
}

void ChannelSheet::forgetRadioMemory()
{
    if (!radioMemory)
        return;
    radioMemory.reset();
    emit radioMemoryChanged();
}

std::optional<int> ChannelSheet::differencesFromRadio() const
{
    if (!radioMemory)
        return std::nullopt;
    return int(ChannelComparison::differences(radioChannels(), radioMemory->mid(0, radioModel->channelCount), *radioModel)
                   .size());
}
