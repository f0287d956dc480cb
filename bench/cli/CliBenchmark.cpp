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
// usage: bench-cli [runs]
#include "BenchRadio.h"
#include "FloorRatio.h"
#include "LinkConstants.h"
#include "RadioProtocol.h"
#include "VirtualRadio.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace {

const double byteTime = std::chrono::duration<double, std::milli>(RadioProtocol::byteTime).count();
constexpr double probeWaits = Link::pingQuietTime + Link::identifyQuietTime;

FloorRun measure(VirtualRadio &radio, const QStringList &arguments, double waits, int bytesLeftOut)
{
    radio.clearLogs();
    QProcess tool;
    QElapsedTimer clock;
    clock.start();
    tool.start(QStringLiteral(VKRTOOL_PATH), arguments);
    if (!tool.waitForFinished(120000) || tool.exitCode() != 0) {
        QTextStream(stderr) << "bench-cli: vkrtool " << arguments.join(' ') << " failed: "
                            << tool.readAllStandardError() << "\n";
        std::exit(1);
    }
    const double measured = clock.nsecsElapsed() / 1e6;
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
    return 0;
}
