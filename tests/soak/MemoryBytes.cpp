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

bool readChannelFile(const QString &path, TypedChannels &channels)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    channels.clear();
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const int separator = line.indexOf(';');
        channels.append({QString::fromUtf8(line.left(separator)),
                         separator < 0 ? QString() : QString::fromUtf8(line.mid(separator + 1))});
    }
    return true;
}

// Today a backup is a channel file; once backups keep the radio's frames
// byte for byte, they are taken from it here.
bool framesOfBackup(const QString &path, int channelCount, Frames &frames)
{
    TypedChannels channels;
    if (!readChannelFile(path, channels))
        return false;
    frames = storedFrames(channels, channelCount);
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
