#pragma once

#include "ImportResult.h"

// A conversion between a channel file and a CHIRP file.
struct ConvertOptions {
    QString inputFile;
    QString outputFile; // empty: nothing written, the channels only in the result
    // Guess: CHIRP when the first line names a CHIRP column or is a comma
    // CSV without ";" (so such a file is refused for its missing columns
    // rather than read as channels), else a channel file.
    ChannelFormat from = ChannelFormat::Guess;
    ChannelFormat to = ChannelFormat::Guess;   // Guess: the other format
};

// Reads the channels of a channel file or a CHIRP file (ChirpCsv::read)
// and writes them to the output file in the other format (or the one
// asked for), complete or not at all. Channels without a channel frequency
// cannot go into a CHIRP file: they are reported and left out. Channel file
// records beyond the largest memory are reported by count and left out.
// DataNotRight for a CHIRP file without its Location or Frequency column,
// or no channel at all; FileNotUsable for a file that does not read or
// write (with the system's reason).
ImportResult convertChannels(const ConvertOptions &options);
