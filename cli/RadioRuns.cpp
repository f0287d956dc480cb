#include "RadioRuns.h"

#include "Console.h"
#include "EveryPort.h"
#include "Interrupt.h"
#include "JsonOutput.h"
#include "Messages.h"
#include "PortDiagnosis.h"
#include "ProgressBoard.h"
#include "QuotedText.h"
#include "SerialPorts.h"
#include "TraceFile.h"

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace {

// One radio's run, with the keys of the radio it ran on.
struct RadioDone {
    RadioRun run;
    QString port;
    QString model;
    QJsonObject json;
};

RadioDone runOn(RadioConnection &radio, const RadioJob &job, const Session::JobObserver &observer)
{
    RadioDone done{job(radio, observer), radio.portName(), radio.modelLabel(), QJsonObject()};
    done.json = JsonOutput::merged(done.run.json, radioKeys(radio, done.run.verdict));
    return done;
}

RadioRuns onOneRadio(const QString &port, const RadioJob &job)
{
    RadioRuns runs;
    ToolRadio radio;
    runs.exitCode = connectRadio(radio, port);
    if (runs.exitCode != ExitCode::success)
        return runs;
    const RadioDone done = runOn(radio.connection(), job, radio.observer());
    radio.endProgress();
    runs.radios.append(done.json);
    runs.exitCode = sayVerdict(done.run.verdict);
    return runs;
}

// "/dev/ttyUSB1 VKR627A: written and verified, backup ..." and the
// details before it, each line naming the radio.
void sayAsItEnds(const RadioDone &done, const QString &fileWord)
{
    const QString radio = QStringLiteral("%1 %2: ").arg(QuotedText::escaped(done.port), done.model);
    const RadioVerdict &verdict = done.run.verdict;
    for (const QString &line : verdict.details)
        Console::out(radio + line);
    if (!verdict.succeeded()) {
        Console::out(radio + (verdict.sentence.isEmpty() ? verdict.result : verdict.sentence));
        return;
    }
    QString line = radio + verdict.result;
    if (!done.run.file.isEmpty())
        line += QStringLiteral(", %1 %2").arg(fileWord, done.run.file);
    Console::out(line);
}

// Columns as wide as their widest entry; the last is not padded.
void sayTable(const QVector<QStringList> &rows)
{
    QVector<int> widths(rows.first().size(), 0);
    for (const QStringList &row : rows) {
        for (int column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], int(row.at(column).size()));
    }
    for (const QStringList &row : rows) {
        QString line;
        for (int column = 0; column < row.size(); ++column)
            line += column + 1 < row.size() ? row.at(column).leftJustified(widths[column] + 2) : row.at(column);
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        Console::out(line);
    }
}

// "3 radios: 2 written and verified, 1 write failed"
QString countOfResults(const std::vector<RadioDone> &radios)
{
    QStringList order;
    std::map<QString, int> counts;
    for (const RadioDone &done : radios) {
        const RadioVerdict &verdict = done.run.verdict;
        const QString &words = verdict.tally.isEmpty() ? verdict.result : verdict.tally;
        if (counts[words]++ == 0)
            order << words;
    }
    QStringList parts;
    for (const QString &result : order)
        parts << QStringLiteral("%1 %2").arg(counts[result]).arg(result);
    return QStringLiteral("%1: %2").arg(countOf(qint64(radios.size()), "radio", "radios"), parts.join(QStringLiteral(", ")));
}

// What became of one port of a pass over many.
struct PortOutcome {
    std::optional<RadioDone> done;                         // a radio answered and its job ran
    std::optional<RadioConnection::PortFailure> failure; // why none answered
};

// Probes the ports at once and runs the job on each radio found, saying
// each radio's verdict as it ends.
std::vector<PortOutcome> onePass(const QStringList &ports, const QString &fileWord, const RadioJob &job)
{
    ProgressBoard board(ports.size());
    std::vector<PortOutcome> outcomes(size_t(ports.size()));
    Session::PortJobs jobs;
    jobs.ports = ports;
    jobs.trace = TraceFile::current();
    jobs.stopRequested = Interrupt::requested;
    jobs.job = [&](int k, RadioConnection &radio) {
        Session::JobObserver observer =
            board.radioFound(k, QStringLiteral("%1 %2").arg(QuotedText::escaped(radio.portName()), radio.modelLabel()),
                             radio.channelCount());
        observer.stopRequested = Interrupt::requested;
        outcomes[size_t(k)].done = runOn(radio, job, observer);
    };
    jobs.ended = [&](int k, const RadioConnection::Search &search) {
        board.portDone(k);
        PortOutcome &outcome = outcomes[size_t(k)];
        if (outcome.done) {
            board.clear();
            sayAsItEnds(*outcome.done, fileWord);
        } else if (!search.failures.isEmpty()) {
            outcome.failure = search.failures.first();
        }
        board.draw();
    };
    jobs.waiting = [&] { board.draw(); };
    Session::runOnEveryPort(jobs);
    return outcomes;
}

// Why the run fails for radios that are not there, or empty when it does
// not: fewer than --expect found, or a port named in the environment that
// held none.
QString missingRadios(const Commands::RadioChoice &choice, int found, int withoutRadio)
{
    if (choice.expected > found)
        return QStringLiteral("%1 found, %2 expected (--expect %2)")
            .arg(countOf(found, "radio", "radios"))
            .arg(choice.expected);
    if (withoutRadio > 0 && qEnvironmentVariableIsSet(Link::portListVariable))
        return QStringLiteral("%1 named in %2 held no radio")
            .arg(countOf(withoutRadio, "port", "ports"), QLatin1String(Link::portListVariable));
    return QString();
}

RadioRuns onEveryRadio(const Commands::RadioChoice &choice, const QString &fileWord, const RadioJob &job)
{
    RadioRuns runs;
    const QStringList ports = Link::serialPortNames();
    if (ports.isEmpty()) {
        Console::fail(Link::noPortsAdvice() + QLatin1Char('.'));
        runs.exitCode = ExitCode::cannotUse;
        return runs;
    }
    std::vector<PortOutcome> outcomes = onePass(ports, fileWord, job);

    // Radios are missing where the user says there are some: a silent port
    // may hold one still deaf from a stopped write. Asked once more, all at
    // once, after the quiet such a radio waits for.
    const auto radiosFound = [&outcomes] {
        return int(std::count_if(outcomes.cbegin(), outcomes.cend(), [](const PortOutcome &o) { return o.done.has_value(); }));
    };
    QStringList silent;
    std::vector<size_t> silentAt;
    for (size_t k = 0; k < outcomes.size(); ++k) {
        if (outcomes[k].failure && isSilent(*outcomes[k].failure)) {
            silent << ports.at(int(k));
            silentAt.push_back(k);
        }
    }
    const int withoutRadio = int(outcomes.size()) - radiosFound();
    if (!silent.isEmpty() && !Interrupt::requested() && !missingRadios(choice, radiosFound(), withoutRadio).isEmpty()
        && waitForDeafRadios(silent)) {
        const std::vector<PortOutcome> again = onePass(silent, fileWord, job);
        for (size_t k = 0; k < again.size(); ++k) {
            if (again[k].done || again[k].failure)
                outcomes[silentAt[k]] = again[k];
        }
    }

    std::vector<RadioDone> radios;
    QVector<RadioConnection::PortFailure> notFound;
    for (const PortOutcome &outcome : outcomes) {
        if (outcome.done)
            radios.push_back(*outcome.done);
        else if (outcome.failure)
            notFound.append(*outcome.failure);
    }
    const QString missing = Interrupt::requested() ? QString() : missingRadios(choice, int(radios.size()), notFound.size());
    // Only where it is said: the reasons may open the ports again.
    const QVector<PortWithoutRadio> withoutRadioReasons =
        (radios.empty() && !Interrupt::requested()) || !missing.isEmpty() || JsonOutput::enabled()
        ? whyNoRadio(notFound, silent)
        : QVector<PortWithoutRadio>();
    for (const PortWithoutRadio &port : withoutRadioReasons) {
        QJsonObject object;
        object.insert(JsonKey::port, port.port);
        object.insert(JsonKey::problem, port.reason);
        runs.noRadio.append(object);
    }
    if (radios.empty()) {
        if (Interrupt::requested()) {
            Console::fail(QStringLiteral("%1 while looking for radios; nothing was done.").arg(Interrupt::what()));
            runs.exitCode = Interrupt::exitCode();
        } else {
            reportNoRadio(ports.size(), withoutRadioReasons);
            runs.exitCode = ExitCode::cannotUse;
        }
        return runs;
    }

    QVector<QStringList> table{{QStringLiteral("PORT"), QStringLiteral("MODEL"), QStringLiteral("RESULT"), fileWord.toUpper()}};
    for (const RadioDone &radio : radios) {
        table.append({QuotedText::escaped(radio.port), radio.model, radio.run.verdict.result, radio.run.file});
        runs.radios.append(radio.json);
        runs.exitCode = std::max(runs.exitCode, radio.run.verdict.exitCode);
    }
    Console::out(QString());
    sayTable(table);
    Console::out(countOfResults(radios));
    if (!missing.isEmpty()) {
        Console::fail(QStringLiteral("%1:").arg(missing));
        for (const PortWithoutRadio &port : withoutRadioReasons)
            Console::err(QStringLiteral("  no radio on %1: %2").arg(QuotedText::shown(port.port), port.reason));
        runs.exitCode = std::max(runs.exitCode, int(ExitCode::cannotUse));
    } else if (!notFound.isEmpty()) {
        QStringList names;
        for (const RadioConnection::PortFailure &failure : notFound)
            names << QuotedText::shown(failure.port);
        Console::err(QStringLiteral("no radio on %1; \"vkrtool ports\" tells more about each port.")
                         .arg(names.join(QStringLiteral(", "))));
    }
    if (Interrupt::requested())
        runs.exitCode = std::max(runs.exitCode, Interrupt::exitCode());
    return runs;
}

} // namespace

QJsonObject radioKeys(const RadioConnection &radio, const RadioVerdict &verdict)
{
    QJsonObject object;
    object.insert(JsonKey::port, radio.portName());
    object.insert(JsonKey::model, radio.modelLabel());
    object.insert(JsonKey::channelCount, radio.channelCount());
    object.insert(JsonKey::outcome, verdict.outcome);
    object.insert(JsonKey::message, verdict.sentence);
    object.insert(JsonKey::exitCode, verdict.exitCode);
    return object;
}

RadioRuns runRadioJob(const Commands::RadioChoice &choice, const QString &fileWord, const RadioJob &job)
{
    return choice.all ? onEveryRadio(choice, fileWord, job) : onOneRadio(choice.port, job);
}

void printRunDocument(QJsonObject top, const RadioRuns &runs, bool all)
{
    if (!JsonOutput::enabled() || (runs.radios.isEmpty() && !all))
        return;
    if (!all) {
        JsonOutput::print(JsonOutput::merged(top, runs.radios.first().toObject()));
        return;
    }
    top.insert(JsonKey::radios, runs.radios);
    top.insert(JsonKey::noRadio, runs.noRadio);
    if (runs.radios.isEmpty())
        top.insert(JsonKey::error, Console::firstFailure());
    JsonOutput::print(top);
}
