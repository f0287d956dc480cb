#include "ToolRadio.h"

#include "Console.h"
#include "Interrupt.h"
#include "LinkConstants.h"
#include "PortDiagnosis.h"
#include "QuotedText.h"
#include "SerialPorts.h"
#include "TraceFile.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

namespace {

// How often the wait for a deaf radio asks whether a signal came.
constexpr unsigned long stopPollInterval = 50; // ms

// Bytes a device sent, shown as text with its control bytes escaped.
QString shownBytes(const QByteArray &bytes)
{
    return QuotedText::quoted(QString::fromLatin1(bytes));
}

} // namespace

namespace {

QString reasonOf(const RadioConnection::PortFailure &failure, bool askedAgain)
{
    const Link::ProbeReport &probe = failure.probe;
    if (probe.lock.held())
        return QStringLiteral("it is in use by %1, so it was left alone; close that program, or name another port")
            .arg(Link::describeLock(probe.lock));
    if (!failure.opened) {
        const Link::PortReport report = Link::diagnosePort(failure.port);
        if (report.opens) // it opens now: whatever held it let go
            return QStringLiteral("it did not open: %1").arg(failure.openError);
        return QStringLiteral("%1; fix: %2").arg(report.problem, report.fix);
    }
    if (probe.pingAnswer.isEmpty() && askedAgain)
        return QStringLiteral("nothing answered, also not after %1 s of quiet; check that the radio is switched on "
                              "and its cable plugged in")
            .arg(Link::unfinishedWriteQuiet / 1000);
    if (probe.pingAnswer.isEmpty())
        return QStringLiteral("nothing answered; check that the radio is switched on and its cable plugged in");
    if (!probe.answeredPing)
        return QStringLiteral("a device answered %1, which is no answer of a VKR627 radio").arg(shownBytes(probe.pingAnswer));
    if (!probe.answeredIdentify)
        return QStringLiteral("a device answered the ping but not the request for its model; switch the radio off "
                              "and on again");
    return QStringLiteral("a device answered %1, which is no VKR627 model").arg(shownBytes(probe.modelText));
}

} // namespace

bool isSilent(const RadioConnection::PortFailure &failure)
{
    return failure.opened && failure.probe.pingAnswer.isEmpty() && !failure.probe.stopped;
}

bool waitForDeafRadios(const QStringList &silentPorts)
{
    QStringList names;
    for (const QString &port : silentPorts)
        names << QuotedText::shown(port);
    Console::err(QStringLiteral("nothing answered on %1; a radio whose write was stopped before its end stays deaf "
                                "until the line has been quiet for %2 s: asking again then.")
                     .arg(names.join(QStringLiteral(", ")), QString::number(Link::unfinishedWriteQuiet / 1000)));
    // Counted from now: the ping just sent was heard by such a radio as
    // more of the write it waits for.
    QElapsedTimer quiet;
    quiet.start();
    while (quiet.elapsed() < Link::unfinishedWriteQuiet && !Interrupt::requested())
        QThread::msleep(std::min<unsigned long>(stopPollInterval, Link::unfinishedWriteQuiet - quiet.elapsed()));
    return !Interrupt::requested();
}

QVector<PortWithoutRadio> whyNoRadio(const QVector<RadioConnection::PortFailure> &failures,
                                     const QStringList &askedAgain)
{
    QVector<PortWithoutRadio> ports;
    for (const RadioConnection::PortFailure &failure : failures)
        ports.append({failure.port, reasonOf(failure, askedAgain.contains(failure.port))});
    return ports;
}

void reportNoRadio(int portCount, const QVector<PortWithoutRadio> &ports)
{
    if (ports.size() == 1) {
        Console::fail(QStringLiteral("no radio on %1: %2.").arg(QuotedText::shown(ports.first().port), ports.first().reason));
        return;
    }
    Console::fail(QStringLiteral("no radio answered on any of the %1 serial ports:").arg(portCount));
    for (const PortWithoutRadio &port : ports)
        Console::err(QStringLiteral("  %1: %2").arg(QuotedText::shown(port.port), port.reason));
    Console::err(QStringLiteral("\"vkrtool ports\" tells more about each port."));
}

ToolRadio::ToolRadio()
    : radio(TraceFile::current())
{
}

bool ToolRadio::connect(const QString &portOption)
{
    const QStringList ports = portOption.isEmpty() ? Link::serialPortNames() : QStringList{portOption};
    if (ports.isEmpty()) {
        Console::fail(Link::noPortsAdvice() + QLatin1Char('.'));
        return false;
    }
    RadioConnection::Search search = radio.connect(ports, {}, Interrupt::requested);
    if (search.found)
        return true;
    // One port alone stayed silent: worth the quiet a deaf radio needs. With
    // more, most are ports with nothing on them, and a scan stays quick.
    const auto silent = std::find_if(search.failures.begin(), search.failures.end(), isSilent);
    QStringList askedAgain;
    if (!search.stopped && silent != search.failures.end()
        && std::count_if(search.failures.cbegin(), search.failures.cend(), isSilent) == 1) {
        askedAgain << silent->port;
        if (!waitForDeafRadios(askedAgain))
            return false;
        const RadioConnection::Search again = radio.connect(askedAgain, {}, Interrupt::requested);
        if (again.found)
            return true;
        search.stopped = again.stopped;
        if (!again.failures.isEmpty())
            *silent = again.failures.first();
    }
    if (!search.stopped)
        reportNoRadio(ports.size(), whyNoRadio(search.failures, askedAgain));
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
