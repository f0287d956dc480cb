#include "RadioEndCaption.h"

#include <QPainter>

namespace {
constexpr int ruleWidth = 2;  // px
constexpr int textIndent = 6; // px
} // namespace

RadioEndCaption::RadioEndCaption(QWidget *viewport)
    : QLabel(tr("not on this radio"), viewport)
{
    setObjectName(QStringLiteral("radioEndCaption"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
}

// A line across, and the text in the colour of the greyed rows below.
void RadioEndCaption::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(QRect(0, 0, width(), ruleWidth), palette().color(QPalette::Dark));
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(rect().adjusted(textIndent, ruleWidth, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text());
}
