#include "GreatCircle.h"

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

double initialBearingDegrees(const GeoPoint &from, const GeoPoint &to)
{
    const double fromLatitude = from.latitude * radiansPerDegree;
    const double toLatitude = to.latitude * radiansPerDegree;
    const double longitudeGap = (to.longitude - from.longitude) * radiansPerDegree;
    const double east = std::sin(longitudeGap) * std::cos(toLatitude);
    const double north = std::cos(fromLatitude) * std::sin(toLatitude)
        - std::sin(fromLatitude) * std::cos(toLatitude) * std::cos(longitudeGap);
    const double degrees = std::atan2(east, north) / radiansPerDegree;
    const double turned = degrees < 0 ? degrees + 360 : degrees;
    return turned < 360 ? turned : 0; // a hair west of north rounds to 360
}
