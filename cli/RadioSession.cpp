#include "RadioSession.h"

#include "Console.h"
#include "Interrupt.h"
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

bool RadioSession::Read::complete() const
{
    return !result.stopped && result.isComplete(channels.size());
}

RadioSession::Read RadioSession::read(const QString &action)
{
    Read read;
    read.channels.resize(channelCount());
    Progress progress(action, channelCount());
    read.result = Link::readChannelMemory(
        port, channelCount(),
        [&](int row, const Link::ReceivedChannel &channel) {
            read.channels[row] = {channel.name, channel.frequency};
            progress.show(row + 1);
        },
        Interrupt::requested);
    return read;
}

Link::WriteResult RadioSession::write(const ChannelRecords &channels)
{
    QVector<Link::ChannelText> texts;
    for (int row = 0; row < channelCount(); ++row) {
        const ChannelRecord record = channels.value(row);
        texts.append({record.name, record.frequency});
    }
    Progress progress(QStringLiteral("writing"), channelCount());
    return Link::writeChannelMemory(
        port, texts, [](int) {}, [&progress](int row, Link::FrameAnswer) { progress.show(row + 1); },
        Interrupt::requested);
}

QString describeIncompleteRead(const RadioSession::Read &read, int channelCount)
{
    QString text = QStringLiteral("%1 of %2 channels came").arg(read.result.received).arg(channelCount);
    if (read.result.shortFrames > 0)
        text += QStringLiteral(", %1 of them cut short").arg(read.result.shortFrames);
    return text;
}
