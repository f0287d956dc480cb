#include "RadioSession.h"

#include "Console.h"
#include "ExitCodes.h"
#include "Interrupt.h"
#include "MemoryTransfer.h"
#include "PortProbe.h"
#include "Progress.h"
#include "RadioModels.h"
#include "SerialPorts.h"

bool RadioSession::connect(const QString &portOption)
{
    const QStringList ports = portOption.isEmpty() ? Link::serialPortNames() : QStringList{portOption};
    if (ports.isEmpty()) {
        Console::fail(QStringLiteral("no serial ports were found; run \"vkrtool ports\" to see why."));
        return false;
    }
    const Link::FoundRadio found = Link::scanForRadio(port, ports);
    if (!found.model) {
        const QString where = portOption.isEmpty()
            ? QStringLiteral("on any of the %1 serial ports").arg(ports.size())
            : QStringLiteral("on %1").arg(portOption);
        Console::fail(QStringLiteral("no radio answered %1; check that it is switched on and connected, "
                                     "and run \"vkrtool ports\" to see the ports and their problems.")
                          .arg(where));
        return false;
    }
    radioModel = found.model;
    foundOn = found.portName;
    return true;
}

int RadioSession::channelCount() const
{
    return radioModel->channelCount;
}

QString RadioSession::modelLabel() const
{
    return QLatin1String(radioModel->label);
}

namespace {

// "5 of 20 channels came, 1 of them cut short": what an incomplete read got.
QString describeIncompleteRead(const Link::ReadResult &result, int channelCount)
{
    QString text = QStringLiteral("%1 of %2 channels came").arg(result.received).arg(channelCount);
    if (result.shortFrames > 0)
        text += QStringLiteral(", %1 of them cut short").arg(result.shortFrames);
    return text;
}

} // namespace

std::optional<ChannelRecords> RadioSession::read(const QString &action, const ReadFailure &said, int &failure)
{
    MemoryTransfer::Read read;
    {
        Progress progress(action, channelCount());
        read = MemoryTransfer::read(port, channelCount(), [&progress](int row) { progress.show(row + 1); },
                                    Interrupt::requested);
    }
    if (read.result.stopped || Interrupt::requested()) {
        if (!said.interrupted.isEmpty())
            Console::fail(said.interrupted);
        failure = ExitCode::interrupted;
        return std::nullopt;
    }
    if (!read.isComplete()) {
        Console::fail(QStringLiteral("%1 is incomplete (%2)%3.")
                          .arg(said.readName, describeIncompleteRead(read.result, channelCount()), said.advice));
        failure = ExitCode::cannotUse;
        return std::nullopt;
    }
    return read.channels;
}

Link::WriteResult RadioSession::write(const ChannelRecords &channels)
{
    Progress progress(QStringLiteral("writing"), channelCount());
    return MemoryTransfer::write(
        port, channels, channelCount(), {}, [&progress](int row, Link::FrameAnswer) { progress.show(row + 1); },
        Interrupt::requested);
}
