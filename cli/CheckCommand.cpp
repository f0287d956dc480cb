// vkrtool check: a channel file against the radio's rules, with line numbers.
#include "Commands.h"

#include "ChannelFileCheck.h"
#include "ChannelFileSource.h"
#include "Console.h"
#include "ExitCodes.h"
#include "JsonOutput.h"
#include "Messages.h"

int Commands::check(const QString &file, const RadioModel &model)
{
    if (const int failed = checkInputs({file}))
        return failed;
    CsvTable table;
    if (!loadChannelFile(file, table))
        return ExitCode::cannotUse;
    const QVector<ChannelProblem> problems =
        ChannelFileCheck::check(table, model, ChannelFileCheck::Rules::Radio);
    if (JsonOutput::enabled()) {
        QJsonObject document;
        document.insert(JsonKey::file, file);
        document.insert(JsonKey::records, int(table.rowCount()));
        document.insert(JsonKey::channelCount, model.channelCount);
        document.insert(JsonKey::problems, JsonOutput::problems(problems));
        JsonOutput::print(document);
    }
    if (reportProblems(file, problems, QStringLiteral("; correct %1 before writing it to a radio")))
        return ExitCode::dataNotRight;
    Console::out(QStringLiteral("%1: %2, no problems").arg(fileLabel(file), countOf(table.rowCount(), "record", "records")));
    return ExitCode::success;
}
