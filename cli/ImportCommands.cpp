// vkrtool airfields and vkrtool convert: channel files from what pilots
// already have, made by the import library.
#include "Commands.h"

#include "Console.h"
#include "ImportFiles.h"

namespace {

int finish(const ImportResult &result, bool toStandardOutput)
{
    for (const QString &message : result.messages)
        Console::err(QStringLiteral("vkrtool: ") + message);
    if (result.outcome == ImportOutcome::Done && toStandardOutput)
        Console::outBytes(outputBytes(result));
    return int(result.outcome);
}

} // namespace

int Commands::airfields(const AirfieldOptions &options)
{
    return finish(importAirfields(options), options.outputFile.isEmpty());
}

int Commands::convert(const ConvertOptions &options)
{
    return finish(convertChannels(options), false);
}
