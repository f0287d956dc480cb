#include "ChannelFrame.h"

#include "LinkConstants.h"
#include "StoredChannel.h"

namespace Link {

namespace {

Frequency frequencyOf(const QByteArray &answer)
{
    const int megahertz = answer.isEmpty() ? 0 : static_cast<quint8>(answer.at(0));
    const int step = answer.size() < 2 ? 0 : static_cast<quint8>(answer.at(1));
    return Frequency::fromParts(megahertz, step);
}

} // namespace

char frameChecksum(const QByteArray &frame, int n)
{
    const int count = qBound(0, n, frame.size());
    quint8 sum = 0xFF;
    for (int i = 0; i < count; ++i)
        sum ^= static_cast<quint8>(frame.at(i));
    return static_cast<char>(sum);
}

QByteArray encodeChannelFrame(const Channel &channel)
{
    const Frequency frequency = StoredChannel::frequencyKept(channel.frequency);
    if (!frequency.fitsFrame())
        return QByteArray();
    QByteArray frame;
    frame.reserve(sentFrameLength);
    frame.append(static_cast<char>(frequency.megahertz()));
    frame.append(static_cast<char>(frequency.step()));
    frame.append(StoredChannel::nameField(channel.name, nameLength));
    frame.append(frameChecksum(frame, frameLength));
    return frame;
}

Channel decodeChannelFrame(const QByteArray &answer)
{
    return StoredChannel::shown(answer.mid(2, nameLength), frequencyOf(answer), nameLength);
}

bool isStorableFrame(const QByteArray &answer)
{
    if (answer.size() < 2 || !frequencyOf(answer).isChannelOf(RadioModels::airBand))
        return false;
    for (const char byte : answer.mid(2, nameLength)) {
        if (byte == '\0')
            break; // the name ends there
        const quint8 value = static_cast<quint8>(byte);
        if (value < 0x20 || value == 0x7F)
            return false;
    }
    return true;
}

} // namespace Link
