#include "RadioRead.h"

#include "ChannelTransfer.h"
#include "RadioConnection.h"

namespace Session {

ReadOutcome readRadio(RadioConnection &radio, BackupStore *store, Phase phase, const JobObserver &observer)
{
    ReadOutcome read;
    if (!radio.isOpen())
        return read;
    radio.waitForUnfinishedWrite(observer.stopRequested);
    if (observer.phaseStarted)
        observer.phaseStarted(phase);
    read.channels.resize(radio.channelCount());
    read.result = Link::readChannelMemory(
        radio.line(), radio.channelCount(),
        [&](int row, const Link::ReceivedChannel &channel) {
            read.channels[row] = {channel.name, channel.frequency};
            if (observer.channelRead)
                observer.channelRead(row, channel);
            if (observer.progress)
                observer.progress(phase, row);
        },
        observer.stopRequested);
    if (store && read.isComplete())
        read.backup = store->save(radio.modelLabel(), radio.portName(), read.channels);
    return read;
}

} // namespace Session
