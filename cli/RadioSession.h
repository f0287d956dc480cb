#pragma once

#include "ChannelCsv.h"
#include "ChannelTransfer.h"

#include <QSerialPort>
#include <QString>

#include <optional>

struct RadioModel;

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

    // What a read that gives nothing says.
    struct ReadFailure {
        QString interrupted; // Ctrl+C stopped it; nothing is said when empty
        // An incomplete read: "<readName> is incomplete (5 of 20 channels came)<advice>."
        QString readName;
        QString advice;
    };
    // The whole memory; `action` names it in the progress line. Nothing,
    // with `said` printed and `failure` set to the exit code, when Ctrl+C
    // stopped the read or it was incomplete.
    std::optional<ChannelRecords> read(const QString &action, const ReadFailure &said, int &failure);

    // Every channel of the memory: `channels`, then empty ones.
    Link::WriteResult write(const ChannelRecords &channels);

private:
    QSerialPort port;
    const RadioModel *radioModel = nullptr;
    QString foundOn;
};
