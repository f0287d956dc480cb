#include "AirfieldReport.h"

#include "QtCompat.h"
#include "QuotedText.h"

#include <cmath>

namespace {

// Below this, distances are given to a tenth.
constexpr double wholeFrom = 10;
constexpr double fullCircle = 360;

QString oneOrMore(int count, const char *one, const char *more)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : more));
}

QString amount(double value)
{
    return QString::number(value, 'f', value < wholeFrom ? 1 : 0);
}

} // namespace

QString airfieldText(const Airfield &airfield)
{
    const QString ident = QuotedText::shown(QtCompat::utf8UpToZero(airfield.ident));
    return airfield.name.isEmpty() ? ident : QStringLiteral("%1 (%2)").arg(ident, QuotedText::shown(airfield.name));
}

QString distanceText(double kilometres)
{
    return QStringLiteral("%1 km (%2 NM)").arg(amount(kilometres), amount(kilometres / kilometresPerNauticalMile));
}

QString bearingText(double degrees)
{
    const int whole = int(std::lround(degrees)) % int(fullCircle);
    return QStringLiteral("%1\u00B0").arg(whole, 3, 10, QLatin1Char('0'));
}

QString leftOutText(const LeftOutAirfields &leftOut, const AirfieldOptions &options)
{
    QString nearest = airfieldText(leftOut.nearest);
    if (options.near)
        nearest += QStringLiteral(", ") + distanceText(leftOut.nearest.distanceKm);
    const int count = leftOut.count;
    const QString radius = QStringLiteral("%1 km").arg(amount(options.radiusKm.value_or(0)));
    const auto kind = [&](const char *one, const char *more, const char *why) {
        return QString::fromLatin1(count == 1 ? "%1 %2: %3" : "%1 %2, the nearest %3")
            .arg(oneOrMore(count, one, more), QLatin1String(why), nearest);
    };
    switch (leftOut.reason) {
    case LeftOutReason::Closed:
        return kind("closed airfield", "closed airfields", "left out");
    case LeftOutReason::Heliport:
        return kind("heliport", "heliports", "not asked for");
    case LeftOutReason::SeaplaneBase:
        return kind("seaplane base", "seaplane bases", "not asked for");
    case LeftOutReason::BalloonPort:
        return kind("balloon port", "balloon ports", "not asked for");
    case LeftOutReason::NoUsableFrequency:
        return kind("airfield", "airfields", "without a frequency that is a channel");
    case LeftOutReason::BeyondNearest:
        if (options.radiusKm)
            return QStringLiteral("%1 within %2 beyond the nearest %3, the next %4")
                .arg(oneOrMore(count, "more airfield", "more airfields"), radius)
                .arg(options.nearest.value_or(0))
                .arg(nearest);
        return QStringLiteral("beyond the nearest %1: the next is %2").arg(options.nearest.value_or(0)).arg(nearest);
    case LeftOutReason::BeyondRadius:
        break;
    }
    return QStringLiteral("beyond %1: the next is %2").arg(radius, nearest);
}
