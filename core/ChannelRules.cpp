#include "ChannelRules.h"

#include "ChannelFileFormat.h"

#include <limits>

namespace ChannelRules {

namespace {

constexpr int kilohertzInMegahertz = 1000;
constexpr QChar point = QLatin1Char('.');
constexpr int kilohertzDigits = 3;

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

int lowestMegahertz(const Band &band)
{
    return band.lowestKilohertz / kilohertzInMegahertz;
}

int highestMegahertz(const Band &band)
{
    return band.highestKilohertz / kilohertzInMegahertz;
}

// A text still being typed, judged by the character before the cursor only
// (at position 3, by the megahertz typed so far).
Verdict judgeTyping(const QString &text, int cursor, const Band &band)
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
        ok = megahertz >= lowestMegahertz(band) && megahertz <= highestMegahertz(band) && isDigit(at(2));
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

bool isAirBandChannel(const Frequency &frequency)
{
    return frequency.isChannelOf(RadioModels::airBand);
}

// The 8.33 kHz channel whose true frequency lies within 0.5 kHz of the
// value, or the empty frequency.
Frequency nearest833Channel(const DecimalFrequency &value)
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
            const qint64 kilohertz = channelBlock / hertzPerKilohertz + (channel + 1) * designatorStepKilohertz;
            if (kilohertz > std::numeric_limits<int>::max())
                return Frequency();
            const Frequency found = Frequency::fromKilohertz(int(kilohertz));
            return isAirBandChannel(found) ? found : Frequency();
        }
    }
    return Frequency();
}

// The value itself when it is a whole number of kilohertz that names a
// designator; else the empty frequency.
Frequency exactDesignator(const DecimalFrequency &value)
{
    if (!value.belowHertz.isEmpty() || value.hertz % hertzPerKilohertz != 0)
        return Frequency();
    const qint64 kilohertz = value.hertz / hertzPerKilohertz;
    if (kilohertz % designatorStepKilohertz != 0 || kilohertz > std::numeric_limits<int>::max())
        return Frequency();
    return Frequency::fromKilohertz(int(kilohertz));
}

int utf8Size(QChar c)
{
    return QString(c).toUtf8().size();
}

// The fault of a text that names no designator, as the user wrote it.
FrequencyFault textFault(const QString &text, const Band &band)
{
    const int pointAt = text.indexOf(point);
    const QString whole = pointAt < 0 ? text : text.left(pointAt);
    const QString decimals = pointAt < 0 ? QString() : text.mid(pointAt + 1);
    bool digitsOnly = !whole.isEmpty() && !decimals.contains(point);
    for (const QChar c : whole + decimals)
        digitsOnly = digitsOnly && isDigit(c);
    if (!digitsOnly)
        return FrequencyFault::NotAFrequency;
    const int megahertz = whole.toInt();
    if (whole.size() < 3 && decimals.isEmpty())
        return FrequencyFault::Incomplete;
    if (whole.size() > 3 || megahertz > highestMegahertz(band))
        return FrequencyFault::AboveBand;
    if (megahertz < lowestMegahertz(band))
        return FrequencyFault::BelowBand;
    if (decimals.isEmpty())
        return FrequencyFault::Incomplete;
    // Judged as the zeros that leaving the cell adds would make it: "121.5"
    // is the channel 121.500 being typed.
    if (decimals.size() < kilohertzDigits)
        return textFault(text + QString(kilohertzDigits - decimals.size(), QLatin1Char('0')), band);
    if (decimals.size() > kilohertzDigits)
        return FrequencyFault::TooManyDecimals;
    const Frequency designator = Frequency::fromText(text);
    if (designator.isDesignator())
        return designator.kilohertz() > band.highestKilohertz ? FrequencyFault::AboveBand
            : designator.isChannelOf(band)                   ? FrequencyFault::None
                                                             : FrequencyFault::OffRaster;
    return FrequencyFault::OffRaster;
}

} // namespace

Verdict judgeFrequency(const QString &text, int cursor)
{
    if (text.size() > frequencyTextLength)
        return Verdict::Invalid;
    if (text.size() == frequencyTextLength)
        return isAirBandChannel(Frequency::fromText(text)) ? Verdict::Acceptable : Verdict::Invalid;
    return judgeTyping(text, cursor, RadioModels::airBand);
}

bool isControlCharacter(QChar c)
{
    return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format
        || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

int firstControlCharacter(const QString &text)
{
    for (int k = 0; k < text.size(); ++k) {
        if (isControlCharacter(text.at(k)))
            return k;
    }
    return -1;
}

bool isNameCharacter(QChar c)
{
    return isUpperCaseLetter(c) || isDigit(c) || c == QLatin1Char(' ');
}

Verdict judgeNameEdit(QString &text, int cursor)
{
    // A name that carried the separator would split its record in a file.
    if (text.contains(QLatin1Char(ChannelFileFormat::fieldSeparator)))
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

NameCheck checkName(const QString &name, const RadioModel &model)
{
    for (const QChar c : name) {
        if (isControlCharacter(c))
            return {NameFault::ControlCharacter, c, 0};
    }
    for (const QChar c : name) {
        if (!isNameCharacter(c) && c.isLower() && isNameCharacter(c.toUpper()))
            return {NameFault::LowerCase, c, 0};
    }
    for (const QChar c : name) {
        if (!isNameCharacter(c))
            return {NameFault::NotNameCharacter, c, 0};
    }
    if (name.size() > model.nameLength)
        return {NameFault::TooManyCharacters, QChar(), int(name.size())};
    const int bytes = name.toUtf8().size();
    if (bytes > model.nameLength)
        return {NameFault::TooManyBytes, QChar(), bytes};
    return {};
}

FrequencyFault frequencyFault(const Frequency &frequency, const RadioModel &model)
{
    if (frequency.isEmpty() || frequency.isChannelOf(model.band))
        return FrequencyFault::None;
    return textFault(frequency.text(), model.band);
}

Frequency channelFrequencyFor(const QString &megahertz)
{
    DecimalFrequency value;
    if (!parseMegahertz(megahertz, value))
        return Frequency();
    const Frequency exact = exactDesignator(value);
    if (isAirBandChannel(exact))
        return exact;
    return nearest833Channel(value);
}

Frequency channel833For(const QString &megahertz)
{
    DecimalFrequency value;
    if (!parseMegahertz(megahertz, value))
        return Frequency();
    const Frequency exact = exactDesignator(value);
    if (exact.spacing() == Frequency::Spacing::Narrow)
        return exact;
    return nearest833Channel(value);
}

QString nameFrom(const QString &text, const RadioModel &model)
{
    QString name;
    int bytes = 0;
    for (const QChar c : text.toUpper()) {
        if (!isNameCharacter(c))
            continue;
        if (name.size() == model.nameLength || bytes + utf8Size(c) > model.nameLength)
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
    return isAirBandChannel(Frequency::fromText(padded)) ? padded : text;
}

} // namespace ChannelRules
