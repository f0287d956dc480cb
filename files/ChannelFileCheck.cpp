#include "ChannelFileCheck.h"

#include "ChannelCsv.h"
#include "ChannelFrame.h"
#include "ChannelRules.h"
#include "CsvTable.h"

namespace ChannelFileCheck {

namespace {

QString nameProblem(const QString &name)
{
    if (name.size() > ChannelRules::maxNameLength)
        return QStringLiteral("the name \"%1\" has more than %2 characters").arg(name).arg(ChannelRules::maxNameLength);
    if (name.toUtf8().size() > ChannelRules::maxNameLength)
        return QStringLiteral("the name \"%1\" takes more than %2 bytes in the radio").arg(name).arg(ChannelRules::maxNameLength);
    for (const QChar c : name) {
        if (!ChannelRules::isNameCharacter(c))
            return QStringLiteral("the name \"%1\" holds \"%2\"; names take only A-Z, 0-9, spaces and "
                                  "upper-case letters")
                .arg(name, QString(c));
    }
    return QString();
}

QString frequencyProblem(const QString &frequency, Rules rules)
{
    if (frequency.isEmpty())
        return QString();
    if (rules == Rules::Radio && !ChannelRules::isChannelFrequency(frequency))
        return QStringLiteral("\"%1\" is no channel of the air band (118.000 to 136.980, on the 25 or 8.33 kHz raster)")
            .arg(frequency);
    if (!Link::isEncodableFrequency(frequency))
        return QStringLiteral("\"%1\" is no frequency a radio can hold").arg(frequency);
    return QString();
}

} // namespace

QVector<ChannelProblem> check(const CsvTable &table, int channelLimit, Rules rules)
{
    QVector<ChannelProblem> problems;
    const ChannelRecords records = ChannelCsv::fromTable(table, table.rowCount());
    for (int channel = 0; channel < records.size(); ++channel) {
        const ChannelRecord &record = records.at(channel);
        const unsigned line = table.lineNumber(unsigned(channel));
        if (channel >= channelLimit) {
            if (!record.isEmpty())
                problems.append({line, channel,
                                 QStringLiteral("channel %1 is beyond the %2 channels of the radio")
                                     .arg(channel)
                                     .arg(channelLimit)});
            continue;
        }
        for (const QString &text : {rules == Rules::Radio ? nameProblem(record.name) : QString(),
                                    frequencyProblem(record.frequency, rules)}) {
            if (!text.isEmpty())
                problems.append({line, channel, text});
        }
    }
    return problems;
}

} // namespace ChannelFileCheck
