#include "JobReport.h"

#include "SafeWrite.h"

#include <QStringList>

namespace Session {

QString describeIncompleteRead(const Link::ReadResult &result, int channelCount)
{
    QString text = QStringLiteral("%1 of %2 channels came").arg(result.received).arg(channelCount);
    if (result.shortFrames > 0)
        text += QStringLiteral(", %1 of them cut short").arg(result.shortFrames);
    if (result.badFrames > 0)
        text += QStringLiteral(", %1 of them garbled (no channel a radio stores)").arg(result.badFrames);
    return text;
}

QString describeFrameFaults(const WriteResult &result, int firstNumber)
{
    if (result.radioGone) {
        const int at = result.frameFaults.isEmpty() ? result.sent : result.frameFaults.first().channel;
        return QStringLiteral("the radio stopped answering at channel %1 (unplugged or switched off?)")
            .arg(firstNumber + at);
    }
    QStringList refused, unanswered;
    for (const FrameFault &fault : result.frameFaults) {
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
