#pragma once

#include "ImportResult.h"

class QIODevice;

// CHIRP's generic CSV: RFC 4180, a header row naming the columns
// (Location, Name, Frequency, Duplex, ...; older files lack some, so they
// are read by name), one memory per row.
namespace ChirpCsv {

// True when the device's first record names a Location and a Frequency
// column, separated by "," as CHIRP writes them or by ";" as spreadsheets
// set to a European locale do. Reads from where the device stands.
bool looksLikeChirp(QIODevice &device);

// The channels of a CHIRP file. A row becomes the channel at its Location,
// its Name made a channel name (importedName, Windows-1252 where it is not
// UTF-8; repeated names numbered as makeNamesUnique does). Frequency is the
// carrier: with a TStep of 8.33 it names an 8.33 kHz channel
// (ChannelRules::channel833For: 121.800000 gives 121.805), else it goes
// through ChannelRules::channelFrequencyFor (121.800000 gives 121.800).
// Locations count from 0 when the file has a Location 0 (whether or not its
// row is kept), else from the smallest Location in the file. Rows shorter
// than the header, a repeater's Duplex (+, -, split; "off" is receive only
// and kept), an FM mode (FM, NFM, WFM), no air-band channel, or a Location
// that is no number, repeated or beyond the largest memory are reported
// and skipped.
ImportOutcome read(QIODevice &device, const QString &fileName, Channels &channels, QStringList &messages);

// A CHIRP file of the channels that hold a channel frequency: Location the
// channel's number (from 1), Frequency its carrier with six decimals
// (ChannelRules::carrierOf: 118.010 as 118.008333), TStep 8.33 for an
// 8.33 kHz channel and 25.00 for a 25 kHz one, Mode AM, no duplex, CHIRP's
// default tones. CR LF line ends.
QByteArray toBytes(const Channels &channels);

} // namespace ChirpCsv
