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
    if (const int failed = checkInputs({options.file}))
        return failed;
    CsvTable table;
    if (!loadChannelFile(options.file, table))
        return ExitCode::cannotUse;
    // A file with nothing in it would blank the radio: never by mistake.
    if (table.rowCount() == 0 && !options.force) {
        Console::fail(QStringLiteral("%1 holds no records, so writing it would empty every channel of the radio; "
                                     "the radio received nothing. Write it with --force if that is meant.")
                          .arg(fileLabel(options.file)));
        return ExitCode::dataNotRight;
    }
    Session::WriteRequest request;
    request.rules = options.force ? ChannelFileCheck::Rules::Encodable : ChannelFileCheck::Rules::Radio;
    request.backUp = options.backup;
    request.verify = options.verify;
    request.refuseEmptying = !options.force;
    request.channels = ChannelCsv::fromTable(table, table.rowCount());
    // What no radio of the series takes is refused before one is looked for.
    if (reportProblems(options.file, ChannelFileCheck::check(table, ChannelRules::largestMemory, request.rules),
                       refusedWriteAdvice()))
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
                       refusedWriteAdvice());
        return ExitCode::dataNotRight;
    }
    return reportWrite(result, radio.connection().modelLabel(), {options.file, options.port, QStringLiteral("written")});
}
