#include "Frequency.h"

#include "RadioModels.h"

#include <QRegularExpression>

#include <tuple>

namespace {

constexpr int kilohertzPerStep = 5;
constexpr int kilohertzDigits = 3;
constexpr int stepsPerMegahertz = 1000 / kilohertzPerStep;
constexpr int largestFrameByte = 0xFF;

// The 8.33 kHz channels split each 25 kHz block in three, at 0, 8 1/3 and
// 16 2/3 kHz; their designators are the block plus 5, 10 and 15 kHz.
constexpr int blockKilohertz = 25;
constexpr qint64 blockHertz = 25000;
constexpr qint64 channelsPerBlock = 3;
constexpr qint64 hertzPerKilohertz = 1000;

// The kilohertz part of a designator that names no channel of the 8.33 kHz
// raster: the last two digits 20, 45, 70 and 95.
bool isGapEnding(int kilohertzPart)
{
    const int ending = kilohertzPart % 100;
    return ending == 20 || ending == 45 || ending == 70 || ending == 95;
}

} // namespace

Frequency Frequency::fromParts(int megahertz, int step)
{
    Frequency frequency;
    frequency.kind = Kind::Designator;
    frequency.mhz = megahertz;
    frequency.steps = step;
    return frequency;
}

Frequency Frequency::fromKilohertz(int kilohertz)
{
    return fromParts(kilohertz / 1000, kilohertz % 1000 / kilohertzPerStep);
}

Frequency Frequency::fromText(const QString &text)
{
    if (text.isEmpty())
        return Frequency();
    // A designator exactly as it is written out: megahertz without leading
    // zeros, the kilohertz with three digits or more, a multiple of 5. Any
    // other way of writing it would not come back the same from text().
    static const QRegularExpression designator(QStringLiteral("^(0|[1-9][0-9]{0,2})\\.([0-9]{3}|[1-9][0-9]{3})$"));
    const QRegularExpressionMatch match = designator.match(text);
    if (match.hasMatch()) {
        const int kilohertz = match.captured(2).toInt();
        if (kilohertz % kilohertzPerStep == 0)
            return fromParts(match.captured(1).toInt(), kilohertz / kilohertzPerStep);
    }
    Frequency frequency;
    frequency.kind = Kind::Text;
    frequency.unparsed = text;
    return frequency;
}

bool Frequency::isChannelOf(const Band &band) const
{
    if (kind != Kind::Designator || steps >= stepsPerMegahertz)
        return false;
    const int part = steps * kilohertzPerStep;
    return !isGapEnding(part) && kilohertz() >= band.lowestKilohertz && kilohertz() <= band.highestKilohertz;
}

Frequency::Spacing Frequency::spacing() const
{
    if (!isChannelOf(RadioModels::airBand))
        return Spacing::None;
    return steps * kilohertzPerStep % blockKilohertz == 0 ? Spacing::Wide : Spacing::Narrow;
}

qint64 Frequency::carrierHertz() const
{
    const Spacing kindOfChannel = spacing();
    if (kindOfChannel == Spacing::None)
        return 0;
    const qint64 hertz = qint64(kilohertz()) * hertzPerKilohertz;
    if (kindOfChannel == Spacing::Wide)
        return hertz;
    // Designator endings 5, 10 and 15 name the block's first, second and
    // third channel, at 0, 8 1/3 and 16 2/3 kHz: rounded to 1 Hz.
    const qint64 ending = steps * kilohertzPerStep % blockKilohertz;
    const qint64 channelInBlock = ending / kilohertzPerStep - 1;
    return hertz - ending * hertzPerKilohertz + (channelInBlock * blockHertz + channelsPerBlock / 2) / channelsPerBlock;
}

bool Frequency::fitsFrame() const
{
    if (kind == Kind::Empty)
        return true;
    return kind == Kind::Designator && mhz >= 0 && mhz <= largestFrameByte && steps >= 0 && steps <= largestFrameByte;
}

QString Frequency::text() const
{
    switch (kind) {
    case Kind::Empty:
        return QString();
    case Kind::Text:
        return unparsed;
    case Kind::Designator:
        break;
    }
    return QStringLiteral("%1.%2").arg(mhz).arg(steps * kilohertzPerStep, kilohertzDigits, 10, QLatin1Char('0'));
}

bool Frequency::operator==(const Frequency &other) const
{
    return kind == other.kind && mhz == other.mhz && steps == other.steps && unparsed == other.unparsed;
}

bool Frequency::operator<(const Frequency &other) const
{
    if (kind != other.kind)
        return kind == Kind::Designator || (kind == Kind::Text && other.kind == Kind::Empty);
    if (kind == Kind::Designator)
        return std::make_tuple(kilohertz(), mhz) < std::make_tuple(other.kilohertz(), other.mhz);
    return unparsed < other.unparsed;
}
