#include "UniqueNames.h"

#include "ChannelRules.h"

#include <QSet>

namespace {

QString numberedName(const QString &name, int number)
{
    const QByteArray digits = QByteArray::number(number);
    QString base = name.left(qMax(0, int(name.size() - digits.size())));
    while (base.toUtf8().size() + digits.size() > RadioModels::series().nameLength)
        base.chop(1);
    return base + QString::fromLatin1(digits);
}

} // namespace

QString importedName(const QString &text)
{
    QString name = ChannelRules::nameFrom(text);
    int nameCharacters = 0;
    for (const QChar c : text.toUpper())
        nameCharacters += ChannelRules::isNameCharacter(c) ? 1 : 0;
    if (name.size() < nameCharacters) {
        while (name.endsWith(QLatin1Char(' ')))
            name.chop(1);
    }
    return name;
}

void makeNamesUnique(Channels &channels)
{
    // Every name present is taken, so that no number makes a name that a
    // later channel already has.
    QSet<QString> taken;
    for (const Channel &channel : qAsConst(channels))
        taken.insert(channel.name);
    QSet<QString> given;
    for (Channel &channel : channels) {
        if (!channel.name.isEmpty() && given.contains(channel.name)) {
            int number = 2;
            while (taken.contains(numberedName(channel.name, number)))
                ++number;
            channel.name = numberedName(channel.name, number);
            taken.insert(channel.name);
        }
        given.insert(channel.name);
    }
}
