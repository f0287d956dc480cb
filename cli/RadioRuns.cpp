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
    const QString radio = QStringLiteral("%1 %2: ").arg(done.port, done.model);
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

RadioRuns onEveryRadio(const QString &fileWord, const RadioJob &job)
{
    RadioRuns runs;
    QStringList ports = Link::serialPortNames();
    ports.removeDuplicates(); // one port, one thread: two would fight over it
    if (ports.isEmpty()) {
        Console::fail(Link::noPortsAdvice() + QLatin1Char('.'));
        runs.exitCode = ExitCode::cannotUse;
        return runs;
    }
    ProgressBoard board(ports.size());
    std::vector<std::optional<RadioDone>> done(size_t(ports.size()));
    std::vector<std::optional<RadioConnection::PortFailure>> failures(size_t(ports.size()));

    Session::PortJobs jobs;
    jobs.ports = ports;
    jobs.trace = TraceFile::current();
    jobs.stopRequested = Interrupt::requested;
    jobs.job = [&](int k, RadioConnection &radio) {
        Session::JobObserver observer =
            board.radioFound(k, QStringLiteral("%1 %2").arg(radio.portName(), radio.modelLabel()), radio.channelCount());
        observer.stopRequested = Interrupt::requested;
        done[size_t(k)] = runOn(radio, job, observer);
    };
    jobs.ended = [&](int k, const RadioConnection::Search &search) {
        board.portDone(k);
        if (done[size_t(k)]) {
            board.clear();
            sayAsItEnds(*done[size_t(k)], fileWord);
        } else if (!search.failures.isEmpty()) {
            failures[size_t(k)] = search.failures.first();
        }
        board.draw();
    };
    jobs.waiting = [&] { board.draw(); };
    Session::runOnEveryPort(jobs);
    board.clear();

    std::vector<RadioDone> radios;
    QVector<RadioConnection::PortFailure> notFound;
    for (size_t k = 0; k < done.size(); ++k) {
        if (done[k])
            radios.push_back(*done[k]);
        else if (failures[k])
            notFound.append(*failures[k]);
    }
    // Only where it is said: the reasons may open the ports again.
    const QVector<PortWithoutRadio> withoutRadio =
        (radios.empty() && !Interrupt::requested()) || JsonOutput::enabled() ? whyNoRadio(notFound)
                                                                              : QVector<PortWithoutRadio>();
    for (const PortWithoutRadio &port : withoutRadio) {
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
            reportNoRadio(ports.size(), withoutRadio);
            runs.exitCode = ExitCode::cannotUse;
        }
        return runs;
    }

    QVector<QStringList> table{{QStringLiteral("PORT"), QStringLiteral("MODEL"), QStringLiteral("RESULT"), fileWord.toUpper()}};
    for (const RadioDone &radio : radios) {
        table.append({radio.port, radio.model, radio.run.verdict.result, radio.run.file});
        runs.radios.append(radio.json);
        runs.exitCode = std::max(runs.exitCode, radio.run.verdict.exitCode);
    }
    Console::out(QString());
    sayTable(table);
    Console::out(countOfResults(radios));
    if (!notFound.isEmpty()) {
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

RadioRuns runRadioJob(const QString &port, bool all, const QString &fileWord, const RadioJob &job)
{
    return all ? onEveryRadio(fileWord, job) : onOneRadio(port, job);
}

void printRunDocument(QJsonObject top, const RadioRuns &runs, bool all)
{
    if (!JsonOutput::enabled() || runs.radios.isEmpty())
        return;
    if (!all) {
        JsonOutput::print(JsonOutput::merged(top, runs.radios.first().toObject()));
        return;
    }
    top.insert(JsonKey::radios, runs.radios);
    top.insert(JsonKey::noRadio, runs.noRadio);
    JsonOutput::print(top);
}
