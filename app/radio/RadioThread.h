#pragma once

#include "Reply.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

class QThread;
class RadioConnection;

// The thread on which the window talks to the radio. A scan, a read or a
// write waits on the serial line for tens of seconds; here it does so while
// the window goes on painting and answering the desktop. The connection to
// the radio, and its port, live on this thread and are used only there.
//
// Jobs run one at a time, in the order they were given. A job tells the
// window what it finds by posting to it (see MainWindow), never by touching
// widgets itself.
class RadioThread : public QObject
{
public:
    using Job = std::function<void(RadioConnection &radio)>;

    explicit RadioThread(QObject *parent);
    ~RadioThread() override;

    // Runs the job on the radio's thread, with no stop requested.
    void run(const Job &job);

    // Asks the job that runs to stop: after the channel on the line, or
    // within a few dozen milliseconds of a wait.
    void requestStop() { stop = true; }
    Link::StopRequested stopCheck() const
    {
        return [this] { return stop.load(); };
    }

    // Stops any job, ends the thread and closes the port; called once, when
    // the window goes.
    void shutDown();

    // Runs on the window's thread when the open port fails while no job
    // uses it: the radio was unplugged or switched off. The port is closed.
    std::function<void()> portVanished;

private:
    void watchPort(RadioConnection &radio);

    QThread *thread;
    QObject *context; // lives on the radio's thread; jobs are delivered to it
    std::unique_ptr<RadioConnection> connection;
    std::atomic<bool> stop{false};
};
