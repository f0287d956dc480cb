#include "ChannelCard.h"


#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <climits>

namespace {

constexpr qreal pointSizeStep = 0.25;
constexpr qreal marginMillimetres = 8;
constexpr int linesPerGroup = 5;       // a rule after every fifth line
constexpr int widestColumnCount = 2;
constexpr qreal titleScale = 1.25;     // the title's size against the lines'
constexpr qreal markScale = 0.75;      // the "8.33" mark's size against the lines'
constexpr qreal groupGapInRows = 0.4;  // room for the rule between two groups
constexpr qreal rowsPerCapHeight = 1.6; // a line's pitch: the capitals and the room around them
constexpr qreal thinRulePoints = 0.35;
constexpr qreal titleRulePoints = 0.8;
constexpr char markText[] = "8.33";

// A font of the family at a size, drawn the same on screen, printer and PDF.
QFont cardFont(const QString &family, qreal pointSize, bool bold)
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

} // namespace

// Sizes in the device's pixels for the card's text at one point size.
struct ChannelCard::Metrics {
    QFont text;  // numbers, frequencies, the date
    QFont name;  // names stand out a little
    QFont title;
    QFont mark;  // the small "8.33"
    qreal pageWidth = 0;
    qreal pageHeight = 0;
    qreal rowPitch = 0;
    qreal capHeight = 0;
    qreal groupGap = 0;
    qreal titleBaseline = 0;
    qreal titleRuleY = 0;
    qreal listTop = 0;
    qreal fieldGap = 0;
    qreal markGap = 0;
    qreal numberWidth = 0;
    qreal nameWidth = 0;
    qreal frequencyWidth = 0;
    qreal markWidth = 0;
    qreal columnWidth = 0;
    qreal columnGap = 0;
    qreal thinRule = 0;
    qreal titleRule = 0;

    // Top of the line at `row` of a column: lines, and a gap after every group.
    qreal rowTop(int row) const { return listTop + row * rowPitch + (row / linesPerGroup) * groupGap; }
    qreal baseline(int row) const { return rowTop(row) + (rowPitch + capHeight) / 2; }
};

ChannelCard::ChannelCard(const Channels &records, int firstNumber, const QString &title, const QDate &date)
    : titleLine(title)
    , cardDate(date)
    , fontFamily(QGuiApplication::font().family())
{
    for (int row = 0; row < records.size(); ++row) {
        const Channel &record = records.at(row);
        if (record.isEmpty())
            continue;
        cardLines.append({firstNumber + row, record.name, record.frequency.text(),
                          record.frequency.spacing() == Frequency::Spacing::Narrow});
    }
}

void ChannelCard::setFontFamily(const QString &family)
{
    fontFamily = family;
}

QPageLayout ChannelCard::defaultPageLayout()
{
    return pageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait);
}

QPageLayout ChannelCard::pageLayout(const QPageSize &paper, QPageLayout::Orientation orientation)
{
    const QMarginsF margins(marginMillimetres, marginMillimetres, marginMillimetres, marginMillimetres);
    return QPageLayout(paper, orientation, margins, QPageLayout::Millimeter);
}

ChannelCard::Metrics ChannelCard::metricsFor(QPaintDevice &device, qreal pointSize) const
{
    Metrics m;
    m.text = cardFont(fontFamily, pointSize, false);
    m.name = cardFont(fontFamily, pointSize, true);
    m.title = cardFont(fontFamily, pointSize * titleScale, true);
    m.mark = cardFont(fontFamily, pointSize * markScale, false);
    const QFontMetricsF text(m.text, &device);
    const QFontMetricsF name(m.name, &device);
    const QFontMetricsF title(m.title, &device);
    const QFontMetricsF mark(m.mark, &device);

    m.pageWidth = device.width();
    m.pageHeight = device.height();

    // Names and frequencies are capitals and digits: a line needs the height
    // of the capitals with room for accents above them, not the room the
    // font keeps for lower-case ascenders and descenders.
    m.capHeight = text.capHeight() > 0 ? text.capHeight() : text.ascent() * 0.7;
    m.rowPitch = std::min(std::max(text.lineSpacing(), name.lineSpacing()), m.capHeight * rowsPerCapHeight);
    m.groupGap = m.rowPitch * groupGapInRows;
    m.titleBaseline = title.ascent();
    m.titleRuleY = m.titleBaseline + title.descent() + m.rowPitch / 4;
    m.listTop = m.titleRuleY + m.rowPitch / 2;

    const qreal space = text.horizontalAdvance(QLatin1Char(' '));
    m.fieldGap = 2 * space;
    m.markGap = space;
    bool anyMark = false;
    for (const Line &line : cardLines) {
        m.numberWidth = std::max(m.numberWidth, text.horizontalAdvance(QString::number(line.number)));
        m.nameWidth = std::max(m.nameWidth, name.horizontalAdvance(line.name));
        m.frequencyWidth = std::max(m.frequencyWidth, text.horizontalAdvance(line.frequency));
        anyMark = anyMark || line.is833;
    }
    m.markWidth = anyMark ? m.markGap + mark.horizontalAdvance(QLatin1String(markText)) : 0;
    m.columnWidth = m.numberWidth + m.fieldGap + m.nameWidth + m.fieldGap + m.frequencyWidth + m.markWidth;
    m.columnGap = 3 * m.fieldGap;

    const qreal pixelsPerPoint = device.logicalDpiY() / 72.0;
    m.thinRule = thinRulePoints * pixelsPerPoint;
    m.titleRule = titleRulePoints * pixelsPerPoint;
    return m;
}

ChannelCard::Layout ChannelCard::layoutWith(const Metrics &m, int columns) const
{
    Layout layout;
    layout.pointSize = m.text.pointSizeF();
    layout.columns = columns;
    while (m.rowTop(layout.linesPerColumn) + m.rowPitch <= m.pageHeight)
        ++layout.linesPerColumn;

    const int perPage = layout.columns * layout.linesPerColumn;
    const bool fitsAcross = columns * m.columnWidth + (columns - 1) * m.columnGap <= m.pageWidth;
    if (!fitsAcross || perPage == 0)
        layout.pages = INT_MAX; // the paper is too small for this
    else if (cardLines.isEmpty())
        layout.pages = 1; // the title alone
    else
        layout.pages = (int(cardLines.size()) + perPage - 1) / perPage;
    return layout;
}

// The fewest pages; of those, the largest text; of those, the fewest columns.
ChannelCard::Layout ChannelCard::layoutFor(QPaintDevice &device) const
{
    Layout best;
    best.pages = INT_MAX;
    for (qreal size = largestPointSize; size >= smallestPointSize; size -= pointSizeStep) {
        const Metrics metrics = metricsFor(device, size);
        for (int columns = 1; columns <= widestColumnCount; ++columns) {
            const Layout layout = layoutWith(metrics, columns);
            if (layout.pages < best.pages)
                best = layout;
        }
    }
    if (best.pages == INT_MAX) {
        // Paper too small even at the smallest size: a line per page, cut
        // at the paper's edge, rather than no card at all.
        best = layoutWith(metricsFor(device, smallestPointSize), 1);
        best.linesPerColumn = std::max(best.linesPerColumn, 1);
        best.pages = std::max(1, (int(cardLines.size()) + best.linesPerColumn - 1) / best.linesPerColumn);
    }
    return best;
}

// What follows the title on a page: the date, and the page's place among
// several.
QString ChannelCard::pageTitle(int page, int pages) const
{
    const QString date = QStringLiteral(", ") + cardDate.toString(Qt::ISODate);
    if (pages == 1)
        return date;
    return QStringLiteral("%1 (%2/%3)").arg(date).arg(page + 1).arg(pages);
}

bool ChannelCard::paint(QPagedPaintDevice &device) const
{
    const Layout layout = layoutFor(device);
    const Metrics m = metricsFor(device, layout.pointSize);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    const QPen thinPen(Qt::black, m.thinRule, Qt::SolidLine, Qt::FlatCap);
    const QPen titlePen(Qt::black, m.titleRule, Qt::SolidLine, Qt::FlatCap);
    const QPen textPen(Qt::black);

    const QFontMetricsF textMetrics(m.text, &device);
    const QFontMetricsF titleMetrics(m.title, &device);
    const int perPage = layout.columns * layout.linesPerColumn;

    for (int page = 0; page < layout.pages; ++page) {
        if (page > 0)
            device.newPage();

        painter.setPen(textPen);
        // "EDDF area, VKR627S, 2026-12-08": the title yields to the date on
        // a narrow page.
        painter.setFont(m.title);
        const QString dated = pageTitle(page, layout.pages);
        const QString title = titleMetrics.elidedText(titleLine, Qt::ElideRight,
                                                      m.pageWidth - titleMetrics.horizontalAdvance(dated));
        painter.drawText(QPointF(0, m.titleBaseline), title + dated);
        painter.setPen(titlePen);
        painter.drawLine(QPointF(0, m.titleRuleY), QPointF(m.pageWidth, m.titleRuleY));

        const int first = page * perPage;
        const int count = std::min(perPage, int(cardLines.size()) - first);
        // Columns of a page share its lines evenly, filled top to bottom.
        const int perColumn = (count + layout.columns - 1) / layout.columns;
        // Columns spread over the width: on two, the second starts near the
        // middle, where the card may be folded or cut.
        const qreal columnPitch = std::max(m.columnWidth + m.columnGap, (m.pageWidth + m.columnGap) / layout.columns);
        for (int i = 0; i < count; ++i) {
            const Line &line = cardLines.at(first + i);
            const int row = i % perColumn;
            const qreal left = (i / perColumn) * columnPitch;
            const qreal baseline = m.baseline(row);

            painter.setPen(textPen);
            painter.setFont(m.text);
            const QString number = QString::number(line.number);
            const qreal numberWidth = textMetrics.horizontalAdvance(number);
            painter.drawText(QPointF(left + m.numberWidth - numberWidth, baseline), number);
            painter.setFont(m.name);
            qreal x = left + m.numberWidth + m.fieldGap;
            painter.drawText(QPointF(x, baseline), line.name);
            painter.setFont(m.text);
            x += m.nameWidth + m.fieldGap;
            painter.drawText(QPointF(x, baseline), line.frequency);
            if (line.is833) {
                painter.setFont(m.mark);
                x += textMetrics.horizontalAdvance(line.frequency) + m.markGap;
                painter.drawText(QPointF(x, baseline), QLatin1String(markText));
            }

            const bool groupEnds = (row + 1) % linesPerGroup == 0;
            if (groupEnds && row + 1 < perColumn && i + 1 < count) {
                painter.setPen(thinPen);
                const qreal y = m.rowTop(row + 1) - m.groupGap / 2;
                painter.drawLine(QPointF(left, y), QPointF(left + m.columnWidth, y));
            }
        }
    }
    return painter.end();
}

QByteArray ChannelCard::toPdf(const QPageLayout &paper) const
{
    QBuffer buffer;
    if (!buffer.open(QIODevice::WriteOnly))
        return QByteArray();
    QPdfWriter writer(&buffer);
    writer.setTitle(titleLine + pageTitle(0, 1));
    writer.setCreator(QLatin1String(creator));
    if (!writer.setPageLayout(paper) || !paint(writer))
        return QByteArray();
    return buffer.data();
}
