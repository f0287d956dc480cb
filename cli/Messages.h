#pragma once

#include <QString>

// Pieces of vkrtool's sentences that many messages share.

// "1 record", "2 records": a count with its noun in the right number.
QString countOf(qint64 count, const char *singular, const char *plural);

// The system's words for an error number: "No space left on device".
QString systemReason(int error);
