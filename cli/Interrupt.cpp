#include "Interrupt.h"

#include "ExitCodes.h"

#include <csignal>

namespace Interrupt {

namespace {

volatile std::sig_atomic_t received = 0; // the first signal that came

extern "C" void note(int signal)
{
    if (received == 0)
        received = signal;
}

} // namespace

void install()
{
    struct sigaction action = {};
    action.sa_handler = note;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART; // file reads and writes go on; waits poll requested()
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

bool requested()
{
    return received != 0;
}

QString what()
{
    switch (received) {
    case SIGTERM: return QStringLiteral("stopped by SIGTERM");
    case SIGHUP: return QStringLiteral("stopped by SIGHUP");
    default: return QStringLiteral("interrupted");
    }
}

int exitCode()
{
    switch (received) {
    case SIGTERM: return ExitCode::terminated;
    case SIGHUP: return ExitCode::hungUp;
    default: return ExitCode::interrupted;
    }
}

} // namespace Interrupt
