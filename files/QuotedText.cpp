#include "QuotedText.h"

namespace QuotedText {

namespace {

constexpr ushort ellipsis = 0x2026;

// Characters that act on a terminal or on the layout of a line rather than
// show: C0 and C1 controls, DEL, and the format characters (bidirectional
// overrides, zero-width joiners, ...), line and paragraph separators.
bool isActing(uint code)
{
    if (code < 0x20 || (code >= 0x7f && code < 0xa0))
        return true;
    const QChar::Category category = QChar::category(code);
    return category == QChar::Other_Format || category == QChar::Separator_Line
        || category == QChar::Separator_Paragraph;
}

QString escapeOf(uint code)
{
    if (code < 0x100)
        return QStringLiteral("\\x%1").arg(code, 2, 16, QLatin1Char('0'));
    return QStringLiteral("\\u%1").arg(code, 4, 16, QLatin1Char('0'));
}

// The value escaped, cut after `longest` characters.
QString escapedUpTo(const QString &value, int longest)
{
    QString text;
    int characters = 0;
    for (int k = 0; k < value.size(); ++k) {
        if (characters == longest - 1 && k + 1 < value.size()) {
            // One more character would not be the last: cut here.
            const bool lastIsPair = value.at(k).isHighSurrogate() && k + 2 == value.size();
            if (!lastIsPair) {
                text += QChar(ellipsis);
                return text;
            }
        }
        uint code = value.at(k).unicode();
        if (value.at(k).isHighSurrogate() && k + 1 < value.size() && value.at(k + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(value.at(k), value.at(k + 1));
            if (isActing(code))
                text += escapeOf(code);
            else
                text += value.mid(k, 2);
            ++k;
        } else if (value.at(k).isSurrogate()) {
            text += escapeOf(code); // a lone half of a pair shows as what it is
        } else if (isActing(code)) {
            text += escapeOf(code);
        } else {
            text += value.at(k);
        }
        ++characters;
    }
    return text;
}

} // namespace

QString shown(const QString &value)
{
    return escapedUpTo(value, maxShownLength);
}

QString escaped(const QString &value)
{
    return escapedUpTo(value, -1);
}

QString quoted(const QString &value)
{
    return QLatin1Char('"') + shown(value) + QLatin1Char('"');
}

} // namespace QuotedText
