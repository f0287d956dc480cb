#pragma once

#include <QByteArray>

#include <functional>

class QIODevice;

namespace Link {

// Asked while the link waits for the radio; true ends the exchange there
// (the user pressed Ctrl+C or Cancel, or closed the window). An empty
// function never stops it.
using StopRequested = std::function<bool()>;

// Waits up to `timeout` ms for new bytes, like QIODevice::waitForReadyRead,
// but asks `stopRequested` every few dozen milliseconds and gives up (false)
// as soon as it says so.
bool waitForBytes(QIODevice &port, int timeout, const StopRequested &stopRequested = {});

// Gathers one answer: replaces `reply` with what the port holds now, then
// keeps appending while new bytes come within `quietTime` ms of each other.
// The answer ends at the first silence that long, at maxReplyLength bytes
// (never longer), or at the latest twice the quiet time after the
// call, so a device that never stops talking (a GPS receiver, a noisy line)
// cannot hold the caller for long. Bytes after the end stay in the port.
void collectReply(QIODevice &port, QByteArray &reply, int quietTime, const StopRequested &stopRequested = {});

// Drops everything the port holds, in its own buffer and, for a serial port,
// in the system's, so that a stray byte (line noise, a late answer to an
// earlier exchange) is not taken as the answer to the next command.
void discardInput(QIODevice &port);

// Lets the line fall quiet: drops whatever comes until nothing has come for
// `quietTime` ms (for at most a few seconds on a line that never falls
// quiet), then drops what the port holds. Line noise that follows the end
// of a transfer by a moment would otherwise land in front of the first
// frame of the transfer that comes right after it.
void settleLine(QIODevice &port, int quietTime, const StopRequested &stopRequested = {});

} // namespace Link
