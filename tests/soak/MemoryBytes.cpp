#include "MemoryBytes.h"

#include "VirtualRadio.h"

#include <QFile>

namespace Soak {

namespace {

constexpr int nameBytes = 8;
constexpr char emptyMegahertz = char(118);

// The name's UTF-8 bytes up to the last whole character within the field:
// a continuation byte (10xxxxxx) at the cut belongs to a character that
// began before it.
QByteArray nameField(const QString &name)
{
    QByteArray bytes = name.toUtf8();
    if (bytes.size() > nameBytes) {
        int cut = nameBytes;
        while (cut > 0 && (quint8(bytes.at(cut)) & 0xC0) == 0x80)
            --cut;
        bytes.truncate(cut);
    }
    return bytes.leftJustified(nameBytes, ' ');
}

} // namespace

QByteArray storedFrame(const Typed &channel)
{
    QByteArray frame;
    if (channel.frequency.isEmpty()) {
        frame = QByteArray(1, emptyMegahertz) + QByteArray(1, '\0');
    } else {
        // "121.500": megahertz 121 (0x79), kilohertz 500, step 100 (0x64).
        const int dot = channel.frequency.indexOf(QLatin1Char('.'));
        frame.append(char(channel.frequency.left(dot).toInt()));
        frame.append(char(channel.frequency.mid(dot + 1).toInt() / 5));
    }
    return frame + nameField(channel.name);
}

Frames storedFrames(const TypedChannels &channels, int channelCount)
{
    Frames frames;
    for (int k = 0; k < channelCount; ++k)
        frames.append(storedFrame(channels.value(k)));
    return frames;
}

Frames framesIn(const VirtualRadio &radio)
{
    const RadioMemory memory = radio.memory();
    Frames frames;
    for (int k = 0; k < memory.channelCount(); ++k)
        frames.append(memory.frame(k));
    return frames;
}

void load(VirtualRadio &radio, const Frames &frames)
{
    for (int k = 0; k < frames.size(); ++k)
        radio.setFrame(k, frames.at(k));
}

QByteArray channelFile(const TypedChannels &channels)
{
    QByteArray bytes;
    for (const Typed &channel : channels)
        bytes += channel.name.toUtf8() + ';' + channel.frequency.toUtf8() + "\r\n";
    return bytes;
}

// Each line's fields: name, frequency, and in a backup the frame as the
// radio sent it, in hex.
static bool readLines(const QString &path, QVector<QList<QByteArray>> &records)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    records.clear();
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            records.append(line.split(';'));
    }
    return true;
}

bool readChannelFile(const QString &path, TypedChannels &channels)
{
    QVector<QList<QByteArray>> records;
    if (!readLines(path, records))
        return false;
    channels.clear();
    for (const QList<QByteArray> &fields : records)
        channels.append({QString::fromUtf8(fields.value(0)), QString::fromUtf8(fields.value(1))});
    return true;
}

// A backup keeps each channel's frame byte for byte after its name and
// frequency: those bytes are the memory it holds (a line without one is
// worked out from its name and frequency).
bool framesOfBackup(const QString &path, int channelCount, Frames &frames)
{
    QVector<QList<QByteArray>> records;
    if (!readLines(path, records))
        return false;
    frames.clear();
    for (int k = 0; k < channelCount; ++k) {
        const QList<QByteArray> fields = records.value(k);
        const QByteArray kept = QByteArray::fromHex(fields.value(2));
        frames.append(kept.size() == 2 + nameBytes
                          ? kept
                          : storedFrame({QString::fromUtf8(fields.value(0)), QString::fromUtf8(fields.value(1))}));
    }
    return true;
}

QString difference(const Frames &expected, const Frames &found)
{
    if (expected.size() != found.size())
        return QStringLiteral("%1 channels expected, %2 found").arg(expected.size()).arg(found.size());
    for (int k = 0; k < expected.size(); ++k) {
        if (expected.at(k) != found.at(k))
            return QStringLiteral("channel %1: expected %2, found %3")
                .arg(k)
                .arg(QString::fromLatin1(expected.at(k).toHex(' ')), QString::fromLatin1(found.at(k).toHex(' ')));
    }
    return QString();
}

} // namespace Soak
