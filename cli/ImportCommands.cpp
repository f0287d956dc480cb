// vkrtool airfields and vkrtool convert: channel files from what pilots
// already have, made by the exchange library. Its outcomes become the
// tool's exit codes here, and its request problems the options concerned.
#include "Commands.h"

#include "Console.h"
#include "ExitCodes.h"
#include "ImportFiles.h"

namespace {

int exitCodeFor(ImportOutcome outcome)
{
    switch (outcome) {
    case ImportOutcome::Done:
        return ExitCode::success;
    case ImportOutcome::DataNotRight:
        return ExitCode::dataNotRight;
    case ImportOutcome::RequestNotRight:
        return ExitCode::usage;
    case ImportOutcome::FileNotUsable:
        break;
    }
    return ExitCode::cannotUse;
}

QString optionsProblem(RequestProblem problem)
{
    switch (problem) {
    case RequestProblem::None:
        break;
    case RequestProblem::NeitherAirfieldsNorPosition:
    case RequestProblem::AirfieldsAndPosition:
        return QStringLiteral("name the airfields or give --near, one of the two");
    case RequestProblem::PositionWithoutAirports:
        return QStringLiteral("--near needs --airports");
    case RequestProblem::PositionOffGlobe:
        return QStringLiteral("--near: latitude -90 to 90, longitude -180 to 180");
    case RequestProblem::PositionWithoutRadius:
        return QStringLiteral("--near needs --radius-km");
    case RequestProblem::RadiusWithoutPosition:
        return QStringLiteral("--radius-km needs --near");
    case RequestProblem::NegativeRadius:
        return QStringLiteral("--radius-km must be 0 or more");
    case RequestProblem::ChannelCountOutOfRange:
        return QStringLiteral("--channels must be 1 to %1").arg(ChannelRules::largestMemory);
    case RequestProblem::PerAirfieldOutOfRange:
        return QStringLiteral("--per-airfield must be 1 to %1").arg(ChannelRules::largestMemory);
    }
    return QString();
}

int finish(const ImportResult &result, bool toStandardOutput)
{
    for (const QString &message : result.messages)
        Console::fail(message);
    if (result.outcome == ImportOutcome::RequestNotRight)
        Console::fail(optionsProblem(result.problem));
    if (result.outcome == ImportOutcome::Done && !result.summary.isEmpty())
        Console::fail(result.summary);
    if (result.outcome == ImportOutcome::Done && toStandardOutput)
        Console::outBytes(outputBytes(result));
    return exitCodeFor(result.outcome);
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
