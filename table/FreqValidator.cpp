#include "FreqValidator.h"

namespace {

constexpr int frequencyLength = 7;   // "118.000"
constexpr int lowestMegahertz = 118;
constexpr int highestMegahertz = 136;
constexpr int highestKilohertzAt136 = 980;

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Judges a text still being typed by the character before the cursor only.
QValidator::State judgeTyping(const QString &input, int pos)
{
    const auto at = [&input](int k) { return k < input.size() ? input.at(k) : QChar(); };
    bool ok = false;
    switch (pos) {
    case 1:
        ok = at(0) == QLatin1Char('1');
        break;
    case 2:
        ok = at(1) == QLatin1Char('1') || at(1) == QLatin1Char('2') || at(1) == QLatin1Char('3');
        break;
    case 3: {
        const int megahertz = input.left(3).toInt();
        ok = megahertz >= lowestMegahertz && megahertz <= highestMegahertz && isDigit(at(2));
        break;
    }
    case 4:
        ok = at(3) == QLatin1Char('.');
        break;
    default:
        if (pos <= 0)
            return QValidator::Intermediate;
        ok = isDigit(at(pos - 1));
        break;
    }
    return ok ? QValidator::Intermediate : QValidator::Invalid;
}

// Judges a complete seven-character frequency against the channel raster.
QValidator::State judgeComplete(const QString &input)
{
    const int megahertz = input.left(3).toInt();
    if (megahertz < lowestMegahertz || megahertz > highestMegahertz)
        return QValidator::Invalid;
    if (input.at(3) != QLatin1Char('.'))
        return QValidator::Invalid;
    // The last two digits designate the channel within a 25 kHz block; the
    // endings 20, 45, 70 and 95 are not channels of the 8.33 kHz raster.
    const int ending = input.right(2).toInt();
    if (ending % 5 != 0)
        return QValidator::Invalid;
    if (ending == 20 || ending == 45 || ending == 70 || ending == 95)
        return QValidator::Invalid;
    if (megahertz == highestMegahertz && input.right(3).toInt() > highestKilohertzAt136)
        return QValidator::Invalid;
    return QValidator::Acceptable;
}

} // namespace

FreqValidator::FreqValidator(QObject *parent)
    : QValidator(parent)
{
}

FreqValidator::~FreqValidator() = default;

QValidator::State FreqValidator::validate(QString &input, int &pos) const
{
    if (input.size() > frequencyLength)
        return Invalid;
    if (input.size() == frequencyLength)
        return judgeComplete(input);
    return judgeTyping(input, pos);
}
