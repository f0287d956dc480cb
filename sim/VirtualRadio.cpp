#include "VirtualRadio.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <pty.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace {

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

void closeDescriptor(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

bool setFlags(int fd, int statusFlags)
{
    const int status = ::fcntl(fd, F_GETFL);
    return status >= 0 && ::fcntl(fd, F_SETFL, status | statusFlags) == 0
        && ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

timespec timeUntil(RadioProtocol::TimePoint when)
{
    const auto left = std::max(when - RadioProtocol::Clock::now(), RadioProtocol::Clock::duration::zero());
    const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    timespec result;
    result.tv_sec = static_cast<time_t>(nanoseconds / 1'000'000'000);
    result.tv_nsec = static_cast<long>(nanoseconds % 1'000'000'000);
    return result;
}

QByteArray bytesOf(const std::vector<RadioProtocol::LoggedByte> &log)
{
    QByteArray bytes;
    bytes.reserve(int(log.size()));
    for (const RadioProtocol::LoggedByte &byte : log)
        bytes.append(static_cast<char>(byte.value));
    return bytes;
}

} // namespace

VirtualRadio::VirtualRadio(const RadioSettings &settings)
    : protocol(settings)
{
    if (::openpty(&masterFd, &slaveFd, nullptr, nullptr, nullptr) != 0) {
        error = systemError("openpty");
        return;
    }
    char path[128];
    termios terminal;
    int pipeFds[2];
    if (::ptsname_r(masterFd, path, sizeof path) != 0) {
        error = systemError("ptsname");
    } else if (::tcgetattr(slaveFd, &terminal) != 0) {
        error = systemError("tcgetattr");
    } else {
        ::cfmakeraw(&terminal);
        ::cfsetispeed(&terminal, B9600);
        ::cfsetospeed(&terminal, B9600);
        if (::tcsetattr(slaveFd, TCSANOW, &terminal) != 0)
            error = systemError("tcsetattr");
        else if (!setFlags(masterFd, O_NONBLOCK) || !setFlags(slaveFd, 0))
            error = systemError("fcntl");
        else if (::pipe2(pipeFds, O_NONBLOCK | O_CLOEXEC) != 0)
            error = systemError("pipe");
    }
    if (!error.isEmpty()) {
        closeTerminal();
        closeDescriptor(slaveFd);
        return;
    }
    wakeReadFd = pipeFds[0];
    wakeWriteFd = pipeFds[1];
    slavePath = QString::fromLocal8Bit(path);
    serving = true;
    server = std::thread(&VirtualRadio::serve, this);
}

VirtualRadio::~VirtualRadio()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopRequested = true;
    }
    wake();
    if (server.joinable())
        server.join();
    closeTerminal();
    closeDescriptor(slaveFd);
    closeDescriptor(wakeReadFd);
    closeDescriptor(wakeWriteFd);
}

bool VirtualRadio::isServing() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return serving;
}

QString VirtualRadio::whyNotServing() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return error;
}

QString VirtualRadio::portName() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return slavePath;
}

RadioSettings VirtualRadio::settings() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return protocol.settings();
}

void VirtualRadio::setSettings(const RadioSettings &settings)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        protocol.setSettings(settings);
    }
    wake();
}

RadioMemory VirtualRadio::memory() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return protocol.memory();
}

void VirtualRadio::setMemory(const RadioMemory &memory)
{
    std::lock_guard<std::mutex> lock(mutex);
    const int channelCount = protocol.memory().channelCount();
    protocol.memory() = memory;
    protocol.memory().resize(channelCount);
}

void VirtualRadio::setChannel(int index, const QString &name, const QString &frequency)
{
    std::lock_guard<std::mutex> lock(mutex);
    protocol.memory().setChannel(index, {name, Frequency::fromText(frequency)});
}

void VirtualRadio::setFrame(int index, const QByteArray &frame)
{
    std::lock_guard<std::mutex> lock(mutex);
    protocol.memory().setRawFrame(index, frame);
}

int VirtualRadio::completedWrites() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return protocol.completedWrites();
}

std::vector<VirtualRadio::LoggedByte> VirtualRadio::receivedLog() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return protocol.receivedLog();
}

QByteArray VirtualRadio::received() const
{
    return bytesOf(receivedLog());
}

std::vector<VirtualRadio::LoggedByte> VirtualRadio::sentLog() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return protocol.sentLog();
}

QByteArray VirtualRadio::sent() const
{
    return bytesOf(sentLog());
}

void VirtualRadio::clearLogs()
{
    std::lock_guard<std::mutex> lock(mutex);
    protocol.clearLogs();
}

void VirtualRadio::transmit(const QByteArray &bytes, std::chrono::milliseconds delay)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        protocol.sendAt(bytes, RadioProtocol::Clock::now() + delay);
    }
    wake();
}

void VirtualRadio::unplug()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        unplugRequested = true;
    }
    wake();
}

void VirtualRadio::wake()
{
    if (wakeWriteFd >= 0) {
        const char byte = 1;
        // A full pipe already holds a wake-up; nothing is lost.
        [[maybe_unused]] const ssize_t written = ::write(wakeWriteFd, &byte, 1);
    }
}

// Closes the radio's end of the terminal; the host's open port hangs up
// and the port's name goes. The serial end kept open here holds on to the
// terminal's number until this radio goes, so that no other terminal takes
// the name meanwhile: a program watching for its port to come back must
// not find another test's radio under it.
void VirtualRadio::closeTerminal()
{
    closeDescriptor(masterFd);
    serving = false;
}

void VirtualRadio::serve()
{
#ifdef __linux__
    // Wake at the byte times asked for, not up to 50 us later, so the pace
    // of a 9600-baud line is kept closely.
    ::prctl(PR_SET_TIMERSLACK, 1UL);
#endif
    QByteArray unwritten; // due bytes the terminal did not take yet
    while (true) {
        std::optional<RadioProtocol::TimePoint> nextEvent;
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (stopRequested)
                return;
            if (unplugRequested) {
                closeTerminal();
                return;
            }
            const auto now = RadioProtocol::Clock::now();
            protocol.advance(now);
            unwritten.append(protocol.takeDueOutput(now));
            if (!unwritten.isEmpty()) {
                const ssize_t written = ::write(masterFd, unwritten.constData(), static_cast<size_t>(unwritten.size()));
                if (written > 0)
                    unwritten.remove(0, static_cast<int>(written));
                else if (written < 0 && errno != EAGAIN && errno != EINTR) {
                    closeTerminal();
                    return;
                }
            }
            if (unwritten.isEmpty() && protocol.unplugDue(now)) {
                closeTerminal();
                return;
            }
            nextEvent = protocol.nextEvent();
        }

        pollfd fds[2] = {
            {masterFd, static_cast<short>(POLLIN | (unwritten.isEmpty() ? 0 : POLLOUT)), 0},
            {wakeReadFd, POLLIN, 0},
        };
        timespec timeout{};
        if (nextEvent)
            timeout = timeUntil(*nextEvent);
        if (::ppoll(fds, 2, nextEvent ? &timeout : nullptr, nullptr) < 0 && errno != EINTR)
            return;

        if (fds[1].revents & POLLIN) {
            char drain[64];
            while (::read(wakeReadFd, drain, sizeof drain) > 0) {
            }
        }
        if (fds[0].revents & POLLIN) {
            char bytes[4096];
            const ssize_t count = ::read(masterFd, bytes, sizeof bytes);
            std::lock_guard<std::mutex> lock(mutex);
            if (count > 0) {
                const auto now = RadioProtocol::Clock::now();
                for (ssize_t i = 0; i < count; ++i)
                    protocol.receive(bytes[i], now);
            } else if (count < 0 && errno != EAGAIN && errno != EINTR) {
                closeTerminal();
                return;
            }
        } else if (fds[0].revents & (POLLERR | POLLNVAL)) {
            std::lock_guard<std::mutex> lock(mutex);
            closeTerminal();
            return;
        }
    }
}
