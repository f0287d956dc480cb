#pragma once

#include "AirfieldChannels.h"
#include "ChannelConvert.h"

#include <QString>

// The subcommands of vkrtool. Each returns the exit code (ExitCodes.h) and
// prints its results on standard output, its errors on standard error. A
// channel file named "-" is standard input.
namespace Commands {

int ports(bool json);
int identify(const QString &port);
int read(const QString &port, const QString &output);

struct WriteOptions {
    QString file;
    QString port;
    bool backup = true;
    bool verify = true;
    bool force = false; // the radio's rules are not checked, only what it can hold at all
};
int write(const WriteOptions &options);

// Against a radio of `channelCount` channels (the largest by default).
int check(const QString &file, int channelCount);
int backups(bool json);
// `backup` is a file or "latest", the newest backup of the radio's model.
int restore(const QString &backup, const QString &port);
int diff(const QString &first, const QString &second);

int airfields(const AirfieldOptions &options);
int convert(const ConvertOptions &options);

} // namespace Commands
