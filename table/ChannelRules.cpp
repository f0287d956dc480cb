#include "ChannelRules.h"

#include <QCoreApplication>

namespace ChannelRules {

namespace {

constexpr int kilohertzInMegahertz = 1000;
constexpr int lowestMegahertz = RadioModels::airBand.lowestKilohertz / kilohertzInMegahertz;
constexpr int highestMegahertz = RadioModels::airBand.highestKilohertz / kilohertzInMegahertz;
constexpr int highestKilohertzAt136 = RadioModels::airBand.highestKilohertz % kilohertzInMegahertz;
constexpr QChar point = QLatin1Char('.');
constexpr QChar fieldSeparator = QLatin1Char(';');

// The 8.33 kHz channels split each 25 kHz block in three, at 0, 8 1/3 and
// 16 2/3 kHz; their designators are the block plus 5, 10 and 15 kHz.
constexpr qint64 hertzPerKilohertz = 1000;
constexpr qint64 kilohertzPerMegahertz = 1000;
constexpr qint64 blockHertz = 25000;
constexpr qint64 channelsPerBlock = 3;
constexpr qint64 designatorStepKilohertz = 5;
constexpr qint64 toleranceHertz = 500;
constexpr int hertzDecimals = 6;      // decimals of a megahertz value down to 1 Hz
constexpr int maxMegahertzDigits = 6; // far above the band; keeps every sum within 64 bits
constexpr int kilohertzDigits = 3;

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

// A decimal megahertz value split at 1 Hz: the whole hertz, and the digits
// below 1 Hz without trailing zeros.
struct DecimalFrequency {
    qint64 hertz = 0;
    QString belowHertz;
};

// Digits, at most one point, at least one digit before it; spaces around.
bool parseMegahertz(const QString &text, DecimalFrequency &frequency)
{
    const QString trimmed = text.trimmed();
    const int pointAt = trimmed.indexOf(point);
    const QString whole = pointAt < 0 ? trimmed : trimmed.left(pointAt);
    QString fraction = pointAt < 0 ? QString() : trimmed.mid(pointAt + 1);
    if (whole.isEmpty() || whole.size() > maxMegahertzDigits)
        return false;
    for (const QChar c : whole + fraction) {
        if (!isDigit(c))
            return false;
    }
    fraction = fraction.leftJustified(hertzDecimals, QLatin1Char('0'));
    frequency.hertz = whole.toLongLong() * kilohertzPerMegahertz * hertzPerKilohertz
        + fraction.left(hertzDecimals).toLongLong();
    frequency.belowHertz = fraction.mid(hertzDecimals);
    while (frequency.belowHertz.endsWith(QLatin1Char('0')))
        frequency.belowHertz.chop(1);
    return true;
}

// The sign of 3 * 0.digits - thirds. Exact although a third has no finite
// decimal form: 1/3 is 0.333..., 2/3 is 0.666..., so the first digit that
// differs from the repeated one decides, and a finite run of it is below.
int compareWithThirds(const QString &digits, qint64 thirds)
{
    if (thirds < 0)
        return 1;
    if (thirds == 0)
        return digits.isEmpty() ? 0 : 1;
    if (thirds >= channelsPerBlock)
        return -1;
    const QChar repeated = thirds == 1 ? QLatin1Char('3') : QLatin1Char('6');
    for (const QChar digit : digits) {
        if (digit != repeated)
            return digit > repeated ? 1 : -1;
    }
    return -1;
}

QString frequencyText(qint64 kilohertz)
{
    return QStringLiteral("%1.%2")
        .arg(kilohertz / kilohertzPerMegahertz)
        .arg(kilohertz % kilohertzPerMegahertz, kilohertzDigits, 10, QLatin1Char('0'));
}

// The designator of the 8.33 kHz channel whose true frequency lies within
// 0.5 kHz of the value, or an empty text.
QString nearest833Channel(const DecimalFrequency &value)
{
    // The channels near the value: the three of its 25 kHz block and the
    // first of the next. Within 0.5 kHz of one at most, being 8 1/3 apart.
    const qint64 block = value.hertz - value.hertz % blockHertz;
    for (qint64 k = 0; k <= channelsPerBlock; ++k) {
        const qint64 channelBlock = block + k / channelsPerBlock * blockHertz;
        const qint64 channel = k % channelsPerBlock;
        // Three times the value less the channel's true frequency, in whole
        // hertz; the value's part below 1 Hz is compared on its digits.
        const qint64 difference = channelsPerBlock * (value.hertz - channelBlock) - channel * blockHertz;
        const qint64 tolerance = channelsPerBlock * toleranceHertz;
        if (compareWithThirds(value.belowHertz, tolerance - difference) <= 0
            && compareWithThirds(value.belowHertz, -tolerance - difference) >= 0) {
            const QString text = frequencyText(channelBlock / hertzPerKilohertz + (channel + 1) * designatorStepKilohertz);
            return isChannelFrequency(text) ? text : QString();
        }
    }
    return QString();
}

int utf8Size(QChar c)
{
    return QString(c).toUtf8().size();
}

QString tr(const char *text)
{
    return QCoreApplication::translate("ChannelRules", text);
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

QString channelFrequencyFor(const QString &megahertz)
{
    DecimalFrequency value;
    if (!parseMegahertz(megahertz, value))
        return QString();
    if (value.belowHertz.isEmpty() && value.hertz % hertzPerKilohertz == 0) {
        const QString text = frequencyText(value.hertz / hertzPerKilohertz);
        if (isChannelFrequency(text))
            return text;
    }
    return nearest833Channel(value);
}

QString channel833For(const QString &megahertz)
{
    DecimalFrequency value;
    if (!parseMegahertz(megahertz, value))
        return QString();
    if (value.belowHertz.isEmpty() && value.hertz % hertzPerKilohertz == 0) {
        const QString text = frequencyText(value.hertz / hertzPerKilohertz);
        if (is833Channel(text))
            return text;
    }
    return nearest833Channel(value);
}

QString carrierOf(const QString &channel)
{
    if (!isChannelFrequency(channel))
        return QString();
    const qint64 kilohertz = channel.left(3).toLongLong() * kilohertzPerMegahertz + channel.right(kilohertzDigits).toLongLong();
    const qint64 blockKilohertz = blockHertz / hertzPerKilohertz;
    const qint64 ending = kilohertz % blockKilohertz;
    qint64 hertz = kilohertz * hertzPerKilohertz;
    if (ending != 0) {
        // Designator endings 5, 10 and 15 name the block's first, second
        // and third channel, at 0, 8 1/3 and 16 2/3 kHz: rounded to 1 Hz.
        const qint64 channelInBlock = ending / designatorStepKilohertz - 1;
        hertz = (kilohertz - ending) * hertzPerKilohertz
            + (channelInBlock * blockHertz + channelsPerBlock / 2) / channelsPerBlock;
    }
    const qint64 hertzPerMegahertz = hertzPerKilohertz * kilohertzPerMegahertz;
    return QStringLiteral("%1.%2")
        .arg(hertz / hertzPerMegahertz)
        .arg(hertz % hertzPerMegahertz, hertzDecimals, 10, QLatin1Char('0'));
}

bool is833Channel(const QString &frequency)
{
    const int kilohertzPerBlock = int(blockHertz / hertzPerKilohertz);
    return isChannelFrequency(frequency) && frequency.right(2).toInt() % kilohertzPerBlock != 0;
}

QString nameFrom(const QString &text)
{
    QString name;
    int bytes = 0;
    for (const QChar c : text.toUpper()) {
        if (!isNameCharacter(c))
            continue;
        if (name.size() == maxNameLength || bytes + utf8Size(c) > maxNameLength)
            break;
        name += c;
        bytes += utf8Size(c);
    }
    return name;
}

QString completedFrequency(const QString &text)
{
    const int pointAt = text.indexOf(point);
    const int decimals = text.size() - pointAt - 1;
    if (pointAt < 0 || decimals < 1 || decimals >= kilohertzDigits)
        return text;
    const QString padded = text + QString(kilohertzDigits - decimals, QLatin1Char('0'));
    return isChannelFrequency(padded) ? padded : text;
}

QString frequencyFault(const QString &text)
{
    if (text.isEmpty() || isChannelFrequency(text))
        return QString();
    const int pointAt = text.indexOf(point);
    const QString whole = pointAt < 0 ? text : text.left(pointAt);
    const QString decimals = pointAt < 0 ? QString() : text.mid(pointAt + 1);
    bool digitsOnly = !whole.isEmpty() && !decimals.contains(point);
    for (const QChar c : whole + decimals)
        digitsOnly = digitsOnly && isDigit(c);
    if (!digitsOnly)
        return tr("not a frequency: three digits, a point and three decimals, like 121.500");
    const int megahertz = whole.toInt();
    const QString incomplete = tr("incomplete: a channel has three decimals, like 121.500");
    if (whole.size() < 3 && decimals.isEmpty())
        return incomplete;
    if (whole.size() > 3 || megahertz > highestMegahertz)
        return tr("above 136.980");
    if (megahertz < lowestMegahertz)
        return tr("below 118.000");
    if (decimals.isEmpty())
        return incomplete;
    if (decimals.size() < kilohertzDigits) // as the zeros leaving the cell adds would make it
        return frequencyFault(text + QString(kilohertzDigits - decimals.size(), QLatin1Char('0')));
    if (decimals.size() > kilohertzDigits)
        return tr("too many decimals: a channel has three, like 121.500");
    if (megahertz == highestMegahertz && decimals.toInt() > highestKilohertzAt136)
        return tr("above 136.980");
    return tr("not on the 8.33/25 kHz raster");
}

QString nameFault(const QString &name)
{
    for (const QChar c : name) {
        if (c.isLower())
            return tr("lower case: the radio shows upper case only");
    }
    for (const QChar c : name) {
        if (!isNameCharacter(c))
            return tr("\"%1\" is not a name character: letters, digits and spaces only").arg(c);
    }
    if (!isValidName(name))
        return tr("longer than the radio's %1 bytes: letters such as \u00c4 take two").arg(maxNameLength);
    return QString();
}

} // namespace ChannelRules
