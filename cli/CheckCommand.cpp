// vkrtool check: a channel file against the radio's rules, with line numbers.
#include "Commands.h"

#include "ChannelFileCheck.h"
#include "ChannelRules.h"
#include "ChannelFileSource.h"
#include "Console.h"
#include "ExitCodes.h"

int Commands::check(const QString &file)
{
    CsvTable table;
    if (!loadChannelFile(file, table))
        return ExitCode::cannotUse;
    const QVector<ChannelProblem> problems =
        ChannelFileCheck::check(table, ChannelRules::largestMemory, ChannelFileCheck::Rules::Radio);
    if (reportProblems(file, problems, QStringLiteral("; correct them before writing it to a radio")))
        return ExitCode::dataNotRight;
    Console::out(QStringLiteral("%1: %2 records, no problems").arg(file).arg(table.rowCount()));
    return ExitCode::success;
}
