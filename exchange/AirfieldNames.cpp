#include "AirfieldNames.h"

#include "ChannelRules.h"
#include "QtCompat.h"

#include <QSet>

#include <algorithm>

namespace {

// An ident cut below this no longer tells the airfield.
constexpr int shortestIdent = 3;
// Numbers tried for a repeated name before it is left as it is: more than
// any memory has channels.
constexpr int lastNumber = 999;

const QString atis = QStringLiteral("ATIS");
const QString departureAtis = QStringLiteral("DATIS");

// The words of a text as a name holds them: upper case, every other
// character a word break.
QStringList nameWords(const QByteArray &text)
{
    QString words = QtCompat::utf8UpToZero(text).toUpper();
    for (QChar &c : words) {
        if (!ChannelRules::isNameCharacter(c))
            c = QLatin1Char(' ');
    }
    return words.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool isNumber(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
}

bool fits(const QString &name)
{
    return name.size() <= RadioModels::series().nameLength && name.toUtf8().size() <= RadioModels::series().nameLength;
}

// What the channel is, before other channels of its airfield are looked at.
QString labelOf(const AirfieldChannelKind &channel)
{
    const QStringList type = nameWords(channel.type);
    const QStringList description = nameWords(channel.description);
    const auto names = [&](const QString &word) { return type.contains(word) || description.contains(word); };
    const bool isAtis = description.contains(atis)
        || std::any_of(type.cbegin(), type.cend(), [](const QString &word) { return word.endsWith(atis); });
    if (!isAtis)
        return type.join(QString());
    return names(QStringLiteral("DEP")) || names(QStringLiteral("DEPARTURE")) ? departureAtis : atis;
}

// The ident part, then the label; see uniqueChannelNames.
QString composeName(const AirfieldChannelName &parts)
{
    const int length = RadioModels::series().nameLength;
    const QString whole = parts.ident + QLatin1Char(' ') + parts.label + parts.ending;
    if (fits(whole))
        return whole.trimmed();
    QString ident = parts.ident;
    if (parts.labelKept)
        ident = ident.left(qMax(shortestIdent, length - 1 - int(parts.label.size() + parts.ending.size())));
    // Room for a space and at least one letter of the label, or else none.
    const QString separator = ident.size() + 2 <= length ? QStringLiteral(" ") : QString();
    QString stem = parts.label;
    QString name;
    do {
        name = ident + separator + stem.trimmed() + parts.ending;
        stem.chop(1);
    } while (!fits(name) && !stem.isEmpty());
    while (!fits(name))
        name.chop(1);
    return name.trimmed();
}

} // namespace

QVector<AirfieldChannelName> airfieldChannelNames(const QByteArray &ident, const QVector<AirfieldChannelKind> &channels)
{
    const QString identPart = nameWords(ident).join(QString());
    QStringList labels;
    for (const AirfieldChannelKind &channel : channels)
        labels << labelOf(channel);
    QVector<AirfieldChannelName> names;
    for (int k = 0; k < channels.size(); ++k) {
        AirfieldChannelName name{identPart, labels.at(k), QString(), labels.at(k) == departureAtis};
        QVector<QStringList> descriptions;
        for (int other = 0; other < channels.size(); ++other) {
            if (labels.at(other) == labels.at(k))
                descriptions << nameWords(channels.at(other).description);
        }
        // The words of this channel's description that not every other
        // description of its label has.
        QStringList telling;
        for (const QString &word : nameWords(channels.at(k).description)) {
            const auto has = [&word](const QStringList &words) { return words.contains(word); };
            if (!std::all_of(descriptions.cbegin(), descriptions.cend(), has))
                telling << word;
        }
        if (isNumber(telling.join(QString()))) {
            name.ending = telling.join(QString());
            name.labelKept = true;
        } else if (!telling.isEmpty() && name.label != atis && name.label != departureAtis) {
            name.label = telling.join(QLatin1Char(' '));
            name.labelKept = true;
        }
        names << name;
    }
    return names;
}

QStringList uniqueChannelNames(const QVector<AirfieldChannelName> &names)
{
    QStringList composed;
    for (const AirfieldChannelName &parts : names)
        composed << composeName(parts);
    // Every name present is taken, so that no number makes a name that a
    // later channel already has.
    QSet<QString> taken(composed.cbegin(), composed.cend());
    QSet<QString> given;
    for (int k = 0; k < names.size(); ++k) {
        if (given.contains(composed.at(k))) {
            AirfieldChannelName numbered = names.at(k);
            numbered.label += numbered.ending;
            numbered.labelKept = true;
            for (int number = 2; number <= lastNumber; ++number) {
                numbered.ending = QString::number(number);
                if (!taken.contains(composeName(numbered)))
                    break;
            }
            composed[k] = composeName(numbered);
            taken.insert(composed.at(k));
        }
        given.insert(composed.at(k));
    }
    return composed;
}
