#pragma once

#include "ChannelRules.h"
#include "GreatCircle.h"
#include "ImportResult.h"

#include <optional>

// What `vkrtool airfields` is asked for, its arguments parsed.
struct AirfieldOptions {
    QString frequenciesFile;      // OurAirports' airport-frequencies.csv
    QString airportsFile;         // airports.csv: needed with `near`, else names airfields in messages
    QString outputFile;           // empty: the caller writes outputBytes(result) to standard output
    QStringList idents;           // the airfields named, their channels in this order; or
    std::optional<GeoPoint> near; // every airfield within radiusKm of this point, nearest first
    double radiusKm = 0;
    QStringList types;            // only these types, in this order within an airfield; empty: all, as in the file
    int maxChannels = ChannelRules::largestMemory;
};

// The channels of the airfields asked for, written to the output file when
// one is named. A channel is named by its airfield's ident and its type
// ("EDDF TWR", cut to 8 characters; names met before get a number), its
// frequency made a channel by ChannelRules::channelFrequencyFor; values
// that give none are reported and skipped, and so are the channels beyond
// maxChannels, by count. UsageError for idents and `near` both or neither,
// `near` without an airports file or off the globe, a negative radius, or
// maxChannels outside 1 to 100; DataNotRight for a missing column, an ident
// not in the frequencies file, or no channel at all; FileNotUsable for a
// file that does not read or write.
ImportResult importAirfields(const AirfieldOptions &options);
