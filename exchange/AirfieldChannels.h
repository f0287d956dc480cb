#pragma once

#include "ChannelRules.h"
#include "GreatCircle.h"
#include "ImportResult.h"

#include <optional>

// What channels of which airfields are wanted.
struct AirfieldOptions {
    QString frequenciesFile;             // OurAirports' airport-frequencies.csv
    QString airportsFile;                // airports.csv: needed with `near`, else names airfields in messages
    QString outputFile;                  // empty: nothing written, the channels only in the result
    QStringList idents;                  // the airfields named, their channels in this order; or
    std::optional<GeoPoint> near;        // every airfield within radiusKm of this point, nearest first
    std::optional<double> radiusKm;      // given exactly when `near` is
    QStringList types;                   // only these types, in this order; empty: all, in defaultTypeOrder()
    int maxChannels = RadioModels::largestMemory();
    std::optional<int> perAirfield;      // at most this many channels of one airfield; none: all of them
};

// The order of an airfield's channels when no types are asked for: the
// frequency a pilot calls first (the tower, else the frequency of an
// airfield without one), then approach, ATIS, ground; every other type
// after these, as in the file.
QStringList defaultTypeOrder();

// The channels of the airfields asked for, written to the output file when
// one is named. A channel is named by airfieldChannelNames and
// makeNamesUnique, its frequency made a channel by
// ChannelRules::channelFrequencyFor; values that give none are reported
// and skipped, and so is a second row of an airfield on a frequency it
// already has; the channels beyond perAirfield of an airfield, or beyond
// maxChannels in all, are left out by count. The summary gives the
// channels and airfields in the list.
// RequestNotRight, with its problem, for idents and `near` both or neither,
// `near` and radiusKm not together, `near` without an airports file or off
// the globe, a negative radius, or maxChannels or perAirfield outside 1 to
// the largest memory; DataNotRight for a missing column, an ident not in
// the frequencies file, or no channel at all; FileNotUsable for a file that
// does not read or write.
ImportResult importAirfields(const AirfieldOptions &options);
