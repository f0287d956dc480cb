#include "SafeWrite.h"

#include "ChannelFrame.h"
#include "LinkConstants.h"
#include "RadioConnection.h"
#include "RadioRead.h"
#include "Reply.h"

namespace Session {

namespace {

bool stopRequested(const JobObserver &observer)
{
    return observer.stopRequested && observer.stopRequested();
}

bool portFailed(RadioConnection &radio)
{
    const SerialPort::SerialPortError error = radio.port().error();
    return !radio.port().isOpen() || error == SerialPort::ResourceError || error == SerialPort::WriteError
        || error == SerialPort::ReadError;
}

bool isEmptyAsStored(const ChannelRecord &record)
{
    const Link::ReceivedChannel stored = Link::storedChannel(record.name, record.frequency);
    return stored.name.isEmpty() && stored.frequency.isEmpty();
}

// Takes the read of the memory as it stands before a write. False, with
// the outcome set, when it was stopped or is not complete.
bool takeMemoryRead(RadioConnection &radio, const ReadOutcome &read, WriteResult &result)
{
    result.lastRead = read.result;
    if (read.result.stopped) {
        result.outcome = WriteOutcome::Stopped;
        return false;
    }
    if (!read.isComplete()) {
        result.outcome = WriteOutcome::BackupFailed;
        result.radioGone = portFailed(radio);
        return false;
    }
    return true;
}

// The memory as it stands, for the check against emptying it, when no
// backup is made: read, not kept. False, with the outcome set, when the
// read is not complete.
bool readMemory(RadioConnection &radio, const JobObserver &observer, WriteResult &result, ChannelRecords &memory)
{
    const ReadOutcome read = readRadio(radio, nullptr, Phase::Reading, observer);
    if (!takeMemoryRead(radio, read, result))
        return false;
    memory = read.channels;
    return true;
}

// Keeps the memory as it stands: a given backup, or a complete read saved
// now. False, with the outcome set, when there is none. `memory` receives
// the memory kept.
bool backUp(RadioConnection &radio, BackupStore &store, const WriteRequest &request, const JobObserver &observer,
            WriteResult &result, ChannelRecords &memory)
{
    result.phase = Phase::BackingUp;
    if (!request.backUp)
        return !request.refuseEmptying || readMemory(radio, observer, result, memory);
    if (!request.currentBackup.isEmpty()) {
        result.backupPath = request.currentBackup;
        if (request.refuseEmptying && !readChannelFile(request.currentBackup, memory)) {
            result.outcome = WriteOutcome::BackupFailed;
            result.backupError = QStringLiteral("%1 could not be read").arg(request.currentBackup);
            return false;
        }
        return true;
    }
    ReadOutcome read = readRadio(radio, &store, Phase::BackingUp, observer);
    // Channels no radio stores come from line noise, or from a memory that
    // really holds them (a radio that stored a write wrongly). A second
    // read that gives the same tells the two apart: noise does not repeat
    // itself byte for byte. Without this, a radio holding such a channel
    // could never be backed up, and so never written or restored again.
    if (read.isWholeButOdd()) {
        const ReadOutcome again = readRadio(radio, nullptr, Phase::BackingUp, observer);
        if (again.isWholeButOdd() && again.channels == read.channels) {
            read.result.badFrames = 0;
            read.backup = store.save(radio.modelLabel(), radio.portName(), read.channels);
        }
    }
    if (!takeMemoryRead(radio, read, result))
        return false;
    if (read.backup.path.isEmpty()) {
        result.outcome = WriteOutcome::BackupFailed;
        result.backupError = read.backup.error;
        return false;
    }
    result.backupPath = read.backup.path;
    memory = read.channels;
    return true;
}

void writeChannels(RadioConnection &radio, const WriteRequest &request, const JobObserver &observer,
                   WriteResult &result)
{
    result.phase = Phase::Writing;
    if (observer.phaseStarted)
        observer.phaseStarted(Phase::Writing);
    QVector<Link::ChannelText> texts;
    for (int row = 0; row < radio.channelCount(); ++row) {
        const ChannelRecord record = request.channels.value(row);
        texts.append({record.name, record.frequency});
    }
    const Link::WriteResult written = Link::writeChannelMemory(
        radio.line(), texts,
        [&](int row) {
            if (observer.progress)
                observer.progress(Phase::Writing, row);
        },
        [&](int row, Link::FrameAnswer answer) {
            if (answer != Link::FrameAnswer::Acknowledged)
                result.frameFaults.append({row, answer});
            if (observer.frameAnswered)
                observer.frameAnswered(row, answer);
        },
        observer.stopRequested);
    result.sent = written.sent;
    if (written.stopped) {
        radio.noteUnfinishedWrite();
        result.outcome = WriteOutcome::Stopped;
    } else if (!written.allAcknowledged) {
        result.outcome = WriteOutcome::FramesFailed;
        result.radioGone = portFailed(radio);
    }
}

void verify(RadioConnection &radio, const WriteRequest &request, const JobObserver &observer, WriteResult &result)
{
    result.phase = Phase::Verifying;
    // Line noise right after the write's end must not land in front of the
    // first frame of the read-back.
    Link::settleLine(radio.line(), Link::settleQuietTime, observer.stopRequested);
    const ReadOutcome read = readRadio(radio, nullptr, Phase::Verifying, observer);
    result.lastRead = read.result;
    if (read.result.stopped) {
        result.outcome = WriteOutcome::Stopped;
    } else if (!read.isComplete()) {
        result.outcome = WriteOutcome::ReadBackIncomplete;
        result.radioGone = portFailed(radio);
    } else {
        ChannelRecords expected = request.channels;
        expected.resize(radio.channelCount());
        result.differences = ChannelComparison::differences(expected, read.channels);
        if (!result.differences.isEmpty())
            result.outcome = WriteOutcome::Differs;
        else
            result.verified = true;
    }
}

} // namespace

bool emptiesMostChannels(const ChannelRecords &memory, const ChannelRecords &channels, int *emptied, int *used)
{
    int inUse = 0, emptiedNow = 0;
    for (int k = 0; k < memory.size(); ++k) {
        if (isEmptyAsStored(memory.at(k)))
            continue;
        ++inUse;
        if (isEmptyAsStored(channels.value(k)))
            ++emptiedNow;
    }
    if (emptied)
        *emptied = emptiedNow;
    if (used)
        *used = inUse;
    return 2 * emptiedNow > inUse;
}

WriteResult safeWrite(RadioConnection &radio, BackupStore &store, const WriteRequest &request,
                      const JobObserver &observer)
{
    WriteResult result;
    if (!radio.isOpen()) {
        // It went away before the write began: nothing was sent.
        result.outcome = WriteOutcome::BackupFailed;
        result.radioGone = true;
        return result;
    }
    result.channelCount = radio.channelCount();
    result.problems = ChannelFileCheck::check(request.channels, radio.channelCount(), request.rules);
    if (!result.problems.isEmpty()) {
        result.outcome = WriteOutcome::Refused;
        return result;
    }
    ChannelRecords memory;
    if (!backUp(radio, store, request, observer, result, memory))
        return result;
    if (request.refuseEmptying && emptiesMostChannels(memory, request.channels, &result.emptied, &result.usedBefore)) {
        result.outcome = WriteOutcome::WouldEmpty;
        return result;
    }
    if (!result.backupPath.isEmpty() && observer.backupKept)
        observer.backupKept(result.backupPath);
    if (stopRequested(observer)) {
        result.outcome = WriteOutcome::Stopped;
        return result;
    }
    writeChannels(radio, request, observer, result);
    if (result.outcome != WriteOutcome::Written || !request.verify)
        return result;
    verify(radio, request, observer, result);
    return result;
}

WriteResult restoreBackup(RadioConnection &radio, BackupStore &store, const QString &backupPath,
                          const JobObserver &observer, const QString &currentBackup)
{
    WriteRequest request;
    request.rules = ChannelFileCheck::Rules::Encodable;
    request.currentBackup = currentBackup;
    if (!readChannelFile(backupPath, request.channels)) {
        WriteResult result;
        result.outcome = WriteOutcome::Unreadable;
        return result;
    }
    return safeWrite(radio, store, request, observer);
}

} // namespace Session
