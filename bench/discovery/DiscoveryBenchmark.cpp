// Time of a scan that finds the radio on the Nth port, against the floor the
// protocol sets for that scan in the same run: the waits it mandates (400 ms
// on each silent port before the radio's, 3000 ms and 2000 ms of quiet time
// after the radio's two answers) plus the wire time, at 9600 baud, of every
// byte that crossed the line. The virtual radio paces each byte at that
// rate in both directions, as a real line would.
//
// usage: bench-discovery [runs]
#include "LinkConstants.h"
#include "MainWindow.h"
#include "RadioProtocol.h"
#include "SerialPorts.h"
#include "TestEnvironment.h"
#include "VirtualRadio.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

namespace {

struct Scan {
    double measured; // ms
    double floor;    // ms
};

void setPortList(const QStringList &names)
{
    qputenv(Link::portListVariable, names.join(QDir::listSeparator()).toLocal8Bit());
}

Scan scanOnce(int radioPosition)
{
    std::vector<std::unique_ptr<VirtualRadio>> radios;
    QStringList names;
    for (int i = 1; i <= radioPosition; ++i) {
        RadioSettings settings;
        settings.faults.pace = true;
        settings.faults.silent = i < radioPosition;
        radios.push_back(std::make_unique<VirtualRadio>(settings));
        names.append(radios.back()->portName());
    }

    // The window's own first scan runs on an empty port list; the timed scan
    // is the next one.
    setPortList({});
    MainWindow window;
    window.show();
    auto *label = window.findChild<QLabel *>(QStringLiteral("VKRInfo"));
    while (label->styleSheet().isEmpty())
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    setPortList(names);

    QElapsedTimer clock;
    clock.start();
    QMetaObject::invokeMethod(&window, "searchVKR", Qt::DirectConnection);
    const double measured = clock.nsecsElapsed() / 1e6;
    if (label->text() != QLatin1String("VKR627A")) {
        QTextStream(stderr) << "bench-discovery: radio not found: " << label->text() << "\n";
        std::exit(1);
    }

    const VirtualRadio &radio = *radios.back();
    const int wireBytes = radio.received().size() + radio.sent().size();
    const double byteTime = std::chrono::duration<double, std::milli>(RadioProtocol::byteTime).count();
    const double floor = (radioPosition - 1) * Link::pingFirstByteTimeout + Link::pingQuietTime
        + Link::identifyQuietTime + wireBytes * byteTime;
    return {measured, floor};
}

} // namespace

int main(int argc, char *argv[])
{
    TestEnvironment environment; // headless, settings in a temporary folder
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString(argv[1]).toInt()) : 3;

    QTextStream out(stdout);
    out << "scan finding the radio on port N, " << runs << " runs each; floor = mandated waits + wire time"
        << " at 9600 baud\n";
    double worst = 0;
    for (int position : {1, 4}) {
        std::vector<Scan> scans;
        for (int k = 0; k < runs; ++k)
            scans.push_back(scanOnce(position));
        std::sort(scans.begin(), scans.end(), [](const Scan &a, const Scan &b) { return a.measured < b.measured; });
        const Scan median = scans[scans.size() / 2];
        const double ratio = median.measured / median.floor;
        worst = std::max(worst, ratio);
        out << "  N = " << position << ":  measured " << QString::number(median.measured, 'f', 1) << " ms,  floor "
            << QString::number(median.floor, 'f', 1) << " ms,  ratio " << QString::number(ratio, 'f', 4)
            << "  (overhead " << QString::number(median.measured - median.floor, 'f', 1) << " ms)\n";
        out.flush();
    }
    out << "  worst ratio: " << QString::number(worst, 'f', 4) << " (target at most 1.03)\n";
    return 0;
}
