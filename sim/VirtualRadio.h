#pragma once

#include "RadioProtocol.h"

#include <QString>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

// A virtual radio of the VKR627 series on a pseudo-terminal of its own.
// The host opens the terminal's serial end (portName()) like any serial
// port; a thread of the radio serves the other end with RadioProtocol.
//
// The radio keeps the serial end open itself, so the host may close and
// open the port as often as it likes without the terminal hanging up; only
// unplug() (or the unplug fault) closes the terminal for good. The serial
// end is raw: every byte value passes unchanged in both directions.
//
// All members may be called from any thread.
class VirtualRadio
{
public:
    using LoggedByte = RadioProtocol::LoggedByte;

    explicit VirtualRadio(const RadioSettings &settings = RadioSettings());
    ~VirtualRadio();
    VirtualRadio(const VirtualRadio &) = delete;
    VirtualRadio &operator=(const VirtualRadio &) = delete;

    // True while the terminal is open and served.
    bool isServing() const;
    // Why the terminal could not be opened.
    QString whyNotServing() const;
    // Path of the terminal's serial end, e.g. /dev/pts/3.
    QString portName() const;

    RadioSettings settings() const;
    void setSettings(const RadioSettings &settings);

    RadioMemory memory() const;
    void setMemory(const RadioMemory &memory);
    void setChannel(int index, const QString &name, const QString &frequency);
    void setFrame(int index, const QByteArray &frame);
    int completedWrites() const;

    // Every byte heard, in order, with the time it was heard.
    std::vector<LoggedByte> receivedLog() const;
    QByteArray received() const;
    // Every byte sent, with the time it went out.
    std::vector<LoggedByte> sentLog() const;
    QByteArray sent() const;
    void clearLogs();

    // Sends bytes of the caller's choosing after `delay`, behind any answer
    // already queued.
    void transmit(const QByteArray &bytes, std::chrono::milliseconds delay = std::chrono::milliseconds(0));

    // Closes the terminal, as if the radio's cable were pulled.
    void unplug();

private:
    void serve();
    void wake();
    void closeTerminal();

    mutable std::mutex mutex;
    RadioProtocol protocol;
    QString slavePath;
    QString error;
    int masterFd = -1;
    int slaveFd = -1;
    int wakeReadFd = -1;
    int wakeWriteFd = -1;
    bool serving = false;
    bool stopRequested = false;
    bool unplugRequested = false;
    std::thread server;
};
