#pragma once

// A place on the Earth in decimal degrees, north and east positive.
struct GeoPoint {
    double latitude = 0;
    double longitude = 0;
};

// Latitude within -90 to 90, longitude within -180 to 180 (NaN is not).
bool isOnGlobe(const GeoPoint &point);

// A lower bound of the great-circle distance, in kilometres, from the
// latitudes alone: cheap enough to rule out most places of a file at once.
double latitudeGapKm(const GeoPoint &from, const GeoPoint &to);

// The great-circle distance in kilometres, on a sphere of the Earth's mean
// radius (haversine formula, accurate to about 0.5 %).
double greatCircleKm(const GeoPoint &from, const GeoPoint &to);

// The direction of the great circle from `from` to `to` as it leaves
// `from`, in degrees clockwise from true north, 0 up to 360; 0 for the
// same point.
double initialBearingDegrees(const GeoPoint &from, const GeoPoint &to);

constexpr double kilometresPerNauticalMile = 1.852;
