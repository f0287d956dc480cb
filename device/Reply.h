#pragma once

#include <QByteArray>

class QIODevice;

namespace Link {

// Gathers one answer: replaces `reply` with what the port holds now, then
// keeps appending while new bytes come within `quietTime` ms of each other.
// The answer ends at the first silence that long, or once it has grown to
// maxReplyLength bytes, so a device that never stops talking cannot hold the
// caller forever. Bytes after the end stay in the port.
void collectReply(QIODevice &port, QByteArray &reply, int quietTime);

} // namespace Link
