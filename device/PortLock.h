#pragma once

#include <QString>

// UUCP lock files: a program that uses a serial port (minicom, a modem
// daemon, another copy of this program) announces it with a file
// LCK..<device> in the system's lock folder, holding its process id. A port
// whose lock names a live process is that process's: the program never
// opens it (opening would let the serial library take the lock as stale
// and delete it) and never deletes the lock. A lock of a process that is
// gone is stale, and the port may be taken.
namespace Link {

struct PortLock {
    QString file;       // the lock file; empty when there is none
    qint64 pid = 0;     // 0: the port is not locked by a live process
    QString program;    // the process's name, where the system tells it
    QByteArray content; // what a lock file that names no process holds

    bool held() const { return pid > 0; }
    // A lock file that names no process: empty, garbage, or process 0.
    // Whether a program uses the port cannot be told; the serial library
    // takes such a file as another's lock while it is young.
    bool unowned() const { return pid <= 0 && !file.isEmpty(); }
};

// The live lock on the named port (a name as the platform lists it, or a
// device path), if any, or else a lock file that names no process. A stale
// lock met on the way is removed, so that the port can be opened; one that
// names no process is left where it is. Never on Windows, which locks
// ports itself.
PortLock liveLockOf(const QString &portName);

// "minicom (process 1234), which holds the lock file /run/lock/LCK..ttyUSB0"
QString describeLock(const PortLock &lock);

// For a lock file that names no process: "the lock file
// /run/lock/LCK..ttyUSB0 is empty" (or holds "...", or names process 0).
QString describeUnownedLock(const PortLock &lock);

} // namespace Link
