#include "ChannelComparison.h"

#include "ChannelFrame.h"
#include "QuotedText.h"

namespace ChannelComparison {

namespace {

// The channel as a radio would give it back.
ChannelRecord asStored(const ChannelRecord &record)
{
    const Link::ReceivedChannel stored = Link::storedChannel(record.name, record.frequency);
    return {stored.name, stored.frequency};
}

} // namespace

QVector<Difference> differences(const ChannelRecords &first, const ChannelRecords &second)
{
    QVector<Difference> found;
    const int count = qMax(first.size(), second.size());
    for (int channel = 0; channel < count; ++channel) {
        const ChannelRecord a = asStored(first.value(channel));
        const ChannelRecord b = asStored(second.value(channel));
        if (a != b)
            found.append({channel, a, b});
    }
    return found;
}

QString describe(const ChannelRecord &record)
{
    if (record.isEmpty())
        return QStringLiteral("(empty)");
    const QString name = record.name.isEmpty() ? QStringLiteral("(no name)") : QuotedText::quoted(record.name);
    return name + QLatin1Char(' ')
        + (record.frequency.isEmpty() ? QStringLiteral("(no frequency)") : QuotedText::shown(record.frequency));
}

} // namespace ChannelComparison
