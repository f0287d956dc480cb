#include "Interrupt.h"

#include "ExitCodes.h"
#include "JsonOutput.h"

#include <QtGlobal>

#include <atomic>
#include <csignal>

#include <unistd.h>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace Interrupt {

namespace {

#ifdef SIGHUP
constexpr int hangUp = SIGHUP;
#else
constexpr int hangUp = 1; // SIGHUP's number: Windows has no such signal, its console closing stands for it
#endif
constexpr int handled[] = {SIGINT, SIGTERM, hangUp};

volatile std::sig_atomic_t received = 0; // the first signal that came
// The wait the main thread is in, if any: read by the handler on any thread.
std::atomic<const BlockingWait *> blocked{nullptr};
static_assert(std::atomic<const BlockingWait *>::is_always_lock_free, "the signal handler reads it");

QString whatFor(int signal)
{
    switch (signal) {
    case SIGTERM: return QStringLiteral("stopped by SIGTERM");
#ifdef Q_OS_WIN
    case hangUp: return QStringLiteral("stopped as its console window was closed");
#else
    case hangUp: return QStringLiteral("stopped by SIGHUP");
#endif
    default: return QStringLiteral("interrupted");
    }
}

int exitCodeFor(int signal)
{
    switch (signal) {
    case SIGTERM: return ExitCode::terminated;
    case hangUp: return ExitCode::hungUp;
    default: return ExitCode::interrupted;
    }
}

extern "C" void note(int signal)
{
    if (received == 0)
        received = signal;
    if (const BlockingWait *wait = blocked.load())
        wait->end(signal);
}

// Writes all of `bytes`, as far as the descriptor takes them: safe in a
// signal handler.
void writeAll(int descriptor, const QByteArray &bytes)
{
    const char *at = bytes.constData();
    ssize_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, at, size_t(left));
        if (written <= 0)
            return;
        at += written;
        left -= written;
    }
}

#ifdef Q_OS_WIN
// Windows tells a console program of Ctrl+C, Ctrl+Break and the closing of
// its console window on a thread of their own, made for the event.
BOOL WINAPI noteConsoleEvent(DWORD event)
{
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        note(SIGINT);
        return TRUE;
    }
    if (event != CTRL_CLOSE_EVENT)
        return FALSE;
    // The program is ended when this returns: held here, it ends the
    // transfer between two frames and exits, within the few seconds
    // Windows grants.
    note(hangUp);
    ::Sleep(INFINITE);
    return TRUE;
}
#endif

} // namespace

void install()
{
#ifdef Q_OS_WIN
    ::SetConsoleCtrlHandler(noteConsoleEvent, TRUE);
#else
    struct sigaction action = {};
    action.sa_handler = note;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART; // file reads and writes go on; waits poll requested()
    for (int signal : handled)
        sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

bool requested()
{
    return received != 0;
}

QString what()
{
    return whatFor(received);
}

int exitCode()
{
    return exitCodeFor(received);
}

int honoured(int code)
{
    if (!requested())
        return code;
    return code > ExitCode::cannotUse ? code : exitCode();
}

BlockingWait::BlockingWait(const QString &waitingFor, Kind kind)
    : outer(blocked.load())
{
    const QString after = kind == Kind::BeforeWork ? QStringLiteral("; nothing was done.")
                                                   : QStringLiteral("; the results are not complete.");
    for (int k = 0; k < signalCount; ++k) {
        const QString sentence = QStringLiteral("%1 while %2%3").arg(whatFor(handled[k]), waitingFor, after);
        lines[k] = (QStringLiteral("vkrtool: ") + sentence + QLatin1Char('\n')).toUtf8();
        if (kind == Kind::BeforeWork && JsonOutput::enabled())
            documents[k] = JsonOutput::errorDocument(sentence, exitCodeFor(handled[k]));
    }
    blocked.store(this);
    if (kind == Kind::BeforeWork && received != 0)
        end(received);
}

BlockingWait::~BlockingWait()
{
    blocked.store(outer);
}

void BlockingWait::end(int signal) const
{
    int k = 0;
    while (k + 1 < signalCount && handled[k] != signal)
        ++k;
    writeAll(STDERR_FILENO, lines[k]);
    writeAll(STDOUT_FILENO, documents[k]);
    ::_exit(exitCodeFor(signal));
}

} // namespace Interrupt
