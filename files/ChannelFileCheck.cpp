#include "ChannelFileCheck.h"

#include "ChannelCsv.h"
#include "ChannelFrame.h"
#include "ChannelRules.h"
#include "CsvTable.h"

namespace ChannelFileCheck {

namespace {

QString nameProblem(const QString &name)
{
    if (ChannelRules::isValidName(name))
        return QString();
    return QStringLiteral("the name \"%1\" is not one a radio stores as it is: at most %2 characters and %2 bytes, "
                          "of A-Z, 0-9, spaces and upper-case letters")
        .arg(name)
        .arg(ChannelRules::maxNameLength);
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
