// vkrtool airfields and vkrtool convert: channel files from what pilots
// already have, made by the exchange library. Its outcomes become the
// tool's exit codes here, and its request problems the options concerned.
#include "Commands.h"

#include "AirfieldData.h"
#include "AirfieldReport.h"
#include "Console.h"
#include "ExitCodes.h"
#include "ImportFiles.h"
#include "KeptAirfieldData.h"
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
        return QStringLiteral("--near needs --radius-km or --nearest");
    case RequestProblem::RadiusWithoutPosition:
        return QStringLiteral("--radius-km needs --near");
    case RequestProblem::NegativeRadius:
        return QStringLiteral("--radius-km must be 0 or more");
    case RequestProblem::ChannelCountOutOfRange:
        return QStringLiteral("--channels must be 1 to %1").arg(RadioModels::largestMemory());
    case RequestProblem::PerAirfieldOutOfRange:
        return QStringLiteral("--per-airfield must be 1 to %1").arg(RadioModels::largestMemory());
    case RequestProblem::NearestWithoutPosition:
        return QStringLiteral("--nearest needs --near");
    case RequestProblem::NearestOutOfRange:
        return QStringLiteral("--nearest must be 1 to %1").arg(RadioModels::largestMemory());
    }
    return QString();
}

// `notes` go after the messages, before the summary.
int finish(const ImportResult &result, const OutputTarget &target, const QStringList &notes = QStringList())
{
    for (const QString &message : result.messages + notes)
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

int Commands::airfields(const AirfieldOptions &options, bool update)
{
    AirfieldOptions request = options;
    const AirfieldData kept(KeptAirfieldData::dataFolder());
    if (request.frequenciesFile.isEmpty()) {
        request.frequenciesFile = kept.frequenciesPath();
        request.airportsFile = kept.airportsPath();
    }
    // An output onto an input, or into a missing folder, and a request
    // that does not go together are said before anything is downloaded
    // or read.
    const OutputTarget target(request.outputFile);
    if (const int failed = target.check({request.frequenciesFile, request.airportsFile}))
        return failed;
    const bool updateOnly = update && request.idents.isEmpty() && !request.near;
    const RequestProblem problem = airfieldRequestProblem(request);
    if (problem != RequestProblem::None && !updateOnly) {
        Console::fail(optionsProblem(problem));
        return ExitCode::usage;
    }
    if (options.frequenciesFile.isEmpty() && (update || !kept.isKept())) {
        const int downloaded = KeptAirfieldData::download();
        // A failed update leaves the data kept before in use.
        if (downloaded != ExitCode::success && (updateOnly || !kept.isKept() || downloaded != ExitCode::cannotUse))
            return downloaded;
    }
    if (updateOnly)
        return ExitCode::success;
    if (target.isStandardOutput())
        request.outputFile.clear();
    std::optional<Interrupt::BlockingWait> wait;
    waitOn(wait, {request.frequenciesFile, request.airportsFile, request.outputFile});
    const AirfieldResult result = importAirfields(request);
    QStringList leftOut;
    for (const LeftOutAirfields &airfields : result.leftOut)
        leftOut << leftOutText(airfields, request);
    return finish(result, target, leftOut);
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
