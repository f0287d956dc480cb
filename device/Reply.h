#pragma once

#include <QByteArray>

class QIODevice;

namespace Link {

// Gathers one answer: replaces `reply` with what the port holds now, then
// keeps appending while new bytes come within `quietTime` ms of each other.
// The answer ends at the first silence that long, once it has grown to
// maxReplyLength bytes, or at the latest twice the quiet time after the
// call, so a device that never stops talking (a GPS receiver, a noisy line)
// cannot hold the caller for long. Bytes after the end stay in the port.
void collectReply(QIODevice &port, QByteArray &reply, int quietTime);

// Drops everything the port holds, in its own buffer and, for a serial port,
// in the system's, so that a stray byte (line noise, a late answer to an
// earlier exchange) is not taken as the answer to the next command.
void discardInput(QIODevice &port);

} // namespace Link
