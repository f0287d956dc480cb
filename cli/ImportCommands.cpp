// vkrtool airfields and vkrtool convert: channel files from what pilots
// already have, made by the import library.
#include "Commands.h"

#include "Console.h"
#include "ExitCodes.h"
#include "ImportFiles.h"

namespace {

// An import's outcome is the tool's exit code.
static_assert(int(ImportOutcome::Done) == ExitCode::success && int(ImportOutcome::DataNotRight) == ExitCode::dataNotRight
                  && int(ImportOutcome::UsageError) == ExitCode::usage
                  && int(ImportOutcome::FileNotUsable) == ExitCode::cannotUse,
              "import outcomes and exit codes differ");

int finish(const ImportResult &result, bool toStandardOutput)
{
    for (const QString &message : result.messages)
        Console::fail(message);
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
