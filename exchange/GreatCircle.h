#pragma once

#include <QString>

#include <optional>

// A place on the Earth in decimal degrees, north and east positive.
struct GeoPoint {
    double latitude = 0;
    double longitude = 0;
};

// Latitude within -90 to 90, longitude within -180 to 180 (NaN is not).
bool isOnGlobe(const GeoPoint &point);

// "LAT,LON" in decimal degrees ("50.03,8.57"); nothing when either is not
// a number or lies off the globe (latitude beyond 90, longitude beyond 180).
std::optional<GeoPoint> parseGeoPoint(const QString &text);

// A lower bound of the great-circle distance, in kilometres, from the
// latitudes alone: cheap enough to rule out most places of a file at once.
double latitudeGapKm(const GeoPoint &from, const GeoPoint &to);

// The great-circle distance in kilometres, on a sphere of the Earth's mean
// radius (haversine formula, accurate to about 0.5 %).
double greatCircleKm(const GeoPoint &from, const GeoPoint &to);
