#pragma once

#include "ImportResult.h"

class QIODevice;

// CHIRP's generic CSV: RFC 4180, a header row naming the columns
// (Location, Name, Frequency, Duplex, ...; older files lack some, so they
// are read by name), one memory per row.
namespace ChirpCsv {

// True when the device's first record names a Location and a Frequency
// column. Reads from where the device stands.
bool looksLikeChirp(QIODevice &device);

// The channels of a CHIRP file. A row whose Frequency gives a channel
// (ChannelRules::channelFrequencyFor) becomes the channel at its Location,
// its Name made a channel name (ChannelRules::nameFrom). CHIRP counts from 0
// or from 1 by radio: Locations count from the smallest in the file when
// that is 0, else from 1, so that channels written by toBytes come back to
// their places, empty ones before them included. Rows with Duplex set,
// without an air-band channel, or with a Location that is no number,
// repeated or beyond the largest memory are reported and skipped.
ImportOutcome read(QIODevice &device, const QString &fileName, ChannelRecords &channels, QStringList &messages);

// A CHIRP file of the channels that hold a channel frequency: Location the
// channel's number (from 1), Frequency with six decimals, Mode AM, TStep
// 8.33 or 25.00 by raster, no duplex, CHIRP's default tones. CR LF line ends.
QByteArray toBytes(const ChannelRecords &channels);

} // namespace ChirpCsv
