#include "GreatCircle.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

constexpr double earthMeanRadiusKm = 6371.0088;
constexpr double maxLatitude = 90;
constexpr double maxLongitude = 180;
constexpr double radiansPerDegree = 3.14159265358979323846 / 180;

double squaredSineOfHalf(double radians)
{
    const double sine = std::sin(radians / 2);
    return sine * sine;
}

} // namespace

bool isOnGlobe(const GeoPoint &point)
{
    // Any comparison with NaN is false: NaN is refused too.
    return std::abs(point.latitude) <= maxLatitude && std::abs(point.longitude) <= maxLongitude;
}

std::optional<GeoPoint> parseGeoPoint(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 2)
        return std::nullopt;
    bool latitudeRead = false;
    bool longitudeRead = false;
    const GeoPoint point{parts.at(0).trimmed().toDouble(&latitudeRead), parts.at(1).trimmed().toDouble(&longitudeRead)};
    if (!latitudeRead || !longitudeRead || !isOnGlobe(point))
        return std::nullopt;
    return point;
}

double latitudeGapKm(const GeoPoint &from, const GeoPoint &to)
{
    return earthMeanRadiusKm * std::abs(to.latitude - from.latitude) * radiansPerDegree;
}

double greatCircleKm(const GeoPoint &from, const GeoPoint &to)
{
    const double fromLatitude = from.latitude * radiansPerDegree;
    const double toLatitude = to.latitude * radiansPerDegree;
    const double haversine = squaredSineOfHalf(toLatitude - fromLatitude)
        + std::cos(fromLatitude) * std::cos(toLatitude)
            * squaredSineOfHalf((to.longitude - from.longitude) * radiansPerDegree);
    return 2 * earthMeanRadiusKm * std::asin(std::sqrt(std::min(1.0, haversine)));
}
