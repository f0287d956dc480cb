#pragma once

#include <QString>

// Ctrl+C (SIGINT), SIGTERM and SIGHUP are noted, not obeyed at once, so
// that a transfer can stop between two frames and say what state the radio
// is left in. SIGPIPE is ignored: a reader of standard output that goes
// away must not kill a write half-way; the failed output is reported at
// the end instead. On Windows, Ctrl+C and Ctrl+Break come through the
// console's handler and count as Ctrl+C, the console window closing as
// SIGHUP.
namespace Interrupt {

void install();
bool requested();

// How the stop came, for messages: "interrupted" (Ctrl+C), "stopped by
// SIGTERM", "stopped by SIGHUP".
QString what();

// The exit code for the signal that came, as shells report it: 130 for
// Ctrl+C, 143 for SIGTERM, 129 for SIGHUP.
int exitCode();

} // namespace Interrupt
