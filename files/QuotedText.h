#pragma once

#include <QString>

// Text from a file or a device, made safe to show in a message: control
// characters (ESC, BEL, a line end, bidirectional overrides...) are written
// as escapes ("\x1b", "\u202e") so they cannot act on a terminal or break a
// line, and a value longer than maxShownLength characters is cut with an
// ellipsis, so a hostile 50 MB name costs one short line.
namespace QuotedText {

constexpr int maxShownLength = 40; // characters of the value, before escaping

// The value escaped and cut.
QString shown(const QString &value);

// Escaped but whole: for a file name the user gave, which a message must
// name as it is.
QString escaped(const QString &value);

// The same in double quotes: "TOWER".
QString quoted(const QString &value);

} // namespace QuotedText
