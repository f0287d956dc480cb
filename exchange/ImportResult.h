#pragma once

#include "ChannelCsv.h"

#include <QStringList>

// How an import or a conversion ended. The values are the command-line
// tool's exit codes.
enum class ImportOutcome {
    Done = 0,          // the channels are there (some records may have been skipped)
    DataNotRight = 1,  // a column or an airfield missing, or no channel at all
    UsageError = 2,    // options that do not go together
    FileNotUsable = 3, // a file did not open, read or write
};

enum class ChannelFormat { Guess, ChannelFile, Chirp };

// The channels an import gives, what it has to say, and how it ended.
struct ImportResult {
    ImportOutcome outcome = ImportOutcome::Done;
    // For standard error, in the order they arose: skipped records with
    // their numbers, missing columns with their files, unknown airfields.
    QStringList messages;
    // The channel at index k is record k of the channel file.
    ChannelRecords channels;
    ChannelFormat format = ChannelFormat::ChannelFile; // of the output

    // Keeps the first failure's outcome; every message is kept.
    void fail(ImportOutcome why, const QString &message)
    {
        if (outcome == ImportOutcome::Done)
            outcome = why;
        messages << message;
    }
};
