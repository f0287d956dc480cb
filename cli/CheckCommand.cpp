// vkrtool check: a channel file against the radio's rules, with line numbers.
#include "Commands.h"

#include "ChannelFileCheck.h"
#include "ChannelFileSource.h"
#include "Console.h"
#include "ExitCodes.h"
#include "RadioModels.h"

namespace {

// The most channels any radio of the series holds.
int largestMemory()
{
    int largest = 0;
    for (int i = 0; i < Link::radioModelCount; ++i)
        largest = qMax(largest, Link::radioModels()[i].channelCount);
    return largest;
}

} // namespace

int Commands::check(const QString &file)
{
    CsvTable table;
    if (!loadChannelFile(file, table))
        return ExitCode::cannotUse;
    const QVector<ChannelProblem> problems =
        ChannelFileCheck::check(table, largestMemory(), ChannelFileCheck::Rules::Radio);
    for (const ChannelProblem &problem : problems)
        Console::out(QStringLiteral("%1:%2: channel %3: %4").arg(file).arg(problem.line).arg(problem.channel).arg(problem.text));
    if (!problems.isEmpty()) {
        Console::fail(QStringLiteral("%1 has %2 problem(s); correct them before writing it to a radio.")
                          .arg(file)
                          .arg(problems.size()));
        return ExitCode::dataNotRight;
    }
    Console::out(QStringLiteral("%1: %2 records, no problems").arg(file).arg(table.rowCount()));
    return ExitCode::success;
}
