#include "ChannelFileCheck.h"

#include "ChannelFrame.h"
#include "ChannelRules.h"
#include "CsvTable.h"

#include <functional>

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

// A channel the radio would store, but not as the list shows it.
QString storageProblem(const ChannelRecord &record)
{
    if (!record.name.isEmpty() && record.frequency.isEmpty())
        return QStringLiteral("the name \"%1\" has no frequency; the radio would store it at 118.000")
            .arg(record.name);
    if (record.name.trimmed().isEmpty() && !record.frequency.isEmpty()
        && Link::storedChannel(record.name, record.frequency).frequency.isEmpty())
        return QStringLiteral("%1 without a name is the radio's empty channel: it would be gone after the write; "
                              "give it a name")
            .arg(record.frequency);
    return QString();
}

QVector<ChannelProblem> checkRecords(const ChannelRecords &records, int channelLimit, Rules rules,
                                     const std::function<unsigned(int)> &lineOf)
{
    QVector<ChannelProblem> problems;
    for (int channel = 0; channel < records.size(); ++channel) {
        const ChannelRecord &record = records.at(channel);
        const unsigned line = lineOf(channel);
        if (channel >= channelLimit) {
            if (!record.isEmpty())
                problems.append({line, channel,
                                 QStringLiteral("channel %1 is beyond the %2 channels of the radio")
                                     .arg(channel)
                                     .arg(channelLimit)});
            continue;
        }
        const bool radioRules = rules == Rules::Radio;
        for (const QString &text : {radioRules ? nameProblem(record.name) : QString(),
                                    frequencyProblem(record.frequency, rules),
                                    radioRules ? storageProblem(record) : QString()}) {
            if (!text.isEmpty())
                problems.append({line, channel, text});
        }
    }
    return problems;
}

} // namespace

QVector<ChannelProblem> check(const ChannelRecords &records, int channelLimit, Rules rules)
{
    return checkRecords(records, channelLimit, rules, [](int) { return 0u; });
}

QVector<ChannelProblem> check(const CsvTable &table, int channelLimit, Rules rules)
{
    return checkRecords(ChannelCsv::fromTable(table, table.rowCount()), channelLimit, rules,
                        [&table](int channel) { return table.lineNumber(unsigned(channel)); });
}

} // namespace ChannelFileCheck
