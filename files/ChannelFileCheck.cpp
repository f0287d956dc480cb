#include "ChannelFileCheck.h"

#include "ChannelCsv.h"
#include "ChannelRules.h"
#include "CsvTable.h"
#include "QuotedText.h"
#include "StoredChannel.h"

#include <functional>
#include <tuple>
#include <utility>

namespace ChannelFileCheck {

namespace {

QString bandText(const RadioModel &model)
{
    return QStringLiteral("%1 to %2")
        .arg(Frequency::fromKilohertz(model.band.lowestKilohertz).text(),
             Frequency::fromKilohertz(model.band.highestKilohertz).text());
}

// Which rule a name breaks: its length in characters or in bytes, lower
// case, or a character no radio stores.
QString nameProblem(const QString &name, const RadioModel &model)
{
    using ChannelRules::NameFault;
    const ChannelRules::NameCheck found = ChannelRules::checkName(name, model);
    const QString shown = QuotedText::quoted(name);
    const int most = model.nameLength;
    switch (found.fault) {
    case NameFault::None:
        return QString();
    case NameFault::TooManyCharacters:
        return QStringLiteral("the name %1 has %2 characters; a radio stores at most %3").arg(shown).arg(found.size).arg(most);
    case NameFault::TooManyBytes:
        return QStringLiteral("the name %1 takes %2 bytes; a radio stores at most %3 (letters such as Ä take two)")
            .arg(shown)
            .arg(found.size)
            .arg(most);
    case NameFault::LowerCase:
        return QStringLiteral("the name %1 has lower case; a radio stores upper case only: %2")
            .arg(shown, QuotedText::quoted(name.toUpper()));
    case NameFault::ControlCharacter:
    case NameFault::NotNameCharacter:
        break;
    }
    return QStringLiteral("the name %1 has the character %2, which a radio does not store; use A-Z, 0-9, "
                          "spaces and upper-case letters")
        .arg(shown, QuotedText::quoted(QString(found.character)));
}

QString frequencyProblem(const Frequency &frequency, const RadioModel &model, Rules rules)
{
    if (frequency.isEmpty())
        return QString();
    const QString shown = QuotedText::quoted(frequency.text());
    if (rules == Rules::Radio && !ChannelRules::isChannel(frequency, model)) {
        // A channel written with fewer decimals: "121.5" for 121.500.
        const QString channel = ChannelRules::channelFrequencyFor(frequency.text()).text();
        if (!channel.isEmpty() && channel.size() > frequency.text().size() && channel.startsWith(frequency.text()))
            return QStringLiteral("%1 is no channel of the air band as written: write three decimals: %2")
                .arg(shown, channel);
        return QStringLiteral("%1 is no channel of the air band (%2, on the 25 or 8.33 kHz raster)")
            .arg(shown, bandText(model));
    }
    if (!frequency.fitsFrame())
        return QStringLiteral("%1 is no frequency a radio can hold").arg(shown);
    return QString();
}

// A channel the radio would store, but not as the list shows it; `field`
// receives what is missing.
QString storageProblem(const Channel &channel, const RadioModel &model, ChannelProblem::Field &field)
{
    if (!channel.name.isEmpty() && channel.frequency.isEmpty()) {
        field = ChannelProblem::Field::Frequency;
        return QStringLiteral("the name %1 has no frequency; the radio would store it at %2")
            .arg(QuotedText::quoted(channel.name), StoredChannel::frequencyKept(Frequency()).text());
    }
    if (channel.name.trimmed().isEmpty() && !channel.frequency.isEmpty()
        && StoredChannel::isEmptyAsStored(channel, model)) {
        field = ChannelProblem::Field::Name;
        return QStringLiteral("%1 without a name is the radio's empty channel: it would be gone after the write; "
                              "give it a name")
            .arg(QuotedText::shown(channel.frequency.text()));
    }
    return QString();
}

// A control character in the name or the frequency: the record is text no
// radio stores, whatever else it holds; `field` receives which.
QString controlProblem(const Channel &channel, ChannelProblem::Field &field)
{
    const QString frequency = channel.frequency.text();
    for (const auto &[which, text, word] :
         {std::make_tuple(ChannelProblem::Field::Name, channel.name, "name"),
          std::make_tuple(ChannelProblem::Field::Frequency, frequency, "frequency")}) {
        const int at = ChannelRules::firstControlCharacter(text);
        if (at < 0)
            continue;
        field = which;
        return QStringLiteral("the %1 %2 holds the control character %3, which no channel holds (is the file "
                              "damaged?)")
            .arg(QLatin1String(word), QuotedText::quoted(text), QuotedText::quoted(QString(text.at(at))));
    }
    return QString();
}

// The records of a table that hold control characters; past the first
// `named`, one problem counts the rest.
QVector<ChannelProblem> controlProblems(const Channels &channels, int named, const std::function<unsigned(int)> &lineOf)
{
    QVector<ChannelProblem> problems;
    int more = 0, firstMore = -1;
    for (int index = 0; index < channels.size(); ++index) {
        ChannelProblem::Field field = ChannelProblem::Field::Record;
        const QString text = controlProblem(channels.at(index), field);
        if (text.isEmpty())
            continue;
        if (problems.size() < named) {
            problems.append({lineOf(index), index, text, field});
        } else if (more++ == 0) {
            firstMore = index;
        }
    }
    if (more > 0)
        problems.append({lineOf(firstMore), firstMore,
                         QStringLiteral("this record and %1 more after it hold control characters").arg(more - 1)});
    return problems;
}

// The whole file as one problem, where its bytes are no lines of text.
QString encodingProblem(const CsvTable &table)
{
    switch (table.encoding()) {
    case CsvTable::Encoding::Utf16:
        return QStringLiteral("UTF-16 is not read: save as UTF-8");
    case CsvTable::Encoding::NoLineEnds:
        return QStringLiteral("no line ends: its lines end in CR alone, as in old Macintosh files; save it with CR LF "
                              "line ends");
    case CsvTable::Encoding::Lines:
        break;
    }
    return QString();
}

QVector<ChannelProblem> checkChannels(const Channels &channels, const RadioModel &model, Rules rules,
                                      const std::function<unsigned(int)> &lineOf)
{
    QVector<ChannelProblem> problems;
    const int checked = qMin(int(channels.size()), model.channelCount);
    for (int index = 0; index < checked; ++index) {
        const Channel &channel = channels.at(index);
        const unsigned line = lineOf(index);
        const bool radioRules = rules == Rules::Radio;
        using Field = ChannelProblem::Field;
        Field controlField = Field::Record;
        const QString control = controlProblem(channel, controlField);
        if (!control.isEmpty()) {
            problems.append({line, index, control, controlField});
            continue;
        }
        Field storageField = Field::Record;
        const QString storage = radioRules ? storageProblem(channel, model, storageField) : QString();
        const std::pair<Field, QString> found[] = {
            {Field::Name, radioRules ? nameProblem(channel.name, model) : QString()},
            {Field::Frequency, frequencyProblem(channel.frequency, model, rules)},
            {storageField, storage},
        };
        for (const auto &[field, text] : found) {
            if (!text.isEmpty())
                problems.append({line, index, text, field});
        }
    }
    // The records the radio has no place for, counted once: a file of
    // millions of lines is one problem, not millions.
    int beyond = 0, firstBeyond = -1;
    for (int index = checked; index < channels.size(); ++index) {
        if (channels.at(index).isEmpty())
            continue;
        ++beyond;
        if (firstBeyond < 0)
            firstBeyond = index;
    }
    if (beyond == 1)
        problems.append({lineOf(firstBeyond), firstBeyond,
                         QStringLiteral("channel %1 is beyond the %2 channels of the radio").arg(firstBeyond).arg(model.channelCount)});
    else if (beyond > 1)
        problems.append({lineOf(firstBeyond), firstBeyond,
                         QStringLiteral("this record and %1 more after it are beyond the %2 channels of the radio")
                             .arg(beyond - 1)
                             .arg(model.channelCount)});
    return problems;
}

} // namespace

QVector<ChannelProblem> check(const Channels &channels, const RadioModel &model, Rules rules)
{
    return checkChannels(channels, model, rules, [](int) { return 0u; });
}

QVector<ChannelProblem> check(const CsvTable &table, const RadioModel &model, Rules rules)
{
    const QString encoding = encodingProblem(table);
    if (!encoding.isEmpty())
        return {{0, -1, encoding, ChannelProblem::Field::Record}};
    return checkChannels(ChannelCsv::fromTable(table, table.rowCount()), model, rules,
                         [&table](int index) { return table.lineNumber(unsigned(index)); });
}

QVector<ChannelProblem> textProblems(const CsvTable &table)
{
    const QString encoding = encodingProblem(table);
    if (!encoding.isEmpty())
        return {{0, -1, encoding, ChannelProblem::Field::Record}};
    return controlProblems(ChannelCsv::fromTable(table, table.rowCount()), RadioModels::largestMemory(),
                           [&table](int index) { return table.lineNumber(unsigned(index)); });
}

} // namespace ChannelFileCheck
