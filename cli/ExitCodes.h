#pragma once

// The exit codes of every vkrtool subcommand.
namespace ExitCode {
constexpr int success = 0;
constexpr int dataNotRight = 1; // problems in a file, differences found, a file refused
constexpr int usage = 2;        // unknown subcommand or option, missing argument, output onto an input
constexpr int cannotUse = 3;    // no radio, port error, incomplete read, transfer error, a file not read or written
// Stopped by a signal, as shells report it: 128 and the signal's number.
constexpr int hungUp = 129;      // SIGHUP: the terminal was closed
constexpr int interrupted = 130; // SIGINT: Ctrl+C
constexpr int terminated = 143;  // SIGTERM

// The code of a run whose output (results, a trace) did not arrive: a
// success or a found difference becomes a failure; a worse code stays.
constexpr int withOutputLost(int code)
{
    return code == success || code == dataNotRight ? cannotUse : code;
}
} // namespace ExitCode
