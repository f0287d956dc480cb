#include "SafeWrite.h"

#include "ChannelCsv.h"
#include "ChannelFrame.h"
#include "LinkConstants.h"
#include "RadioConnection.h"
#include "RadioRead.h"
#include "Reply.h"
#include "StoredChannel.h"

namespace Session {

namespace {

bool stopRequested(const JobObserver &observer)
{
    return observer.stopRequested && observer.stopRequested();
}

// Takes the read of the memory as it stands before a write. False, with the
// cause set, when it was stopped or is not complete.
bool takeMemoryRead(RadioConnection &radio, const ReadOutcome &read, WriteReport &report)
{
    report.lastRead = read.result;
    if (read.result.stopped) {
        report.cause = WriteCause::StoppedBeforeWrite;
        return false;
    }
    if (!read.isComplete()) {
        report.cause = WriteCause::BackupIncomplete;
        report.radioGone = radio.portFailed();
        return false;
    }
    return true;
}

// The memory as it stands, for the check against emptying it, when no
// backup is made: read, not kept. False, with the cause set, when the read
// is not complete.
bool readMemory(RadioConnection &radio, const JobObserver &observer, WriteReport &report, Channels &memory)
{
    const ReadOutcome read = readRadio(radio, nullptr, Phase::Reading, observer);
    if (!takeMemoryRead(radio, read, report))
        return false;
    memory = read.channels;
    report.memoryBefore = memory;
    return true;
}

// Keeps the memory as it stands: a given backup, or a complete read saved
// now. False, with the cause set, when there is none. `memory` receives the
// memory kept.
bool backUp(RadioConnection &radio, BackupStore &store, const WriteRequest &request, const JobObserver &observer,
            WriteReport &report, Channels &memory)
{
    if (!request.backUp)
        return !request.refuseEmptying || readMemory(radio, observer, report, memory);
    ReadOutcome read = readRadio(radio, &store, Phase::BackingUp, observer, request.purpose);
    // Channels no radio stores come from line noise, or from a memory that
    // really holds them (a radio that stored a write wrongly). A second
    // read that gives the same tells the two apart: noise does not repeat
    // itself byte for byte. Without this, a radio holding such a channel
    // could never be backed up, and so never written or restored again.
    if (read.isWholeButOdd()) {
        const ReadOutcome again = readRadio(radio, nullptr, Phase::BackingUp, observer);
        if (again.isWholeButOdd() && again.frames == read.frames) {
            read.result.badFrames = 0;
            read.backup = store.save(radio.modelLabel(), radio.portName(), read.channels, read.frames, request.purpose);
        }
    }
    if (!takeMemoryRead(radio, read, report))
        return false;
    if (read.backup.path.isEmpty()) {
        report.cause = WriteCause::BackupNotSaved;
        report.backupError = read.backup.error;
        return false;
    }
    report.backupPath = read.backup.path;
    memory = read.channels;
    report.memoryBefore = memory;
    return true;
}

// The radio's whole memory as the write leaves it: channel k at index k,
// those beyond the request empty.
Channels memoryWritten(const WriteRequest &request, int channelCount)
{
    Channels channels = request.channels.mid(0, channelCount);
    channels.resize(channelCount);
    return channels;
}

void writeChannels(RadioConnection &radio, const WriteRequest &request, const JobObserver &observer,
                   WriteReport &report)
{
    if (observer.phaseStarted)
        observer.phaseStarted(Phase::Writing);
    const Channels channels = memoryWritten(request, radio.channelCount());
    const auto sent = [&](int row) {
        if (observer.progress)
            observer.progress(Phase::Writing, row);
    };
    const auto answered = [&](int row, Link::FrameAnswer answer) {
        if (answer != Link::FrameAnswer::Acknowledged)
            report.frameFaults.append({row, answer});
        if (observer.frameAnswered)
            observer.frameAnswered(row, answer);
    };
    const Link::WriteResult written = request.frames.isEmpty()
        ? Link::writeChannelMemory(radio.line(), channels, sent, answered, observer.stopRequested)
        : Link::writeFrames(radio.line(), request.frames, sent, answered, observer.stopRequested);
    report.sent = written.sent;
    if (written.unsendable >= 0) {
        // The checks before let through only what fits a frame; a channel
        // that does not is refused here all the same, before a byte is sent.
        report.cause = WriteCause::Refused;
        report.problems.append({0, written.unsendable,
                                QStringLiteral("%1 is no frequency a radio can hold")
                                    .arg(channels.at(written.unsendable).frequency.text()),
                                ChannelProblem::Field::Frequency});
    } else if (written.stopped) {
        radio.noteUnfinishedWrite();
        report.cause = WriteCause::StoppedWriting;
    } else if (!written.allAcknowledged) {
        report.cause = WriteCause::FramesFailed;
        report.radioGone = radio.portFailed();
    }
}

// The channels whose bytes the radio holds other than those written.
QVector<ChannelComparison::Difference> byteDifferences(const QVector<QByteArray> &written, const ReadOutcome &back)
{
    QVector<ChannelComparison::Difference> found;
    for (int k = 0; k < written.size(); ++k) {
        const QByteArray held = back.frames.value(k);
        if (held != written.at(k))
            found.append({k, Link::decodeChannelFrame(written.at(k)), Link::decodeChannelFrame(held), written.at(k), held});
    }
    return found;
}

void verify(RadioConnection &radio, const WriteRequest &request, const JobObserver &observer, WriteReport &report)
{
    // Line noise right after the write's end must not land in front of the
    // first frame of the read-back.
    Link::settleLine(radio.line(), Link::settleQuietTime, observer.stopRequested);
    const Channels expected = memoryWritten(request, radio.channelCount());
    ReadOutcome read = readRadio(radio, nullptr, Phase::Verifying, observer);
    const auto differences = [&](const ReadOutcome &back) {
        return request.frames.isEmpty() ? ChannelComparison::differences(expected, back.channels, radio.model())
                                        : byteDifferences(request.frames, back);
    };
    // Channels no radio stores in the read-back are what was written (a
    // backup of such values put back), unless the read differs; then only
    // a second read that agrees byte for byte tells a radio that stored
    // them so from line noise.
    if (read.isWholeButOdd() && !differences(read).isEmpty()) {
        const ReadOutcome again = readRadio(radio, nullptr, Phase::Verifying, observer);
        if (again.isWholeButOdd() && again.frames == read.frames)
            read.result.badFrames = 0;
    } else if (read.isWholeButOdd()) {
        read.result.badFrames = 0;
    }
    report.lastRead = read.result;
    if (read.result.stopped) {
        report.cause = WriteCause::StoppedVerifying;
    } else if (!read.isComplete()) {
        report.cause = WriteCause::ReadBackIncomplete;
        report.radioGone = radio.portFailed();
    } else {
        report.differences = differences(read);
        if (!report.differences.isEmpty())
            report.cause = WriteCause::Differs;
        else
            report.verified = true;
    }
}

// What the radio may hold after a write that did not end well, as far as
// putting the backup back would empty it: every frame sent taken (a frame
// refused or unanswered taken as well: it may have been stored, and taking
// it never empties less), the old memory beyond, and what the read-back
// found where it differs.
void noteWhatUndoingEmpties(const WriteRequest &request, const RadioModel &model, WriteReport &report)
{
    if (report.succeeded() || !report.radioChanged() || report.backupPath.isEmpty())
        return;
    Channels mayHold = memoryWritten(request, report.channelCount);
    for (int k = report.sent; k < mayHold.size(); ++k)
        mayHold[k] = report.memoryBefore.value(k);
    for (const ChannelComparison::Difference &difference : report.differences)
        mayHold[difference.channel] = difference.second;
    report.undoEmptiesMost = emptiesMostChannels(mayHold, report.memoryBefore, model);
}

} // namespace

bool emptiesMostChannels(const Channels &memory, const Channels &channels, const RadioModel &model, int *emptied,
                         int *used)
{
    int inUse = 0, emptiedNow = 0;
    for (int k = 0; k < memory.size(); ++k) {
        if (StoredChannel::isEmptyAsStored(memory.at(k), model))
            continue;
        ++inUse;
        if (StoredChannel::isEmptyAsStored(channels.value(k), model))
            ++emptiedNow;
    }
    if (emptied)
        *emptied = emptiedNow;
    if (used)
        *used = inUse;
    return 2 * emptiedNow > inUse;
}

WriteReport safeWrite(RadioConnection &radio, BackupStore &store, const WriteRequest &request,
                      const JobObserver &observer)
{
    WriteReport report;
    if (!radio.isOpen()) {
        // It went away before the write began: nothing was sent.
        report.cause = WriteCause::NotConnected;
        report.radioGone = true;
        return report;
    }
    report.channelCount = radio.channelCount();
    report.problems = ChannelFileCheck::check(request.channels, radio.model(), request.rules);
    if (!report.problems.isEmpty()) {
        report.cause = WriteCause::Refused;
        return report;
    }
    Channels memory;
    if (!backUp(radio, store, request, observer, report, memory))
        return report;
    const bool agreed = request.emptyingAgreedFor
        && ChannelComparison::differences(*request.emptyingAgreedFor, memory, radio.model()).isEmpty();
    if (request.refuseEmptying && !agreed
        && emptiesMostChannels(memory, request.channels, radio.model(), &report.emptied, &report.usedBefore)) {
        report.cause = WriteCause::WouldEmpty;
        return report;
    }
    if (!report.backupPath.isEmpty() && observer.backupKept)
        observer.backupKept(report.backupPath);
    if (stopRequested(observer)) {
        report.cause = WriteCause::StoppedBeforeWrite;
        return report;
    }
    writeChannels(radio, request, observer, report);
    if (report.cause == WriteCause::Written && request.verify)
        verify(radio, request, observer, report);
    noteWhatUndoingEmpties(request, radio.model(), report);
    return report;
}

WriteReport restoreBackup(RadioConnection &radio, BackupStore &store, const RestoreRequest &restore,
                          const JobObserver &observer)
{
    WriteReport report;
    Backup backup;
    if (!readBackup(restore.backupPath, backup)) {
        report.cause = WriteCause::Unreadable;
        return report;
    }
    if (!radio.isOpen()) {
        report.cause = WriteCause::NotConnected;
        report.radioGone = true;
        return report;
    }
    report.channelCount = radio.channelCount();
    // Another model's memory never: its channels would land elsewhere.
    if (backup.modelLabel != radio.modelLabel() && !(backup.modelLabel.isEmpty() && restore.force)) {
        report.cause = WriteCause::ForeignBackup;
        report.backupModel = backup.modelLabel;
        return report;
    }
    if (!backup.whole && !restore.force) {
        report.cause = WriteCause::BackupNotWhole;
        return report;
    }
    WriteRequest request;
    request.channels = backup.channels;
    if (backup.frames.size() == radio.channelCount())
        request.frames = backup.frames;
    request.rules = ChannelFileCheck::Rules::Encodable;
    request.purpose = BackupPurpose::Restore;
    request.verify = restore.verify;
    request.refuseEmptying = !restore.force && !restore.undoesFailedWrite;
    request.emptyingAgreedFor = restore.emptyingAgreedFor;
    return safeWrite(radio, store, request, observer);
}

} // namespace Session
