#include "PortLock.h"

#include "QuotedText.h"

#include <QByteArray>
#include <QFile>

#ifdef Q_OS_UNIX
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <unistd.h>
#endif

namespace Link {

namespace {

#ifdef Q_OS_UNIX
// Where programs put their UUCP locks: the folders the serial library
// tries, and those of older systems.
constexpr const char *lockFolders[] = {"/run/lock", "/var/lock", "/var/lock/lockdev", "/var/spool/locks",
                                       "/var/spool/uucp", "/etc/locks", "/tmp", "/var/tmp"};
constexpr int longestLockFile = 128; // a lock holds a process id and a little text

// LCK..ttyUSB0 for /dev/ttyUSB0 or ttyUSB0; a device below /dev takes "_"
// for "/" (LCK..pts_3 for /dev/pts/3), as minicom and the serial library
// both name it.
QString lockFileName(const QString &portName)
{
    QString device = portName;
    if (device.startsWith(QLatin1String("/dev/")))
        device.remove(0, 5);
    device.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QStringLiteral("LCK..") + device;
}

// The process id a lock holds: ASCII digits after blanks (the UUCP form,
// "      1234\n", and the serial library's "1234\nprogram\nhost\n"), or
// four bytes of a binary integer (the old Kermit form). 0 when it names none.
qint64 pidIn(const QByteArray &content)
{
    const QByteArray text = content.trimmed();
    int digits = 0;
    while (digits < text.size() && text.at(digits) >= '0' && text.at(digits) <= '9')
        ++digits;
    // Text ends its number with the line or a blank; a binary id whose
    // first byte happens to be a digit goes on with other bytes.
    const bool numberEnds = digits == text.size() || std::isspace(static_cast<unsigned char>(text.at(digits)));
    if (digits > 0 && digits <= 10 && numberEnds)
        return text.left(digits).toLongLong();
    if (content.size() == int(sizeof(qint32))) {
        qint32 binary;
        std::memcpy(&binary, content.constData(), sizeof binary);
        return binary > 0 ? binary : 0;
    }
    return 0;
}

bool processLives(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

// The program's name as it was started (the first word of its command
// line, without the folder); the kernel's own name for it is cut after 15
// characters ("VKRFrequencyToo").
QString programOf(qint64 pid)
{
    QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (commandLine.open(QIODevice::ReadOnly)) {
        const QByteArray program = commandLine.readAll().split('\0').value(0);
        if (!program.isEmpty())
            return QString::fromLocal8Bit(program.mid(program.lastIndexOf('/') + 1));
    }
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
}
#endif

} // namespace

PortLock liveLockOf(const QString &portName)
{
    PortLock lock;
#ifdef Q_OS_UNIX
    PortLock unowned;
    const QString name = lockFileName(portName);
    for (const char *folder : lockFolders) {
        QFile file(QLatin1String(folder) + QLatin1Char('/') + name);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray content = file.read(longestLockFile);
        const qint64 pid = pidIn(content);
        // Named by no process: said, in case no live lock turns up, but
        // never removed, since no one can tell whether it is in use.
        if (pid <= 0) {
            if (unowned.file.isEmpty()) {
                unowned.file = file.fileName();
                unowned.content = content;
            }
            continue;
        }
        // This process's own lock is the port it has open already.
        if (pid == ::getpid())
            continue;
        if (!processLives(pid)) {
            // Stale: its process is gone. Removed, as every program that
            // honours these locks does, or the port would stay barred.
            file.close();
            QFile::remove(file.fileName());
            continue;
        }
        lock.file = file.fileName();
        lock.pid = pid;
        lock.program = programOf(pid);
        return lock;
    }
    return unowned;
#else
    Q_UNUSED(portName)
#endif
    return lock;
}

QString describeLock(const PortLock &lock)
{
    const QString program = lock.program.isEmpty() ? QStringLiteral("a program") : lock.program;
    return QStringLiteral("%1 (process %2), which holds the lock file %3")
        .arg(QuotedText::escaped(program))
        .arg(lock.pid)
        .arg(QuotedText::escaped(lock.file));
}

QString describeUnownedLock(const PortLock &lock)
{
    const QByteArray text = lock.content.trimmed();
    const QString holds = lock.content.isEmpty() ? QStringLiteral("is empty")
        : !text.isEmpty() && text.count('0') == text.size()
        ? QStringLiteral("names process 0, which is no program")
        : QStringLiteral("holds %1, which names no process").arg(QuotedText::quoted(QString::fromLatin1(lock.content)));
    return QStringLiteral("the lock file %1 %2").arg(QuotedText::escaped(lock.file), holds);
}

} // namespace Link
