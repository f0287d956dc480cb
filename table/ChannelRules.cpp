#include "ChannelRules.h"

namespace ChannelRules {

namespace {

constexpr int lowestMegahertz = 118;
constexpr int highestMegahertz = 136;
constexpr int highestKilohertzAt136 = 980;
constexpr QChar point = QLatin1Char('.');
constexpr QChar fieldSeparator = QLatin1Char(';');

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isUpperCaseLetter(QChar c)
{
    if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
        return true;
    return c.unicode() > 0x7F && c.category() == QChar::Letter_Uppercase;
}

// A text still being typed, judged by the character before the cursor only
// (at position 3, by the megahertz typed so far).
Verdict judgeTyping(const QString &text, int cursor)
{
    const auto at = [&text](int k) { return k < text.size() ? text.at(k) : QChar(); };
    bool ok = false;
    switch (cursor) {
    case 1:
        ok = at(0) == QLatin1Char('1');
        break;
    case 2:
        ok = at(1) == QLatin1Char('1') || at(1) == QLatin1Char('2') || at(1) == QLatin1Char('3');
        break;
    case 3: {
        const int megahertz = text.left(3).toInt();
        ok = megahertz >= lowestMegahertz && megahertz <= highestMegahertz && isDigit(at(2));
        break;
    }
    case 4:
        ok = at(3) == point;
        break;
    default:
        if (cursor <= 0)
            return Verdict::Intermediate;
        ok = isDigit(at(cursor - 1));
        break;
    }
    return ok ? Verdict::Intermediate : Verdict::Invalid;
}

// A complete frequency: three digits, the point, three digits, on the raster.
Verdict judgeComplete(const QString &text)
{
    for (int k : {0, 1, 2, 4, 5, 6}) {
        if (!isDigit(text.at(k)))
            return Verdict::Invalid;
    }
    if (text.at(3) != point)
        return Verdict::Invalid;
    const int megahertz = text.left(3).toInt();
    if (megahertz < lowestMegahertz || megahertz > highestMegahertz)
        return Verdict::Invalid;
    // The last two digits designate the channel within a 25 kHz block; the
    // endings 20, 45, 70 and 95 are not channels of the 8.33 kHz raster.
    const int ending = text.right(2).toInt();
    if (ending % 5 != 0 || ending == 20 || ending == 45 || ending == 70 || ending == 95)
        return Verdict::Invalid;
    if (megahertz == highestMegahertz && text.right(3).toInt() > highestKilohertzAt136)
        return Verdict::Invalid;
    return Verdict::Acceptable;
}

} // namespace

Verdict judgeFrequency(const QString &text, int cursor)
{
    if (text.size() > frequencyTextLength)
        return Verdict::Invalid;
    if (text.size() == frequencyTextLength)
        return judgeComplete(text);
    return judgeTyping(text, cursor);
}

bool isChannelFrequency(const QString &text)
{
    return text.size() == frequencyTextLength && judgeComplete(text) == Verdict::Acceptable;
}

bool isNameCharacter(QChar c)
{
    return isUpperCaseLetter(c) || isDigit(c) || c == QLatin1Char(' ');
}

Verdict judgeNameEdit(QString &text, int cursor)
{
    // A name that carried the separator would split its record in a file.
    if (text.contains(fieldSeparator))
        return Verdict::Invalid;
    if (cursor <= 0 || cursor > text.size())
        return Verdict::Acceptable;
    const QChar typed = text.at(cursor - 1);
    if (isUpperCaseLetter(typed))
        return Verdict::Acceptable;
    const QChar upper = typed.toUpper();
    text[cursor - 1] = upper;
    // Beyond ASCII only letters typed in upper case pass (their lower-case
    // forms do not): a raised ä is refused.
    const bool asciiNameCharacter = (upper >= QLatin1Char('A') && upper <= QLatin1Char('Z')) || isDigit(upper)
        || upper == QLatin1Char(' ');
    return asciiNameCharacter ? Verdict::Acceptable : Verdict::Invalid;
}

bool isValidName(const QString &name)
{
    if (name.size() > maxNameLength || name.toUtf8().size() > maxNameLength)
        return false;
    for (const QChar c : name) {
        if (!isNameCharacter(c))
            return false;
    }
    return true;
}

} // namespace ChannelRules
