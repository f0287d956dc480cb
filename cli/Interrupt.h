#pragma once

// Ctrl+C (SIGINT) is noted, not obeyed at once, so that a transfer can stop
// between two frames and say what state the radio is left in.
namespace Interrupt {

void install();
bool requested();

} // namespace Interrupt
