#include "RadioConnection.h"

#include "LinkConstants.h"

RadioConnection::RadioConnection(Link::WireTrace *trace)
{
    if (trace)
        tracedLine = std::make_unique<Link::TracedLine>(serialPort, *trace);
}

// Closed before the line goes, so that a trace records the closing.
RadioConnection::~RadioConnection()
{
    close();
}

QIODevice &RadioConnection::line()
{
    if (attachedLine)
        return *attachedLine;
    if (tracedLine)
        return *tracedLine;
    return serialPort;
}

RadioConnection::Search RadioConnection::connect(const QStringList &portNames, const Link::ProbeProgress &progress,
                                                 const Link::StopRequested &stopRequested)
{
    waitForUnfinishedWrite(stopRequested);
    close();
    Search search;
    for (const QString &name : portNames) {
        if (stopRequested && stopRequested()) {
            search.stopped = true;
            return search;
        }
        PortFailure failure;
        failure.port = name;
        if (tracedLine)
            tracedLine->setPortLabel(name);
        radioModel = Link::openAndProbe(serialPort, name, progress, stopRequested, &failure.probe, tracedLine.get());
        if (radioModel) {
            foundOn = name;
            search.found = true;
            return search;
        }
        failure.opened = serialPort.isOpen();
        if (!failure.opened && !failure.probe.lock.held())
            failure.openError = serialPort.errorString();
        serialPort.close();
        if (failure.probe.stopped) {
            search.stopped = true;
            return search;
        }
        search.failures.append(failure);
    }
    return search;
}

void RadioConnection::attach(QIODevice &line, const RadioModel &model, const QString &portName)
{
    close();
    attachedLine = &line;
    radioModel = &model;
    foundOn = portName;
}

void RadioConnection::close()
{
    attachedLine = nullptr;
    serialPort.close();
    radioModel = nullptr;
    foundOn.clear();
}

void RadioConnection::noteUnfinishedWrite()
{
    sinceUnfinishedWrite.start();
}

void RadioConnection::waitForUnfinishedWrite(const Link::StopRequested &stopRequested)
{
    // A radio no longer connected waits for nothing this port can give.
    if (!sinceUnfinishedWrite.isValid() || !line().isOpen()) {
        sinceUnfinishedWrite.invalidate();
        return;
    }
    while (sinceUnfinishedWrite.elapsed() < Link::unfinishedWriteQuiet && !(stopRequested && stopRequested()))
        Link::waitForBytes(line(), int(Link::unfinishedWriteQuiet - sinceUnfinishedWrite.elapsed()), stopRequested);
    sinceUnfinishedWrite.invalidate();
}

bool RadioConnection::isOpen() const
{
    return radioModel && (attachedLine ? attachedLine->isOpen() : serialPort.isOpen());
}

bool RadioConnection::portFailed() const
{
    if (attachedLine)
        return !attachedLine->isOpen();
    const SerialPort::SerialPortError error = serialPort.error();
    return !serialPort.isOpen() || error == SerialPort::ResourceError || error == SerialPort::WriteError
        || error == SerialPort::ReadError;
}
