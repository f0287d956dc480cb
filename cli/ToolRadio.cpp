#include "ToolRadio.h"

#include "Console.h"
#include "Interrupt.h"
#include "SerialPorts.h"

bool ToolRadio::connect(const QString &portOption)
{
    const QStringList ports = portOption.isEmpty() ? Link::serialPortNames() : QStringList{portOption};
    if (ports.isEmpty()) {
        Console::fail(QStringLiteral("no serial ports were found; run \"vkrtool ports\" to see why."));
        return false;
    }
    const RadioConnection::Search search = radio.connect(ports, {}, Interrupt::requested);
    if (search.found)
        return true;
    if (search.stopped)
        return false;
    const QString where = portOption.isEmpty() ? QStringLiteral("on any of the %1 serial ports").arg(ports.size())
                                               : QStringLiteral("on %1").arg(portOption);
    Console::fail(QStringLiteral("no radio answered %1; check that it is switched on and connected, "
                                 "and run \"vkrtool ports\" to see the ports and their problems.")
                      .arg(where));
    return false;
}

Session::JobObserver ToolRadio::observer()
{
    Session::JobObserver observer;
    observer.phaseStarted = [this](Session::Phase phase) {
        progress.reset(); // the last line is cleared before the next begins
        progress = std::make_unique<Progress>(phaseAction(phase), radio.channelCount());
    };
    observer.progress = [this](Session::Phase, int row) {
        if (progress)
            progress->show(row + 1);
    };
    // Printed as soon as it is there: whatever happens next, the user knows
    // where the memory before the write is.
    observer.backupKept = [this](const QString &path) {
        endProgress();
        Console::out(QStringLiteral("backup of the radio's memory: %1").arg(path));
    };
    observer.stopRequested = Interrupt::requested;
    return observer;
}

QString phaseAction(Session::Phase phase)
{
    switch (phase) {
    case Session::Phase::Reading: return QStringLiteral("reading");
    case Session::Phase::BackingUp: return QStringLiteral("backing up");
    case Session::Phase::Writing: return QStringLiteral("writing");
    case Session::Phase::Verifying: return QStringLiteral("verifying");
    }
    return QString();
}
