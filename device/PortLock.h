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
    QString file;    // the lock file
    qint64 pid = 0;  // 0: the port is not locked by a live process
    QString program; // the process's name, where the system tells it

    bool held() const { return pid > 0; }
};

// The live lock on the named port (a name as the platform lists it, or a
// device path), if any. A stale lock met on the way is removed, so that the
// port can be opened. Never on Windows, which locks ports itself.
PortLock liveLockOf(const QString &portName);

// "minicom (process 1234), which holds the lock file /run/lock/LCK..ttyUSB0"
QString describeLock(const PortLock &lock);

} // namespace Link
