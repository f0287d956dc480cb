// vkr-radio-sim: a virtual VKR627-series radio for trying the program
// without a radio. Prints the path of its serial port, then serves it until
// stopped; its memory can come from, and go back to, a channel CSV file.
#include "MemoryFile.h"
#include "RadioCommandLine.h"
#include "VirtualRadio.h"

#include <QCoreApplication>

#include <chrono>
#include <csignal>
#include <cstdio>

#include <pthread.h>

namespace {

// Prints the bytes logged since the last call, one line per direction and
// burst, with the time since the radio started.
class ByteLogPrinter
{
public:
    explicit ByteLogPrinter(const VirtualRadio &radio)
        : radio(radio)
        , start(RadioProtocol::Clock::now())
    {
    }

    void printNew()
    {
        print(radio.receivedLog(), heardPrinted, "host -> radio");
        print(radio.sentLog(), sentPrinted, "radio -> host");
    }

private:
    void print(const std::vector<VirtualRadio::LoggedByte> &log, size_t &printed, const char *direction)
    {
        if (printed >= log.size())
            return;
        const double milliseconds = std::chrono::duration<double, std::milli>(log[printed].at - start).count();
        std::fprintf(stderr, "%10.3f ms  %s ", milliseconds, direction);
        for (; printed < log.size(); ++printed)
            std::fprintf(stderr, " %02X", log[printed].value);
        std::fputc('\n', stderr);
    }

    const VirtualRadio &radio;
    const RadioProtocol::TimePoint start;
    size_t heardPrinted = 0;
    size_t sentPrinted = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    // The stop signals are taken by sigtimedwait in this thread. Blocking
    // them before the radio's thread starts keeps them away from it.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    QCoreApplication application(argc, argv);
    RadioCommandLine options;
    QString error;
    if (!parseRadioCommandLine(QCoreApplication::arguments(), options, error)) {
        std::fprintf(stderr, "vkr-radio-sim: %s\n", qPrintable(error));
        return 2;
    }
    if (options.helpRequested) {
        std::fputs(qPrintable(options.helpText), stdout);
        return 0;
    }

    VirtualRadio radio(options.settings);
    if (!radio.isServing()) {
        std::fprintf(stderr, "vkr-radio-sim: no pseudo-terminal: %s\n", qPrintable(radio.whyNotServing()));
        return 1;
    }
    if (!options.loadMemoryFile.isEmpty()) {
        RadioMemory memory = radio.memory();
        if (!MemoryFile::load(options.loadMemoryFile, memory)) {
            std::fprintf(stderr, "vkr-radio-sim: cannot read %s\n", qPrintable(options.loadMemoryFile));
            return 1;
        }
        radio.setMemory(memory);
    }
    for (const PresetChannel &channel : options.channels)
        radio.setChannel(channel.index, channel.name, channel.frequency);

    std::printf("%s\n", qPrintable(radio.portName()));
    std::fflush(stdout);

    ByteLogPrinter printer(radio);
    const timespec tick{0, 100'000'000};
    while (true) {
        const int signal = sigtimedwait(&stopSignals, nullptr, &tick);
        if (options.verbose)
            printer.printNew();
        if (signal > 0)
            break;
        if (!radio.isServing()) {
            std::fprintf(stderr, "vkr-radio-sim: the terminal was closed (unplugged)\n");
            break;
        }
    }

    if (!options.dumpMemoryFile.isEmpty() && !MemoryFile::save(options.dumpMemoryFile, radio.memory())) {
        std::fprintf(stderr, "vkr-radio-sim: cannot write %s\n", qPrintable(options.dumpMemoryFile));
        return 1;
    }
    return 0;
}
