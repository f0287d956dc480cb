#include "ChannelComparison.h"

#include "QuotedText.h"
#include "StoredChannel.h"

namespace ChannelComparison {

QVector<Difference> differences(const Channels &first, const Channels &second, const RadioModel &model)
{
    QVector<Difference> found;
    const int count = qMax(first.size(), second.size());
    for (int channel = 0; channel < count; ++channel) {
        const Channel a = StoredChannel::asStored(first.value(channel), model);
        const Channel b = StoredChannel::asStored(second.value(channel), model);
        if (a != b)
            found.append({channel, a, b, {}, {}});
    }
    return found;
}

QString describe(const Channel &channel)
{
    if (channel.isEmpty())
        return QStringLiteral("(empty)");
    const QString name = channel.name.isEmpty() ? QStringLiteral("(no name)") : QuotedText::quoted(channel.name);
    return name + QLatin1Char(' ')
        + (channel.frequency.isEmpty() ? QStringLiteral("(no frequency)") : QuotedText::shown(channel.frequency.text()));
}

namespace {

QString describeSide(const Difference &difference, const Channel &channel, const QByteArray &bytes)
{
    if (difference.first != difference.second || bytes.isEmpty())
        return describe(channel);
    return describe(channel) + QStringLiteral(" [%1]").arg(QString::fromLatin1(bytes.toHex(' ').toUpper()));
}

} // namespace

QString describeFirst(const Difference &difference)
{
    return describeSide(difference, difference.first, difference.firstBytes);
}

QString describeSecond(const Difference &difference)
{
    return describeSide(difference, difference.second, difference.secondBytes);
}

} // namespace ChannelComparison
