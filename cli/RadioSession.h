#pragma once

#include "ChannelCsv.h"
#include "ChannelTransfer.h"

#include <QSerialPort>
#include <QString>

namespace Link {
struct RadioModel;
}

// The radio the tool talks to: found as the window finds it, then read and
// written over the port the probe left open, with a progress line and
// Ctrl+C noted between frames.
class RadioSession
{
public:
    // Scans the ports in the window's order, or probes only `port` (a name
    // or a device path) when one is given. False, with the reason printed,
    // when no radio answers.
    bool connect(const QString &port);

    int channelCount() const;
    QString modelLabel() const;
    QString portName() const { return foundOn; }

    struct Read {
        ChannelRecords channels;
        Link::ReadResult result;
        bool complete() const;
    };
    // The whole memory; `action` names it in the progress line.
    Read read(const QString &action);

    // Every channel of the memory: `channels`, then empty ones.
    Link::WriteResult write(const ChannelRecords &channels);

private:
    QSerialPort port;
    const Link::RadioModel *radioModel = nullptr;
    QString foundOn;
};

// "5 of 20 channels came, 1 of them cut short": what an incomplete read got.
QString describeIncompleteRead(const RadioSession::Read &read, int channelCount);
