#include "WriteReport.h"

#include "RadioRead.h"

#include <QStringList>

namespace Session {

QString WriteReport::readFaults() const
{
    return describeIncompleteRead(lastRead, channelCount);
}

QString WriteReport::frameFaultText(int firstNumber) const
{
    if (radioGone) {
        const int at = frameFaults.isEmpty() ? sent : frameFaults.first().channel;
        return QStringLiteral("the radio stopped answering at channel %1 (unplugged or switched off?)")
            .arg(firstNumber + at);
    }
    QStringList refused, unanswered;
    for (const FrameFault &fault : frameFaults) {
        QStringList &list = fault.answer == Link::FrameAnswer::Refused ? refused : unanswered;
        list.append(QString::number(firstNumber + fault.channel));
    }
    const auto channels = [](const QStringList &list) {
        return (list.size() == 1 ? QStringLiteral("channel ") : QStringLiteral("channels "))
            + list.join(QStringLiteral(", "));
    };
    QStringList parts;
    if (!refused.isEmpty())
        parts << QStringLiteral("the radio refused %1").arg(channels(refused));
    if (!unanswered.isEmpty())
        parts << QStringLiteral("the radio did not answer %1").arg(channels(unanswered));
    return parts.join(QStringLiteral(" and "));
}

} // namespace Session
