// vkr-soak: many cycles of reads and writes, through vkrtool and through the
// window (headless), each under a random fault of a virtual radio on a real
// pseudo-terminal, judged from the radio's own memory. Run through
// scripts/soak.sh.
//
// usage: vkr-soak <cycles> [--seed S] [--jobs J]     all cycles, J workers
//        vkr-soak --cycle N --seed S                one cycle again, alone
//        vkr-soak --worker FIRST:STEP:COUNT --seed S (internal)
#include "SoakCycle.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QDateTime>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>
#include <QVector>

#include <cstdio>
#include <memory>

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QString argumentAfter(const QStringList &arguments, const QString &option, const QString &fallback)
{
    const int at = arguments.indexOf(option);
    return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : fallback;
}

// One line per cycle, for the parent to count: the cycle, its fault kind,
// and three verdicts.
QString resultLine(const Soak::Cycle &cycle, const Soak::Outcome &outcome)
{
    return QStringLiteral("cycle %1 fault %2 reported %3 false %4 unrestorable %5 | %6: %7%8")
        .arg(cycle.number)
        .arg(int(cycle.fault))
        .arg(outcome.reportedSuccess ? 1 : 0)
        .arg(outcome.falseSuccess() ? 1 : 0)
        .arg(outcome.restorable ? 0 : 1)
        .arg(cycle.describe(), outcome.reportedSuccess ? QStringLiteral("success") : QStringLiteral("failure reported"),
             outcome.note.isEmpty() ? QString() : QStringLiteral("; ") + outcome.note);
}

int runCycles(int first, int step, int count, quint32 seed)
{
    const QString vkrtool = QStringLiteral(VKRTOOL_PATH);
    for (int number = first; number < count; number += step) {
        const Soak::Cycle cycle = Soak::plan(number, seed);
        out() << resultLine(cycle, Soak::runCycle(cycle, vkrtool)) << Qt::endl;
    }
    return 0;
}

struct Tally {
    int cycles = 0; // every report not a false success is a correct one
    int falseSuccesses = 0;
    int unrestorable = 0;
};

int runAll(int cycles, quint32 seed, int jobs, const QString &self)
{
    out() << "soak: " << cycles << " cycles, seed " << seed << ", " << jobs << " workers" << Qt::endl;
    QMap<int, Tally> tallies;
    const QRegularExpression line(QStringLiteral("^cycle (\\d+) fault (\\d+) reported \\d false (\\d) unrestorable (\\d)"));
    const auto take = [&](const QString &text) {
        const QRegularExpressionMatch match = line.match(text);
        if (!match.hasMatch())
            return;
        Tally &tally = tallies[match.captured(2).toInt()];
        const bool falseSuccess = match.captured(3) == QLatin1String("1");
        const bool unrestorable = match.captured(4) == QLatin1String("1");
        ++tally.cycles;
        tally.falseSuccesses += falseSuccess ? 1 : 0;
        tally.unrestorable += unrestorable ? 1 : 0;
        // Every cycle that went wrong is marked, with the command that runs it again.
        out() << (falseSuccess || unrestorable ? "  FAILED " : "  ") << text.mid(text.indexOf('|') + 2);
        if (falseSuccess || unrestorable)
            out() << "  (replay: vkr-soak --cycle " << match.captured(1) << " --seed " << seed << ")";
        out() << Qt::endl;
    };

    // Lines are taken from every worker as they come, so that progress shows.
    std::vector<std::unique_ptr<QProcess>> workers;
    int running = jobs;
    for (int job = 0; job < jobs; ++job) {
        auto worker = std::make_unique<QProcess>();
        QProcess *process = worker.get();
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QObject::connect(process, &QProcess::readyReadStandardOutput, [process, &take] {
            while (process->canReadLine())
                take(QString::fromUtf8(process->readLine()).trimmed());
        });
        QObject::connect(process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), [&running] {
            if (--running == 0)
                QCoreApplication::quit();
        });
        process->start(self, {"--worker", QStringLiteral("%1:%2:%3").arg(job).arg(jobs).arg(cycles), "--seed",
                              QString::number(seed)});
        workers.push_back(std::move(worker));
    }
    QCoreApplication::exec();

    Tally total;
    out() << QStringLiteral("  %1 %2 %3 %4 %5").arg(QStringLiteral("fault"), -31).arg("cycles", 7).arg("correct", 8)
                 .arg("false", 6).arg("unrestorable", 13)
          << Qt::endl;
    const QStringList names = Soak::faultNames();
    for (int fault = 0; fault < Soak::faultCount; ++fault) {
        const Tally t = tallies.value(fault);
        out() << QStringLiteral("  %1 %2 %3 %4 %5").arg(names.at(fault), -31).arg(t.cycles, 7).arg(t.cycles - t.falseSuccesses, 8)
                     .arg(t.falseSuccesses, 6).arg(t.unrestorable, 13)
              << Qt::endl;
        total.cycles += t.cycles;
        total.falseSuccesses += t.falseSuccesses;
        total.unrestorable += t.unrestorable;
    }
    const bool allRan = total.cycles == cycles;
    if (!allRan)
        out() << "soak: only " << total.cycles << " of " << cycles << " cycles reported back" << Qt::endl;
    out() << "soak: " << total.cycles << " cycles, " << total.falseSuccesses << " false successes, " << total.unrestorable
          << " unrestorable" << Qt::endl;
    return allRan && total.falseSuccesses == 0 && total.unrestorable == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    TestEnvironment environment; // headless window, settings in a temporary folder
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const quint32 seed = argumentAfter(arguments, QStringLiteral("--seed"),
                                       QString::number(QDateTime::currentMSecsSinceEpoch() % 1000000))
                             .toUInt();
    const QString worker = argumentAfter(arguments, QStringLiteral("--worker"), QString());
    if (!worker.isEmpty()) {
        const QStringList parts = worker.split(QLatin1Char(':'));
        return runCycles(parts.value(0).toInt(), qMax(1, parts.value(1).toInt()), parts.value(2).toInt(), seed);
    }
    const QString single = argumentAfter(arguments, QStringLiteral("--cycle"), QString());
    if (!single.isEmpty())
        return runCycles(single.toInt(), 1, single.toInt() + 1, seed);

    const int cycles = arguments.value(1).toInt();
    if (cycles <= 0) {
        std::fputs("usage: vkr-soak <cycles> [--seed S] [--jobs J]\n", stderr);
        return 2;
    }
    const int jobs = qBound(1, argumentAfter(arguments, QStringLiteral("--jobs"), QStringLiteral("4")).toInt(), cycles);
    return runAll(cycles, seed, jobs, QApplication::applicationFilePath());
}
