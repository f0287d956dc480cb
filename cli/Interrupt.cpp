#include "Interrupt.h"

#include <csignal>

namespace Interrupt {

namespace {
volatile std::sig_atomic_t pressed = 0;

extern "C" void note(int)
{
    pressed = 1;
}
} // namespace

void install()
{
    std::signal(SIGINT, note);
}

bool requested()
{
    return pressed != 0;
}

} // namespace Interrupt
