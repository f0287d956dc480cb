#pragma once

// The exit codes of every vkrtool subcommand.
namespace ExitCode {
constexpr int success = 0;
constexpr int dataNotRight = 1; // problems in a file, differences found, a file refused
constexpr int usage = 2;        // unknown subcommand or option, missing argument
constexpr int cannotUse = 3;    // no radio, port error, incomplete read, transfer error, unreadable file
constexpr int interrupted = 130; // Ctrl+C, as shells report it
} // namespace ExitCode
