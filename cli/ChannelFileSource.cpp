#include "ChannelFileSource.h"

#include "Console.h"

#include <QFileInfo>

bool loadChannelFile(const QString &fileName, CsvTable &table)
{
    if (table.read(fileName))
        return true;
    const QString reason = QFileInfo::exists(fileName) ? QStringLiteral("it could not be read")
                                                       : QStringLiteral("it does not exist");
    Console::fail(QStringLiteral("cannot use the channel file %1: %2; check the name and its permissions.")
                      .arg(fileName, reason));
    return false;
}

void printProblems(const QString &fileName, const QVector<ChannelProblem> &problems)
{
    for (const ChannelProblem &problem : problems)
        Console::out(QStringLiteral("%1:%2: channel %3: %4")
                         .arg(fileName)
                         .arg(problem.line)
                         .arg(problem.channel)
                         .arg(problem.text));
}

QString describeChannel(const ChannelRecord &record)
{
    if (record.isEmpty())
        return QStringLiteral("(empty)");
    const QString name = record.name.isEmpty() ? QStringLiteral("(no name)") : QLatin1Char('"') + record.name + QLatin1Char('"');
    return name + QLatin1Char(' ') + (record.frequency.isEmpty() ? QStringLiteral("(no frequency)") : record.frequency);
}
