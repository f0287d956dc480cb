// vkrtool airfields and vkrtool convert: channel files from what pilots
// already have, made by the exchange library. Its outcomes become the
// tool's exit codes here, and its request problems the options concerned.
#include "Commands.h"

#include "Console.h"
#include "ExitCodes.h"
#include "ImportFiles.h"
#include "Interrupt.h"
#include "OutputTarget.h"
#include "QuotedText.h"

#include <optional>

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
        return QStringLiteral("--channels must be 1 to %1").arg(RadioModels::largestMemory());
    case RequestProblem::PerAirfieldOutOfRange:
        return QStringLiteral("--per-airfield must be 1 to %1").arg(RadioModels::largestMemory());
    }
    return QString();
}

int finish(const ImportResult &result, const OutputTarget &target)
{
    for (const QString &message : result.messages)
        Console::fail(message);
    if (result.outcome == ImportOutcome::RequestNotRight)
        Console::fail(optionsProblem(result.problem));
    if (result.outcome == ImportOutcome::Done && !result.summary.isEmpty())
        Console::fail(result.summary);
    // The library wrote a named file itself.
    if (result.outcome == ImportOutcome::Done && target.isStandardOutput() && !target.write(outputBytes(result)))
        return ExitCode::cannotUse;
    return exitCodeFor(result.outcome);
}

// A FIFO or a device among the files may hold the run until its other end
// acts: then a signal ends the run at once (Interrupt::BlockingWait).
void waitOn(std::optional<Interrupt::BlockingWait> &wait, const QStringList &files)
{
    const QString file = firstThatMayWait(files);
    if (!file.isEmpty())
        wait.emplace(QStringLiteral("waiting for the other end of %1").arg(QuotedText::shown(file)));
}

} // namespace

int Commands::airfields(const AirfieldOptions &options)
{
    // An output onto an input, or into a missing folder, is said before the
    // files are read.
    const OutputTarget target(options.outputFile);
    if (const int failed = target.check({options.frequenciesFile, options.airportsFile}))
        return failed;
    AirfieldOptions request = options;
    if (target.isStandardOutput())
        request.outputFile.clear();
    std::optional<Interrupt::BlockingWait> wait;
    waitOn(wait, {options.frequenciesFile, options.airportsFile, request.outputFile});
    return finish(importAirfields(request), target);
}

int Commands::convert(const ConvertOptions &options)
{
    const OutputTarget target(options.outputFile);
    if (const int failed = target.check({options.inputFile}))
        return failed;
    ConvertOptions request = options;
    if (target.isStandardOutput())
        request.outputFile.clear(); // "-": the channels come back to be printed
    std::optional<Interrupt::BlockingWait> wait;
    waitOn(wait, {options.inputFile, request.outputFile});
    return finish(convertChannels(request), target);
}
