#pragma once

#include "Channel.h"

#include <QStringList>

// How an import or a conversion ended. Callers say it in their own terms:
// the command line as exit codes, the window as messages.
enum class ImportOutcome {
    Done,            // the channels are there (some records may have been skipped)
    DataNotRight,    // a column or an airfield missing, or no channel at all
    RequestNotRight, // what was asked for does not go together: ImportResult::problem says what
    FileNotUsable,   // a file did not open, read or write
};

// What in a request does not go together, for the caller to put in the
// words its user knows (an option, a field of a dialog).
enum class RequestProblem {
    None,
    NeitherAirfieldsNorPosition, // neither idents nor a position given
    AirfieldsAndPosition,        // both given
    PositionWithoutAirports,     // a search around a position needs the airports file
    PositionOffGlobe,            // latitude beyond 90 or longitude beyond 180
    PositionWithoutRadius,       // neither a radius nor a count of nearest airfields
    RadiusWithoutPosition,
    NearestWithoutPosition,
    NegativeRadius,
    ChannelCountOutOfRange,     // at most 1 to the largest memory
    PerAirfieldOutOfRange,      // at most 1 to the largest memory, when limited
    NearestOutOfRange,          // 1 to the largest memory
};

enum class ChannelFormat { Guess, ChannelFile, Chirp };

// The channels an import gives, what it has to say, and how it ended.
struct ImportResult {
    ImportOutcome outcome = ImportOutcome::Done;
    RequestProblem problem = RequestProblem::None; // with RequestNotRight
    // In the order they arose: skipped records with their files and
    // numbers, missing columns, unknown airfields, files that do not open.
    QStringList messages;
    // What came of it in one line ("20 channels of 20 airfields"); empty
    // where there is nothing to add to the channels themselves.
    QString summary;
    // The channel at index k is record k of the channel file.
    Channels channels;
    ChannelFormat format = ChannelFormat::ChannelFile; // of the output

    // Keeps the first failure's outcome; every message is kept.
    void fail(ImportOutcome why, const QString &message)
    {
        if (outcome == ImportOutcome::Done)
            outcome = why;
        messages << message;
    }
    void refuse(RequestProblem what)
    {
        outcome = ImportOutcome::RequestNotRight;
        problem = what;
    }
};
