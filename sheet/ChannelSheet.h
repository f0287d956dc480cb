#pragma once

#include "Channel.h"
#include "ChannelFileCheck.h"
#include "RadioModels.h"
#include "SheetHistory.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

// The channels the window's table shows and edits: 100 records whatever
// the radio holds (those beyond the radio's channels stay, unsent), the
// radio model they are meant for, and the history of every change, one step
// for each edit, paste, row operation, file loaded and radio read. The table
// only shows it and hands edits to it. Qt Core only.
class ChannelSheet : public QObject
{
    Q_OBJECT
public:
    static constexpr int rowCount = RadioModels::largestMemory();

    explicit ChannelSheet(QObject *parent = nullptr);

    const Channels &channels() const { return records; }
    const Channel &at(int row) const { return records.at(row); }

    // The radio the channels are for: how many of them it holds and how they
    // are numbered; the whole series while no radio is connected.
    void setModel(const RadioModel &model);
    const RadioModel &model() const { return *radioModel; }
    // The rows the radio holds.
    Channels radioChannels() const { return records.mid(0, radioModel->channelCount); }
    // Rows in use below them: what a write leaves out.
    int usedBeyondRadio() const;
    int emptyRows() const { return rowCount - usedCount(records); }

    // The channels become `channels` (the first 100; missing ones empty) as
    // one step of the history named `step`, unless nothing changes. The rows
    // given are selected after undoing and after doing the step.
    void replace(const Channels &channels, const QString &step, const QList<int> &rowsBefore = {},
                 const QList<int> &rowsAfter = {});
    void setName(int row, const QString &name, const QString &step);
    void setFrequency(int row, const Frequency &frequency, const QString &step);

    bool canUndo() const { return history.canUndo(); }
    bool canRedo() const { return history.canRedo(); }
    QString undoText() const { return history.undoText(); }
    QString redoText() const { return history.redoText(); }
    void undo();
    void redo();
    // Nothing changed since the channels were last saved or taken as they
    // stand in a file or the radio.
    bool isClean() const { return history.isClean(); }
    void setClean();

    // The radio's rows checked by its rules.
    QVector<ChannelProblem> problems() const;

    // What the radio is known to hold, from its last complete read or write;
    // forgotten when that is no longer known.
    void setRadioMemory(const Channels &memory);
    void forgetRadioMemory();
    // The radio's rows that it would hold other than shown; none while its
    // memory is not known.
    std::optional<int> differencesFromRadio() const;

signals:
    // Rows changed: the view shows them anew, selects `rowsToSelect`, or,
    // when that is empty, makes the first changed row current.
    void rowsChanged(const QList<int> &rows, const QList<int> &rowsToSelect);
    // What can be undone or redone changed.
    void historyChanged();
    void cleanChanged(bool clean);
    void modelChanged();
    // What the radio is known to hold was set or forgotten.
    void radioMemoryChanged();

private:
    void apply(const SheetHistory::Step &step, bool forward);

    Channels records;
    const RadioModel *radioModel;
    SheetHistory history;
    std::optional<Channels> radioMemory;
};
