#pragma once

#include "PortProbe.h"
#include "SerialPort.h"
#include "TracedLine.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

// The radio a session talks to: found on the machine's serial ports as the
// window finds it, then held open on the port where it answered. All its
// members run on one thread, the one that made it, since the port belongs
// to that thread. With a trace, every byte on the line is written into it.
class RadioConnection
{
public:
    explicit RadioConnection(Link::WireTrace *trace = nullptr);
    ~RadioConnection();
    RadioConnection(const RadioConnection &) = delete;
    RadioConnection &operator=(const RadioConnection &) = delete;

    // Why one port of a search held no radio.
    struct PortFailure {
        QString port;
        bool opened = false;      // the port opened (else `openError` or `probe.lock` says why)
        QString openError;        // the system's words for a port that did not open
        Link::ProbeReport probe;  // how far the probe got on an open port
    };

    struct Search {
        bool found = false;
        bool stopped = false; // a stop was requested before a radio was found
        QVector<PortFailure> failures; // each port tried in vain, in order
    };

    // Probes the ports in order and stays on the first that holds a radio;
    // every other port it opened is closed again. A port already open is
    // closed first. `progress` tells how far each probe gets.
    Search connect(const QStringList &portNames, const Link::ProbeProgress &progress = {},
                   const Link::StopRequested &stopRequested = {});

    // Talks to a radio of `model` over a line that is no serial port (a
    // test's scripted port on a simulated clock), as if found on `portName`.
    void attach(QIODevice &line, const RadioModel &model, const QString &portName);

    void close();
    bool isOpen() const;
    // The port failed under a transfer: the radio was unplugged or switched
    // off, or its adapter pulled.
    bool portFailed() const;

    // A write was stopped before its closing byte: the radio waits for the
    // rest of it for a while. The next exchange lets that time pass first
    // (waitForUnfinishedWrite), with nothing sent, or it would go unheard.
    void noteUnfinishedWrite();
    void waitForUnfinishedWrite(const Link::StopRequested &stopRequested);

    // Valid while a radio is connected.
    const RadioModel &model() const { return *radioModel; }
    int channelCount() const { return radioModel->channelCount; }
    QString modelLabel() const { return QLatin1String(radioModel->label); }
    QString portName() const { return foundOn; }
    // The port, for its state and errors.
    SerialPort &port() { return serialPort; }
    // What the link talks through: the port, or the trace's line in front
    // of it.
    QIODevice &line();

private:
    SerialPort serialPort;
    std::unique_ptr<Link::TracedLine> tracedLine; // only with a trace
    QIODevice *attachedLine = nullptr;            // instead of the port
    QElapsedTimer sinceUnfinishedWrite; // invalid: no write left unfinished
    const RadioModel *radioModel = nullptr;
    QString foundOn;
};
