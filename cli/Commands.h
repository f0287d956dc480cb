#pragma once

#include "AirfieldChannels.h"
#include "ChannelConvert.h"

#include <QString>

// The subcommands of vkrtool. Each returns the exit code (ExitCodes.h) and
// prints its results on standard output, its errors on standard error;
// with --json (JsonOutput) its results are one JSON document instead. A
// channel file named "-" is standard input.
namespace Commands {

// The radio a subcommand talks to.
struct RadioChoice {
    QString port;     // only the radio on this port; empty: the first found on the ports in order
    bool all = false; // every radio on the machine's ports, all at once
    int expected = 0; // with `all`: the radios plugged in, fewer found is a failure; 0: as many as found
};

int ports();
int identify(const RadioChoice &choice);
// With --all `output` is a folder, one file per radio.
int read(const RadioChoice &choice, const QString &output);

struct WriteOptions {
    QString file;
    RadioChoice radio;
    bool backup = true;
    bool verify = true;
    bool force = false; // the radio's rules are not checked, only what it can hold at all
    bool dryRun = false; // check and read, say what would change, write nothing
};
int write(const WriteOptions &options);

// Against the limits of a model (of the whole series by default).
int check(const QString &file, const RadioModel &model);
int backups();
// `backup` is a file or "latest": the newest backup taken before a write or
// a restore of the radio's model on its port.
int restore(const QString &backup, const QString &port, bool force);
// Either list may be the word "radio"; with --all, one of them is.
int diff(const QString &first, const QString &second, const RadioChoice &choice);

// Without a frequencies file, from the data kept in the program's data
// folder: downloaded first when none is kept, or with `update`; `update`
// with neither airfields nor a place only downloads.
int airfields(const AirfieldOptions &options, bool update);
int convert(const ConvertOptions &options);

} // namespace Commands
