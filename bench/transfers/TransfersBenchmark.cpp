// A full read and a full write of a 100-channel radio from the window, each
// against the floor the protocol sets for it in the same run: the waits it
// mandates plus the wire time, at 9600 baud, of every byte the host must see
// cross the line. The virtual radio paces each byte at that rate in both
// directions, as a real line would.
//
//   read:  200 ms of quiet after each of the 100 frames, and the final wait
//          of 1000 ms after the last one; the command, frames and
//          acknowledgements on the wire.
//   write: the read that backs up what the radio holds at that moment
//          (a radio on the same cable may have been swapped since the last
//          read), with the read's waits; the command, frames,
//          acknowledgements and closing 04 on the wire (each
//          acknowledgement ends its wait), the 200 ms the line is left to
//          fall quiet, then the read that checks the radio holds what was
//          sent, with the read's waits.
//
// While each transfer runs, a timer of the window's event loop measures how
// late it comes: the longest stall of the window, which must stay short for
// the window to go on painting and answering the desktop.
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
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

const double byteTime = std::chrono::duration<double, std::milli>(RadioProtocol::byteTime).count();

constexpr int tickInterval = 5; // ms

// Runs a transfer slot until the transfer ends (its Cancel button goes) and
// measures it against the floor given by its mandated waits and the bytes
// that crossed the line meanwhile. `stall` grows to the longest time the
// event loop did not turn.
FloorRun measure(MainWindow &window, VirtualRadio &radio, const char *slot, const char *finished, double waits,
                 double &stall)
{
    radio.clearLogs();
    auto *cancel = window.findChild<QPushButton *>(QStringLiteral("cancelButton"));
    QElapsedTimer sinceTick;
    QTimer ticks;
    ticks.setInterval(tickInterval);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        stall = std::max(stall, sinceTick.nsecsElapsed() / 1e6 - tickInterval);
        sinceTick.start();
    });
    QElapsedTimer clock;
    clock.start();
    QMetaObject::invokeMethod(&window, slot, Qt::DirectConnection);
    sinceTick.start();
    ticks.start();
    while (cancel->isVisible())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double measured = clock.nsecsElapsed() / 1e6;
    ticks.stop();
    // A read says so in a message; a write in the line that stays after it.
    const QString message = window.findChild<QStatusBar *>(QStringLiteral("statusBar"))->currentMessage();
    const QString state = window.findChild<QLabel *>(QStringLiteral("radioStateLabel"))->text();
    if (message != QLatin1String(finished) && !state.startsWith(QLatin1String(finished))) {
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
    auto *autoButton = window.findChild<QPushButton *>(QStringLiteral("autoButton"));
    while (label->text() != QLatin1String("VKR627A")) {
        // A scan that ended (Auto works again) without the radio.
        if (label->styleSheet().contains(QLatin1String("red")) && autoButton->isEnabled()) {
            QTextStream(stderr) << "bench-transfers: the virtual radio was not found\n";
            return 1;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    const double readWaits = 100.0 * Link::readQuietTime + Link::readFrameTimeout;
    std::vector<FloorRun> reads, writes;
    double readStall = 0;
    double writeStall = 0;
    for (int k = 0; k < runs; ++k) {
        reads.push_back(measure(window, radio, "loadFreqsFromVkr", "Read finished", readWaits, readStall));
        writes.push_back(measure(window, radio, "saveFreqsToVkr", "Written and verified:",
                                 readWaits + Link::settleQuietTime + readWaits, writeStall));
    }

    QTextStream out(stdout);
    out << "100-channel transfers at 9600 baud, median of " << runs
        << " run(s); floor = mandated waits + wire time\n";
    printFloorRatios(out, {{"read ", reads}}, "1.01");
    printFloorRatios(out, {{"write", writes}}, "1.02");
    out << "  longest stall of the window's event loop: read " << QString::number(readStall, 'f', 1) << " ms, write "
        << QString::number(writeStall, 'f', 1) << " ms (target at most 100 ms)\n";
    return 0;
}
