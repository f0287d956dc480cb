#pragma once

#include "BackupStore.h"
#include "JobObserver.h"
#include "Progress.h"
#include "RadioConnection.h"

#include <memory>

// The radio as vkrtool talks to it: found on the ports with the reason
// printed when it is not, and the session's jobs run with a progress line
// on standard error and Ctrl+C noted between frames. The run's wire trace,
// if any, records its line.
class ToolRadio
{
public:
    ToolRadio();

    // Scans the ports in the window's order, or probes only `port` (a name
    // or a device path) when one is given. False, with the reason printed,
    // when no radio answers.
    bool connect(const QString &port);

    RadioConnection &connection() { return radio; }
    BackupStore &backups() { return store; }

    // The observer to run a job with; its progress line is cleared when the
    // job's phase changes and by endProgress().
    Session::JobObserver observer();
    void endProgress() { progress.reset(); }

private:
    RadioConnection radio;
    BackupStore store;
    std::unique_ptr<Progress> progress;
};

// The word the progress line uses for a phase: "reading", "backing up", ...
QString phaseAction(Session::Phase phase);

// A port that opened and on which nothing answered the ping: no radio, one
// switched off, or one still deaf from a write stopped before its end.
bool isSilent(const RadioConnection::PortFailure &failure);

// A radio left by a write that was stopped before its closing byte waits
// for the rest of it, deaf, until the line has been quiet for a while; a
// new run does not know of that write. Says that the silent ports are
// asked again, and lets that quiet pass (less when a signal comes): false
// when a signal came.
bool waitForDeafRadios(const QStringList &silentPorts);

// A port that held no radio, and why, with what to do where there is
// something. Working out the reason may open the port again to ask the
// system, so it is done once per port. `askedAgain` are the ports probed
// once more after the quiet of waitForDeafRadios.
struct PortWithoutRadio {
    QString port;
    QString reason;
};
QVector<PortWithoutRadio> whyNoRadio(const QVector<RadioConnection::PortFailure> &failures,
                                     const QStringList &askedAgain = QStringList());

// Says why none of the `portCount` ports scanned held a radio, port by port.
void reportNoRadio(int portCount, const QVector<PortWithoutRadio> &ports);
