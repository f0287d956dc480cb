#pragma once

#include <QString>

// The editor and device label style sheets exactly as the user must get
// them, written out here rather than taken from the program, so that a
// changed style in the program shows up as a failing test.
namespace ExpectedStyle {
const QString black = QStringLiteral("color: black; font-size:16px; font-family: Arial");
const QString green = QStringLiteral("color: green; font-size:16px; font-family: Arial");
const QString red = QStringLiteral("color: red; font-size:16px; font-family: Arial");
} // namespace ExpectedStyle
