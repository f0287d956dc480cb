#include "ChannelFileCheck.h"

#include "ChannelFrame.h"
#include "ChannelRules.h"
#include "CsvTable.h"
#include "QuotedText.h"

#include <functional>
#include <utility>

namespace ChannelFileCheck {

namespace {

// Which rule a name breaks: its length in characters or in bytes, lower
// case, or a character no radio stores.
QString nameProblem(const QString &name)
{
    if (ChannelRules::isValidName(name))
        return QString();
    const QString shown = QuotedText::quoted(name);
    const int most = ChannelRules::maxNameLength;
    if (name.size() > most)
        return QStringLiteral("the name %1 has %2 characters; a radio stores at most %3").arg(shown).arg(name.size()).arg(most);
    const int bytes = name.toUtf8().size();
    if (bytes > most)
        return QStringLiteral("the name %1 takes %2 bytes; a radio stores at most %3 (letters such as Ä take two)")
            .arg(shown)
            .arg(bytes)
            .arg(most);
    for (const QChar c : name) {
        if (ChannelRules::isNameCharacter(c))
            continue;
        if (c.isLower() && ChannelRules::isNameCharacter(c.toUpper()))
            return QStringLiteral("the name %1 has lower case; a radio stores upper case only: %2")
                .arg(shown, QuotedText::quoted(name.toUpper()));
        return QStringLiteral("the name %1 has the character %2, which a radio does not store; use A-Z, 0-9, "
                              "spaces and upper-case letters")
            .arg(shown, QuotedText::quoted(QString(c)));
    }
    return QStringLiteral("the name %1 is not one a radio stores as it is").arg(shown);
}

QString frequencyProblem(const QString &frequency, Rules rules)
{
    if (frequency.isEmpty())
        return QString();
    const QString shown = QuotedText::quoted(frequency);
    if (rules == Rules::Radio && !ChannelRules::isChannelFrequency(frequency)) {
        // A channel written with fewer decimals: "121.5" for 121.500.
        const QString channel = ChannelRules::channelFrequencyFor(frequency);
        if (!channel.isEmpty() && channel.size() > frequency.size() && channel.startsWith(frequency))
            return QStringLiteral("%1 is no channel of the air band as written: write three decimals: %2")
                .arg(shown, channel);
        return QStringLiteral("%1 is no channel of the air band (118.000 to 136.980, on the 25 or 8.33 kHz raster)")
            .arg(shown);
    }
    if (!Link::isEncodableFrequency(frequency))
        return QStringLiteral("%1 is no frequency a radio can hold").arg(shown);
    return QString();
}

// A channel the radio would store, but not as the list shows it; `field`
// receives what is missing.
QString storageProblem(const ChannelRecord &record, ChannelProblem::Field &field)
{
    if (!record.name.isEmpty() && record.frequency.isEmpty()) {
        field = ChannelProblem::Field::Frequency;
        return QStringLiteral("the name %1 has no frequency; the radio would store it at 118.000")
            .arg(QuotedText::quoted(record.name));
    }
    if (record.name.trimmed().isEmpty() && !record.frequency.isEmpty()
        && Link::storedChannel(record.name, record.frequency).frequency.isEmpty()) {
        field = ChannelProblem::Field::Name;
        return QStringLiteral("%1 without a name is the radio's empty channel: it would be gone after the write; "
                              "give it a name")
            .arg(QuotedText::shown(record.frequency));
    }
    return QString();
}

QVector<ChannelProblem> checkRecords(const ChannelRecords &records, int channelLimit, Rules rules,
                                     const std::function<unsigned(int)> &lineOf)
{
    QVector<ChannelProblem> problems;
    const int checked = qMin(records.size(), qMax(channelLimit, 0));
    for (int channel = 0; channel < checked; ++channel) {
        const ChannelRecord &record = records.at(channel);
        const unsigned line = lineOf(channel);
        const bool radioRules = rules == Rules::Radio;
        using Field = ChannelProblem::Field;
        Field storageField = Field::Record;
        const QString storage = radioRules ? storageProblem(record, storageField) : QString();
        const std::pair<Field, QString> found[] = {
            {Field::Name, radioRules ? nameProblem(record.name) : QString()},
            {Field::Frequency, frequencyProblem(record.frequency, rules)},
            {storageField, storage},
        };
        for (const auto &[field, text] : found) {
            if (!text.isEmpty())
                problems.append({line, channel, text, field});
        }
    }
    // The records the radio has no place for, counted once: a file of
    // millions of lines is one problem, not millions.
    int beyond = 0, firstBeyond = -1;
    for (int channel = checked; channel < records.size(); ++channel) {
        if (records.at(channel).isEmpty())
            continue;
        ++beyond;
        if (firstBeyond < 0)
            firstBeyond = channel;
    }
    if (beyond == 1)
        problems.append({lineOf(firstBeyond), firstBeyond,
                         QStringLiteral("channel %1 is beyond the %2 channels of the radio").arg(firstBeyond).arg(channelLimit)});
    else if (beyond > 1)
        problems.append({lineOf(firstBeyond), firstBeyond,
                         QStringLiteral("this record and %1 more after it are beyond the %2 channels of the radio")
                             .arg(beyond - 1)
                             .arg(channelLimit)});
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
