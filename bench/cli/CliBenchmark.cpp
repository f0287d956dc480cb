// vkrtool against a paced 100-channel virtual radio, each run against the
// floor the protocol sets for it in the same run: the mandated waits plus
// the wire time, at 9600 baud, of every byte that crossed the line. The
// tool finds the radio first, so each floor includes the probe's quiet
// times.
//
//   read:   probe (3000 + 2000 ms of quiet), 200 ms of quiet after each of
//           the 100 frames and the final wait of 1000 ms; every byte.
//   write:  probe; no wait of its own (each acknowledgement ends its wait);
//           every byte but the closing 04, which the tool hands over and is
//           done.
//
// Then the safe write of 100 channels (backup, write, read-back) with
// --all to 1, 3 and 6 such radios, against the write to one radio in the
// same run: many radios take about as long as one (target: 6 radios at
// most 1.2 times one).
//
// usage: bench-cli [runs]
#include "BenchRadio.h"
#include "FloorRatio.h"
#include "LinkConstants.h"
#include "RadioProtocol.h"
#include "VirtualRadio.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

const double byteTime = std::chrono::duration<double, std::milli>(RadioProtocol::byteTime).count();
constexpr double probeWaits = Link::pingQuietTime + Link::identifyQuietTime;

// The time of one vkrtool run that must succeed, in ms.
double timeOf(const QStringList &arguments)
{
    QProcess tool;
    QElapsedTimer clock;
    clock.start();
    tool.start(QStringLiteral(VKRTOOL_PATH), arguments);
    if (!tool.waitForFinished(300000) || tool.exitCode() != 0) {
        QTextStream(stderr) << "bench-cli: vkrtool " << arguments.join(' ') << " failed: "
                            << tool.readAllStandardError() << "\n";
        std::exit(1);
    }
    return clock.nsecsElapsed() / 1e6;
}

FloorRun measure(VirtualRadio &radio, const QStringList &arguments, double waits, int bytesLeftOut)
{
    radio.clearLogs();
    const double measured = timeOf(arguments);
    const int wireBytes = radio.received().size() + radio.sent().size() - bytesLeftOut;
    return {measured, probeWaits + waits + wireBytes * byteTime};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString(argv[1]).toInt()) : 1;

    const std::unique_ptr<VirtualRadio> pacedRadio = pacedFullRadio();
    VirtualRadio &radio = *pacedRadio;
    QTemporaryDir folder;
    qputenv("XDG_DATA_HOME", folder.path().toLocal8Bit());
    const QString file = folder.filePath(QStringLiteral("memory.csv"));

    std::vector<FloorRun> reads, writes;
    for (int k = 0; k < runs; ++k) {
        reads.push_back(measure(radio, {"read", "-o", file}, 100.0 * Link::readQuietTime + Link::readFrameTimeout, 0));
        // --force: without it, a write that makes no backup still reads the
        // memory, to refuse one that would empty most of it.
        writes.push_back(
            measure(radio, {"write", file, "--no-backup", "--no-verify", "--force"}, 0, Link::eotByte.size()));
    }

    QTextStream out(stdout);
    out << "vkrtool with a 100-channel radio at 9600 baud, median of " << runs
        << " run(s); floor = probe and transfer waits + wire time\n";
    printFloorRatios(out, {{"read ", reads}, {"write", writes}}, "1.02");
    out.flush();

    // Six radios, each the only one on its port; the first N are scanned.
    std::vector<std::unique_ptr<VirtualRadio>> radios;
    for (int k = 0; k < 6; ++k)
        radios.push_back(pacedFullRadio());
    const QString list = folder.filePath(QStringLiteral("club.csv"));
    QFile club(list);
    if (!club.open(QIODevice::WriteOnly))
        return 1;
    for (int row = 0; row < 100; ++row)
        club.write(QStringLiteral("CLUB %1;%2.%3\r\n").arg(row).arg(118 + row % 19).arg(row % 4 * 25 + 5, 3, 10, QLatin1Char('0')).toUtf8());
    club.close();
    const std::vector<int> counts{1, 3, 6};
    std::vector<std::vector<double>> times(counts.size());
    for (int k = 0; k < runs; ++k) {
        for (size_t c = 0; c < counts.size(); ++c) {
            QStringList ports;
            for (int r = 0; r < counts[c]; ++r)
                ports << radios[size_t(r)]->portName();
            qputenv(Link::portListVariable, ports.join(QLatin1Char(':')).toLocal8Bit());
            times[c].push_back(timeOf({"write", list, "--all"}));
        }
    }
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    const double one = median(times[0]);
    out << "vkrtool write --all (backup, write, read-back of 100 channels) to 1, 3 and 6 radios, median of " << runs
        << " run(s), against 1 radio\n";
    double worst = 0;
    for (size_t c = 0; c < counts.size(); ++c) {
        const double ratio = median(times[c]) / one;
        worst = std::max(worst, ratio);
        out << "  " << counts[c] << " radio(s):  " << QString::number(median(times[c]), 'f', 1) << " ms,  ratio "
            << QString::number(ratio, 'f', 4) << "\n";
    }
    out << "  worst ratio: " << QString::number(worst, 'f', 4) << " (target at most 1.2)\n";
    return 0;
}
