#include "PortDiagnosis.h"

#include "PortLock.h"
#include "SerialPort.h"
#include "QuotedText.h"
#include "SerialPorts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Link {

namespace {

QString hexId(bool known, quint16 id)
{
    return known ? QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0')) : QString();
}

QString devicePath(const QString &name)
{
#ifdef Q_OS_UNIX
    return name.contains(QLatin1Char('/')) ? name : QStringLiteral("/dev/") + name;
#else
    return name.startsWith(QLatin1String("\\\\")) ? name : QStringLiteral("\\\\.\\") + name;
#endif
}

#ifdef Q_OS_UNIX
QString userName()
{
    const passwd *user = ::getpwuid(::geteuid());
    return user ? QString::fromLocal8Bit(user->pw_name) : QStringLiteral("$USER");
}

QString groupName(gid_t id)
{
    const group *owner = ::getgrgid(id);
    return owner ? QString::fromLocal8Bit(owner->gr_name) : QString::number(id);
}

struct Holder {
    QString program;
    QString pid;
};

// The processes that have the device file open, as far as this user may see
// them (another user's processes need root).
QVector<Holder> holdersOf(const QString &path)
{
    QVector<Holder> holders;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QString self = QString::number(::getpid());
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList({QStringLiteral("[0-9]*")}, QDir::Dirs);
    for (const QString &pid : pids) {
        if (pid == self)
            continue;
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
        for (const QFileInfo &fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
            if (fd.symLinkTarget() != canonical)
                continue;
            QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
            comm.open(QIODevice::ReadOnly);
            holders.append({QString::fromLocal8Bit(comm.readAll()).trimmed(), pid});
            break;
        }
    }
    return holders;
}

// How to free the port from a program that holds it.
QString freeFrom(const Holder &holder)
{
    const QString program = holder.program.toLower();
    if (program == QLatin1String("modemmanager"))
        return QStringLiteral("ModemManager probes serial ports for modems: stop it with "
                              "\"sudo systemctl stop ModemManager\", or remove it with \"sudo apt-get remove modemmanager\"");
    if (program == QLatin1String("brltty"))
        return QStringLiteral("brltty takes serial adapters for braille displays: stop it with "
                              "\"sudo systemctl stop brltty\", or remove it with \"sudo apt-get remove brltty\" "
                              "if no braille display is used");
    if (program.startsWith(QLatin1String("vkrfrequencyto")) || program == QLatin1String("vkrtool"))
        return QStringLiteral("another copy of this program uses the port: close it");
    return QStringLiteral("close %1 (process %2), which has the port open").arg(QuotedText::escaped(holder.program), holder.pid);
}

// What a file that is no serial port is.
QString kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return QStringLiteral("a regular file");
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISBLK(mode))
        return QStringLiteral("a block device");
    return QStringLiteral("a device that is no terminal");
}

// The port named is some other file: the user named the wrong one.
void explainNoSerialPort(PortReport &report, mode_t mode)
{
    report.problem = QStringLiteral("%1 is no serial port: it is %2").arg(QuotedText::escaped(report.path), kindOf(mode));
    report.fix = QStringLiteral("name the radio's port (\"vkrtool ports\" with %1 unset lists the system's)")
                     .arg(QLatin1String(portListVariable));
}

// A character device that opens but is no terminal (/dev/null, /dev/zero).
bool isNonTerminalDevice(const QByteArray &path)
{
    const int descriptor = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0)
        return false;
    const bool terminal = ::isatty(descriptor) == 1;
    ::close(descriptor);
    return !terminal;
}

// A group of its own for the port, where the device belongs to root's group:
// no user is to join that. A udev rule for the adapter's ids does it.
QString udevAdvice(const PortReport &report)
{
    const QString match = report.vendorId.isEmpty()
        ? QStringLiteral("KERNEL==\"%1\"").arg(QuotedText::escaped(QFileInfo(report.path).fileName()))
        : QStringLiteral("ATTRS{idVendor}==\"%1\", ATTRS{idProduct}==\"%2\"").arg(report.vendorId, report.productId);
    return QStringLiteral("%1 belongs to the group root, which no user should join: ask the administrator to give "
                          "it the group dialout with a udev rule, the line 'SUBSYSTEM==\"tty\", %2, "
                          "GROUP=\"dialout\", MODE=\"0660\"' in /etc/udev/rules.d/99-vkr-radio.rules, then "
                          "\"sudo udevadm control --reload-rules && sudo udevadm trigger\", replug the cable and "
                          "join dialout (\"sudo usermod -aG dialout %3\", then log out and in again)")
        .arg(QuotedText::escaped(report.path), match, userName());
}

// Why an existing port did not open, told apart by the system's own answers.
void explainUnix(PortReport &report, const QString &qtError)
{
    const QByteArray path = QFile::encodeName(report.path);
    struct stat status;
    if (::stat(path.constData(), &status) != 0) {
        report.problem = QStringLiteral("the device file %1 does not exist").arg(QuotedText::escaped(report.path));
        report.fix = QStringLiteral("check that the cable is plugged in and its adapter is found "
                                    "(\"dmesg\" shows what the system saw when it was plugged in)");
        return;
    }
    if (!S_ISCHR(status.st_mode)) {
        explainNoSerialPort(report, status.st_mode);
        return;
    }
    // Both are needed: a port that may be read but not written opens no better.
    if (::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES) {
        const QString group = groupName(status.st_gid);
        const QString user = userName();
        report.problem = QStringLiteral("permission denied: %1 belongs to group %2, and user %3 may not use it")
                             .arg(QuotedText::escaped(report.path), group, user);
        report.fix = status.st_gid == 0
            ? udevAdvice(report)
            : QStringLiteral("sudo usermod -aG %1 %2, then log out and in again").arg(group, user);
        return;
    }
    if (isNonTerminalDevice(path)) {
        explainNoSerialPort(report, status.st_mode);
        return;
    }
    const QVector<Holder> holders = holdersOf(report.path);
    if (!holders.isEmpty()) {
        QStringList programs, fixes;
        for (const Holder &holder : holders) {
            programs.append(QStringLiteral("%1 (process %2)").arg(QuotedText::escaped(holder.program), holder.pid));
            fixes.append(freeFrom(holder));
        }
        report.problem = QStringLiteral("the port is in use by %1").arg(programs.join(QStringLiteral(", ")));
        report.fix = fixes.join(QStringLiteral("; "));
        return;
    }
    report.problem = QStringLiteral("the port did not open: %1").arg(qtError);
    report.fix = QStringLiteral("if another program uses it, \"sudo fuser -v %1\" names it").arg(QuotedText::escaped(report.path));
}
#endif

#ifdef Q_OS_WIN
// Why a COM port did not open, by the system's answer. Windows locks a
// port for the program that opened it (there are no lock files to read)
// and does not tell others which program that is.
void explainWindows(PortReport &report, SerialPort::SerialPortError error, const QString &systemText)
{
    switch (error) {
    case SerialPort::DeviceNotFoundError:
        report.problem = QStringLiteral("%1 does not exist").arg(report.name);
        report.fix = QStringLiteral("check that the cable is plugged in and its driver installed: the Device Manager "
                                    "lists the machine's COM ports under \"Ports (COM & LPT)\"");
        return;
    case SerialPort::PermissionError:
        report.problem = QStringLiteral("the port is in use by another program");
        report.fix = QStringLiteral("close the program that uses %1 (a terminal program, the radio maker's software, "
                                    "another copy of this program), or use another port")
                         .arg(report.name);
        return;
    case SerialPort::UnsupportedOperationError:
        report.problem = QStringLiteral("%1 is no serial port: it takes no line settings (%2)").arg(report.name, systemText);
        report.fix = QStringLiteral("name the radio's port (\"vkrtool ports\" with %1 unset lists the system's)")
                         .arg(QLatin1String(portListVariable));
        return;
    default:
        report.problem = QStringLiteral("the port did not open: %1").arg(systemText);
        report.fix = QStringLiteral("close any other program that uses the port, and check the cable and its driver");
    }
}
#endif

// `ports` is the system's list, for what it knows of the port.
PortReport diagnosePort(const QString &name, const QList<SerialPortInfo> &ports)
{
    PortReport report;
    report.name = name;
    report.path = devicePath(name);
    for (const SerialPortInfo &info : ports) {
        if (info.portName() != name && info.systemLocation() != name)
            continue;
        report.path = info.systemLocation();
        report.description = info.description();
        report.manufacturer = info.manufacturer();
        report.vendorId = hexId(info.hasVendorIdentifier(), info.vendorIdentifier());
        report.productId = hexId(info.hasProductIdentifier(), info.productIdentifier());
        report.serialNumber = info.serialNumber();
    }

    // Another program's locked port is not opened, which would take its lock.
    const PortLock lock = liveLockOf(name);
    if (lock.held()) {
        report.problem = QStringLiteral("the port is in use by %1").arg(describeLock(lock));
        report.fix = QStringLiteral("close %1 (process %2), or use another port")
                         .arg(lock.program.isEmpty() ? QStringLiteral("the program") : QuotedText::escaped(lock.program))
                         .arg(lock.pid);
        return report;
    }
    SerialPort port;
    port.setPortName(name);
    report.opens = port.open(QIODevice::ReadWrite);
    if (report.opens) {
        port.close();
        return report;
    }
#ifdef Q_OS_UNIX
    // The serial library refuses a port whose young lock file names no
    // process; only the user can tell whether a program still uses it.
    if (lock.unowned()) {
        report.problem = QStringLiteral("%1, so it does not say which program uses the port")
                             .arg(describeUnownedLock(lock));
        report.fix = QStringLiteral("if no program uses the port, remove it: \"rm %1\"").arg(QuotedText::escaped(lock.file));
        return report;
    }
#endif
#if defined(Q_OS_UNIX)
    explainUnix(report, port.errorString());
#elif defined(Q_OS_WIN)
    explainWindows(report, port.error(), port.errorString());
#else
    report.problem = QStringLiteral("the port did not open: %1").arg(port.errorString());
    report.fix = QStringLiteral("close any other program that uses the port, and check the cable and its driver");
#endif
    return report;
}

} // namespace

QVector<PortReport> diagnosePorts()
{
    const QList<SerialPortInfo> ports = SerialPortInfo::availablePorts();
    QVector<PortReport> reports;
    for (const QString &name : serialPortNames())
        reports.append(diagnosePort(name, ports));
    return reports;
}

PortReport diagnosePort(const QString &name)
{
    return diagnosePort(name, SerialPortInfo::availablePorts());
}

QString noPortsAdvice()
{
#ifdef Q_OS_WIN
    const char unset[] = "set %1=";
    const char whatTheSystemSaw[] = "the Device Manager lists the COM ports under \"Ports (COM & LPT)\"";
#else
    const char unset[] = "unset %1";
    const char whatTheSystemSaw[] = "\"dmesg\" shows what it saw when the cable was plugged in";
#endif
    if (qEnvironmentVariableIsSet(portListVariable))
        return QStringLiteral("%1 is set but names no port, so there is none to scan: name the ports in it, "
                              "or unset it (\"%2\") to scan the system's")
            .arg(QLatin1String(portListVariable), QString::fromLatin1(unset).arg(QLatin1String(portListVariable)));
    return QStringLiteral("no serial ports were found: check that the radio's cable is plugged in and that the "
                          "system has a driver for its USB serial adapter (%1)")
        .arg(QLatin1String(whatTheSystemSaw));
}

} // namespace Link
