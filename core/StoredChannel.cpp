#include "StoredChannel.h"

namespace StoredChannel {

namespace {
constexpr int emptyChannelMegahertz = 118;
} // namespace

QByteArray nameField(const QString &name, int length)
{
    QByteArray bytes = name.toUtf8();
    if (bytes.size() > length) {
        int cut = length;
        while (cut > 0 && (static_cast<quint8>(bytes.at(cut)) & 0xC0) == 0x80)
            --cut; // a continuation byte: the character began before it
        bytes.truncate(cut);
    }
    return bytes + QByteArray(length - bytes.size(), ' ');
}

Channel shown(const QByteArray &field, const Frequency &frequency, int length)
{
    QByteArray bytes = field.left(length);
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    const QString name = QString::fromUtf8(bytes);
    Channel channel{name.simplified(), frequency};
    const bool blankName = bytes.isEmpty() || bytes == QByteArray(length, ' ');
    if (blankName && frequency == Frequency::fromParts(emptyChannelMegahertz, 0))
        channel.frequency = Frequency();
    return channel;
}

Frequency frequencyKept(const Frequency &frequency)
{
    return frequency.isEmpty() ? Frequency::fromParts(emptyChannelMegahertz, 0) : frequency;
}

Channel asStored(const Channel &channel, const RadioModel &model)
{
    return shown(nameField(channel.name, model.nameLength), frequencyKept(channel.frequency), model.nameLength);
}

} // namespace StoredChannel
