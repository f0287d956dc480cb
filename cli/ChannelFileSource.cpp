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

bool reportProblems(const QString &fileName, const QVector<ChannelProblem> &problems, const QString &advice)
{
    for (const ChannelProblem &problem : problems)
        Console::out(QStringLiteral("%1:%2: channel %3: %4")
                         .arg(fileName, QString::number(problem.line), QString::number(problem.channel), problem.text));
    if (problems.isEmpty())
        return false;
    Console::fail(QStringLiteral("%1 has %2 problem(s)%3.").arg(fileName, QString::number(problems.size()), advice));
    return true;
}
