#include "RadioRead.h"

#include "ChannelTransfer.h"
#include "RadioConnection.h"

namespace Session {

ReadOutcome readRadio(RadioConnection &radio, BackupStore *store, Phase phase, const JobObserver &observer,
                      BackupPurpose purpose)
{
    ReadOutcome read;
    if (!radio.isOpen())
        return read;
    radio.waitForUnfinishedWrite(observer.stopRequested);
    if (observer.phaseStarted)
        observer.phaseStarted(phase);
    read.channels.resize(radio.channelCount());
    read.frames.resize(radio.channelCount());
    read.result = Link::readChannelMemory(
        radio.line(), radio.channelCount(),
        [&](int row, const Channel &channel, const QByteArray &frame) {
            read.channels[row] = channel;
            read.frames[row] = frame;
            if (observer.channelRead)
                observer.channelRead(row, channel);
            if (observer.progress)
                observer.progress(phase, row);
        },
        observer.stopRequested);
    if (store && read.isComplete())
        read.backup = store->save(radio.modelLabel(), radio.portName(), read.channels, read.frames, purpose);
    return read;
}

QString describeIncompleteRead(const Link::ReadResult &result, int channelCount)
{
    QString text = QStringLiteral("%1 of %2 channels came").arg(result.received).arg(channelCount);
    if (result.shortFrames > 0)
        text += QStringLiteral(", %1 of them cut short").arg(result.shortFrames);
    if (result.badFrames > 0)
        text += QStringLiteral(", %1 of them garbled (no channel a radio stores)").arg(result.badFrames);
    return text;
}

} // namespace Session
