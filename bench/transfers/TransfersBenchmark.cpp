// A full read and a full write of a 100-channel radio, each against the
// floor the protocol sets for it in the same run: the waits it mandates
// plus the wire time, at 9600 baud, of every byte the host must see cross
// the line. The virtual radio paces each byte at that rate in both
// directions, as a real line would.
//
//   read:  200 ms of quiet after each of the 100 frames, and the final wait
//          of 1000 ms after the last one; the command, frames and
//          acknowledgements on the wire.
//   write: the command, frames, acknowledgements and closing 04 on the
//          wire (each acknowledgement ends its wait), then the read that
//          checks the radio holds what was sent, with the read's waits.
//
// usage: bench-transfers [runs]
#include "BenchRadio.h"
#include "FloorRatio.h"
#include "LinkConstants.h"
#include "MainWindow.h"
#include "RadioProtocol.h"
#include "TestEnvironment.h"
#include "VirtualRadio.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

const double byteTime = std::chrono::duration<double, std::milli>(RadioProtocol::byteTime).count();

// Runs a transfer slot and measures it against the floor given by its
// mandated waits and the bytes that crossed the line meanwhile.
FloorRun measure(MainWindow &window, VirtualRadio &radio, const char *slot, const char *finished, double waits)
{
    radio.clearLogs();
    QElapsedTimer clock;
    clock.start();
    QMetaObject::invokeMethod(&window, slot, Qt::DirectConnection);
    const double measured = clock.nsecsElapsed() / 1e6;
    const QString message = window.findChild<QStatusBar *>(QStringLiteral("statusBar"))->currentMessage();
    if (message != QLatin1String(finished)) {
        QTextStream(stderr) << "bench-transfers: " << slot << " ended with: " << message << "\n";
        std::exit(1);
    }
    const int wireBytes = radio.received().size() + radio.sent().size();
    return {measured, waits + wireBytes * byteTime};
}

} // namespace

int main(int argc, char *argv[])
{
    TestEnvironment environment; // headless, settings in a temporary folder
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString(argv[1]).toInt()) : 1;

    const std::unique_ptr<VirtualRadio> pacedRadio = pacedFullRadio();
    VirtualRadio &radio = *pacedRadio;
    MainWindow window;
    window.show();
    auto *label = window.findChild<QLabel *>(QStringLiteral("VKRInfo"));
    while (label->text() != QLatin1String("VKR627A")) {
        if (!label->styleSheet().isEmpty() && label->styleSheet().contains(QLatin1String("red"))) {
            QTextStream(stderr) << "bench-transfers: the virtual radio was not found\n";
            return 1;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    const double readWaits = 100.0 * Link::readQuietTime + Link::readFrameTimeout;
    std::vector<FloorRun> reads, writes;
    for (int k = 0; k < runs; ++k) {
        reads.push_back(measure(window, radio, "loadFreqsFromVkr", "Read finished", readWaits));
        writes.push_back(measure(window, radio, "saveFreqsToVkr", "Write finished", readWaits));
    }

    QTextStream out(stdout);
    out << "100-channel transfers at 9600 baud, median of " << runs
        << " run(s); floor = mandated waits + wire time\n";
    printFloorRatios(out, {{"read ", reads}, {"write", writes}}, "1.03");
    return 0;
}
