// vkrtool write: the safe write of a channel file. The file is checked
// first, the radio's memory is kept as a backup, then written, then read
// back and compared.
#include "Commands.h"

#include "ChannelFileSource.h"
#include "ChannelRules.h"
#include "Console.h"
#include "ExitCodes.h"
#include "RadioReports.h"

int Commands::write(const WriteOptions &options)
{
    CsvTable table;
    if (!loadChannelFile(options.file, table))
        return ExitCode::cannotUse;
    Session::WriteRequest request;
    request.rules = options.force ? ChannelFileCheck::Rules::Encodable : ChannelFileCheck::Rules::Radio;
    request.backUp = options.backup;
    request.verify = options.verify;
    request.channels = ChannelCsv::fromTable(table, table.rowCount());
    // What no radio of the series takes is refused before one is looked for.
    const QString refusedAdvice = QStringLiteral(", so the radio received nothing; correct them and write again");
    if (reportProblems(options.file, ChannelFileCheck::check(table, ChannelRules::largestMemory, request.rules),
                       refusedAdvice))
        return ExitCode::dataNotRight;

    ToolRadio radio;
    if (const int failed = connectRadio(radio, options.port))
        return failed;
    const Session::JobObserver observer = radio.observer();
    const Session::WriteResult result =
        Session::safeWrite(radio.connection(), radio.backups(), request, observer);
    radio.endProgress();
    if (result.outcome == Session::WriteOutcome::Refused) {
        // Now with the lines of the file.
        reportProblems(options.file, ChannelFileCheck::check(table, radio.connection().channelCount(), request.rules),
                       refusedAdvice);
        return ExitCode::dataNotRight;
    }
    return reportWrite(result, radio.connection().modelLabel(), {options.file, options.port, QStringLiteral("written")});
}
