#include "AirfieldNames.h"

#include "ChannelRules.h"
#include "QtCompat.h"
#include "UniqueNames.h"

#include <QSet>

#include <algorithm>

namespace {

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

// The ident, then `stem` cut so that `ending` fits whole behind it.
QString composeName(const QByteArray &ident, const QString &stem, const QString &ending)
{
    const QString identPart = nameWords(ident).join(QString());
    // Room for a space and at least one letter of the type, or else none.
    const QString separator = identPart.size() + 2 <= RadioModels::series().nameLength ? QStringLiteral(" ") : QString();
    const int room = RadioModels::series().nameLength - int(identPart.size()) - int(separator.size());
    if (room <= 0)
        return importedName(identPart);
    const QString label = stem.left(qMax(0, room - int(ending.size()))) + ending;
    return importedName(identPart + separator + label);
}

} // namespace

QStringList airfieldChannelNames(const QByteArray &ident, const QVector<AirfieldChannelKind> &channels)
{
    QStringList names;
    for (const AirfieldChannelKind &channel : channels) {
        const QString type = nameWords(channel.type).join(QString());
        QVector<QStringList> descriptions;
        for (const AirfieldChannelKind &other : channels) {
            if (other.type == channel.type)
                descriptions << nameWords(other.description);
        }
        const bool allAlike = std::all_of(descriptions.cbegin(), descriptions.cend(),
                                          [&descriptions](const QStringList &words) { return words == descriptions.first(); });
        if (allAlike) {
            names << composeName(ident, type, QString());
            continue;
        }
        // The words of this channel's description that not every other
        // description of its type has.
        QStringList telling;
        for (const QString &word : nameWords(channel.description)) {
            const auto has = [&word](const QStringList &words) { return words.contains(word); };
            if (!std::all_of(descriptions.cbegin(), descriptions.cend(), has))
                telling << word;
        }
        const QString words = telling.join(QLatin1Char(' '));
        if (words.isEmpty())
            names << composeName(ident, type, QString());
        else if (isNumber(telling.join(QString())))
            names << composeName(ident, type, telling.join(QString()));
        else
            names << composeName(ident, words, QString());
    }
    return names;
}
