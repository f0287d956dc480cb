#include "ChannelFrame.h"

#include "ChannelRules.h"
#include "LinkConstants.h"

#include <QStringList>

namespace Link {

namespace {

constexpr quint8 emptyChannelMegahertz = 118;
constexpr int kilohertzPerStep = 5;
constexpr int kilohertzDigits = 3;

// The name's UTF-8 bytes, cut after the last whole character that fits into
// the name field, then padded with spaces: a cut inside a character would
// leave the radio half of it.
QByteArray nameField(const QString &name)
{
    QByteArray bytes = name.toUtf8();
    if (bytes.size() > nameLength) {
        int cut = nameLength;
        while (cut > 0 && (static_cast<quint8>(bytes.at(cut)) & 0xC0) == 0x80)
            --cut; // a continuation byte: the character began before it
        bytes.truncate(cut);
    }
    return bytes + QByteArray(nameLength - bytes.size(), ' ');
}

quint32 unsignedDecimal(const QString &text)
{
    bool ok = false;
    const quint32 value = text.toUInt(&ok, 10);
    return ok ? value : 0;
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

QString frequencyText(quint8 megahertz, quint8 step)
{
    return QStringLiteral("%1.%2")
        .arg(megahertz)
        .arg(step * kilohertzPerStep, kilohertzDigits, 10, QLatin1Char('0'));
}

FrequencyBytes frequencyBytes(const QString &frequency)
{
    if (frequency.isEmpty())
        return {emptyChannelMegahertz, 0};
    const QStringList parts = frequency.split(QLatin1Char('.'), Qt::KeepEmptyParts);
    const quint32 megahertz = unsignedDecimal(parts.value(0));
    const quint32 kilohertz = unsignedDecimal(parts.value(1));
    return {static_cast<quint8>(megahertz & 0xFF),
            static_cast<quint8>((kilohertz / kilohertzPerStep) & 0xFF)};
}

QByteArray encodeChannelFrame(const QString &name, const QString &frequency)
{
    const FrequencyBytes bytes = frequencyBytes(frequency);
    QByteArray frame;
    frame.reserve(sentFrameLength);
    frame.append(static_cast<char>(bytes.megahertz));
    frame.append(static_cast<char>(bytes.step));
    frame.append(nameField(name));
    frame.append(frameChecksum(frame, frameLength));
    return frame;
}

ReceivedChannel decodeChannelFrame(const QByteArray &answer)
{
    QByteArray nameBytes = answer.mid(2, nameLength);
    const int zero = nameBytes.indexOf('\0');
    if (zero >= 0)
        nameBytes.truncate(zero);
    const quint8 megahertz = answer.isEmpty() ? 0 : static_cast<quint8>(answer.at(0));
    const quint8 step = answer.size() < 2 ? 0 : static_cast<quint8>(answer.at(1));

    const QString rawName = QString::fromUtf8(nameBytes);
    ReceivedChannel channel{rawName.simplified(), frequencyText(megahertz, step)};
    const bool blankName = rawName.isEmpty() || rawName == QString(nameLength, QLatin1Char(' '));
    if (blankName && channel.frequency == frequencyText(emptyChannelMegahertz, 0))
        channel.frequency.clear();
    return channel;
}

bool isStorableFrame(const QByteArray &answer)
{
    if (answer.size() < 2)
        return false;
    const QString frequency = frequencyText(static_cast<quint8>(answer.at(0)), static_cast<quint8>(answer.at(1)));
    if (!ChannelRules::isChannelFrequency(frequency))
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

ReceivedChannel storedChannel(const QString &name, const QString &frequency)
{
    return decodeChannelFrame(encodeChannelFrame(name, frequency).left(frameLength));
}

bool isEncodableFrequency(const QString &frequency)
{
    if (frequency.isEmpty())
        return true;
    const FrequencyBytes bytes = frequencyBytes(frequency);
    return frequencyText(bytes.megahertz, bytes.step) == frequency;
}

} // namespace Link
