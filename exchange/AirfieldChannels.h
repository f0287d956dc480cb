#pragma once

#include "ChannelRules.h"
#include "ImportResult.h"
#include "OurAirports.h"
#include "PlaceText.h"

#include <optional>

// What channels of which airfields are wanted.
struct AirfieldOptions {
    QString frequenciesFile;             // OurAirports' airport-frequencies.csv
    QString airportsFile;                // airports.csv: needed with `near`, else names airfields and finds closed ones
    QString outputFile;                  // empty: nothing written, the channels only in the result
    QStringList idents;                  // the airfields named, their channels in this order; or
    std::optional<Place> near;           // the airfields around this place, nearest first:
    std::optional<double> radiusKm;      //   within this radius,
    std::optional<int> nearest;          //   the first N that give a channel (either or both given)
    QStringList types;                   // only these types, in this order; empty: all, in defaultTypeOrder()
    int maxChannels = RadioModels::largestMemory();
    std::optional<int> perAirfield;      // at most this many channels of one airfield; none: all, or one with `nearest`
    // Searched around a place only when asked for (airports.csv's types
    // heliport, seaplane_base, balloonport); closed airfields never, named
    // or searched.
    bool heliports = false;
    bool seaplaneBases = false;
    bool balloonPorts = false;
};

// Where a channel of the result comes from, for a list that shows it.
struct AirfieldChannelOrigin {
    QByteArray ident;                     // "EDDF"
    QString airfieldName;                 // empty without the airports file
    QByteArray type;                      // the frequency's type and description as the file gives them
    QString description;
    std::optional<double> distanceKm;     // from the place searched around; none for airfields named
    std::optional<double> bearingDegrees; // true, from that place
};

// Why airfields around a place were left out.
enum class LeftOutReason {
    Closed,
    Heliport,          // not asked for
    SeaplaneBase,      // not asked for
    BalloonPort,       // not asked for
    NoUsableFrequency, // none of its frequencies (of the types asked for) is a channel
    BeyondNearest,     // the nearest N were found before it
    BeyondRadius,      // fewer than N airfields within the radius
};

struct LeftOutAirfields {
    LeftOutReason reason = LeftOutReason::Closed;
    // Those nearer than the radius or, without one, than the farthest
    // airfield listed; BeyondNearest without a radius and BeyondRadius
    // count only the next one.
    int count = 0;
    Airfield nearest; // the nearest of them (for airfields named: the first)
};

// An import's result with what a list of airfield channels shows.
struct AirfieldResult : ImportResult {
    std::optional<GeoPoint> centre;         // the point searched around
    Airfield centreAirfield;                // the airfield searched around, when the place was one
    QVector<AirfieldChannelOrigin> origins; // one per channel, in their order
    QVector<LeftOutAirfields> leftOut;      // by reason, in the order of LeftOutReason, those with any
};

// The order of an airfield's channels when no types are asked for: the
// frequency a pilot calls first (the tower, else the frequency of an
// airfield without one), then approach, ATIS, ground; every other type
// after these, as in the file.
QStringList defaultTypeOrder();

// What in a request does not go together (see importAirfields), before
// any file is read; None when it does.
RequestProblem airfieldRequestProblem(const AirfieldOptions &options);

// The channels of the airfields asked for, written to the output file when
// one is named. Airfields named come in that order; around a place nearest
// first (great-circle distance), up to the radius, up to the N nearest
// that give a channel, or both. A channel is named by airfieldChannelNames
// and uniqueChannelNames, its frequency made a channel by
// ChannelRules::channelFrequencyFor; values that give none are reported
// and skipped, and so is a second row of an airfield on a frequency it
// already has; the channels beyond perAirfield of an airfield, or beyond
// maxChannels in all, are left out by count. The summary gives the
// channels and airfields in the list.
// RequestNotRight, with its problem, for idents and `near` both or neither,
// a radius or `nearest` without `near`, `near` without either, or without
// an airports file, or off the globe, a negative radius, or maxChannels,
// perAirfield or `nearest` outside 1 to the largest memory; DataNotRight
// for a missing column, an ident not in the frequencies file, an airfield
// searched around not in the airports file, or no channel at all;
// FileNotUsable for a file that does not read or write.
AirfieldResult importAirfields(const AirfieldOptions &options);
