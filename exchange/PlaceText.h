#pragma once

#include "GreatCircle.h"

#include <QByteArray>
#include <QString>

#include <optional>

// A place to search around: a position, or an airfield whose position the
// airports file gives.
struct Place {
    Place(const GeoPoint &point)
        : point(point)
    {
    }
    explicit Place(const QByteArray &airfield)
        : airfield(airfield)
    {
    }

    std::optional<GeoPoint> point;
    QByteArray airfield; // its ident in upper case, when there is no point
};

// A place as people write it, spaces and case aside:
// - an airfield's ident: "EDDF", "egll" (letters and digits, a "-" within,
//   at least one letter, at most 8 characters);
// - signed decimal degrees, latitude first, north and east positive, south
//   and west negative: "50.03, 8.57", "51.47 -0.46";
// - degrees with hemispheres, after or before, in either order:
//   "51.47N 0.46W", "51.47 N, 0.46 W", "N51.47 W0.46";
// - degrees and minutes (and seconds): "50°02'N 008°34'E", "50 02.5 N 8 34 E",
//   "50°02'30\"N ...", and as a chart gives them, "5002N00834E" (latitude
//   DDMM or DDMMSS, longitude DDDMM or DDDMMSS).
// A text that reads as a position is one. Nothing for any other text, or
// for a position off the globe, minutes or seconds of 60 and more.
std::optional<Place> parsePlace(const QString &text);

// The position forms of parsePlace alone.
std::optional<GeoPoint> parseGeoPoint(const QString &text);

// What parsePlace reads, with examples, to end a sentence on a text it
// refused: "an airfield's ident (EDDF), or a position: ...".
QString placeForms();
