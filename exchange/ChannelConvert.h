#pragma once

#include "ImportResult.h"

// What `vkrtool convert` is asked for, its arguments parsed.
struct ConvertOptions {
    QString inputFile;
    QString outputFile;
    ChannelFormat from = ChannelFormat::Guess; // Guess: CHIRP when the header names its columns
    ChannelFormat to = ChannelFormat::Guess;   // Guess: the other format
};

// Reads the channels of a channel file or a CHIRP file (ChirpCsv::read)
// and writes them to the output file in the other format (or the one
// asked for), complete or not at all. Channels without a channel frequency
// cannot go into a CHIRP file: they are reported and left out. Channel file
// records beyond the largest memory are reported by count and left out.
// DataNotRight for a CHIRP file without its Location or Frequency column,
// or no channel at all; FileNotUsable for a file that does not read or
// write.
ImportResult convertChannels(const ConvertOptions &options);
