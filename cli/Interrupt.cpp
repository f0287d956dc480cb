#include "Interrupt.h"

#include "ExitCodes.h"

#include <QtGlobal>

#include <csignal>

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

volatile std::sig_atomic_t received = 0; // the first signal that came

extern "C" void note(int signal)
{
    if (received == 0)
        received = signal;
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
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
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
    switch (received) {
    case SIGTERM: return QStringLiteral("stopped by SIGTERM");
#ifdef Q_OS_WIN
    case hangUp: return QStringLiteral("stopped as its console window was closed");
#else
    case hangUp: return QStringLiteral("stopped by SIGHUP");
#endif
    default: return QStringLiteral("interrupted");
    }
}

int exitCode()
{
    switch (received) {
    case SIGTERM: return ExitCode::terminated;
    case hangUp: return ExitCode::hungUp;
    default: return ExitCode::interrupted;
    }
}

} // namespace Interrupt
