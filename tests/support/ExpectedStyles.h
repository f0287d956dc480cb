#pragma once

#include <QBrush>
#include <QColor>
#include <QString>
#include <QTableWidgetItem>

// The device label's style sheets and the table's colours exactly as the
// user must get them, written out here rather than taken from the program,
// so that a changed colour in the program shows up as a failing test.
namespace ExpectedStyle {
const QString black = QStringLiteral("color: palette(window-text)");
const QString green = QStringLiteral("color: green");
const QString red = QStringLiteral("color: red");
} // namespace ExpectedStyle

namespace ExpectedColour {
const QColor none;                        // the palette's own text colour
const QColor green(0x00, 0x80, 0x00);     // on a light background
const QColor red(0xff, 0x00, 0x00);
const QColor greenOnDark(0x90, 0xee, 0x90);
const QColor redOnDark(0xff, 0x63, 0x47);
} // namespace ExpectedColour

// The colour a cell's text is drawn in, when the program chose one.
inline QColor colourOf(const QTableWidgetItem *item)
{
    const QVariant brush = item->data(Qt::ForegroundRole);
    return brush.isValid() ? brush.value<QBrush>().color() : QColor();
}
