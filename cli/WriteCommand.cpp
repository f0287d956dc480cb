// vkrtool write: the safe write. The file is checked first, the radio's
// memory is kept as a backup, then written, then read back and compared.
#include "Commands.h"

#include "BackupFiles.h"
#include "ChannelComparison.h"
#include "ChannelFileCheck.h"
#include "ChannelFileSource.h"
#include "Console.h"
#include "ExitCodes.h"
#include "RadioSession.h"

#include <QDateTime>

namespace {

// The command that puts the backup back, as the user can paste it.
QString restoreCommand(const QString &backup, const QString &port)
{
    QString command = QStringLiteral("vkrtool write --force \"%1\"").arg(backup);
    if (!port.isEmpty())
        command += QStringLiteral(" --port %1").arg(port);
    return command;
}

class SafeWrite
{
public:
    explicit SafeWrite(const Commands::WriteOptions &options)
        : options(options)
    {
    }

    int run()
    {
        CsvTable table;
        if (!loadChannelFile(options.file, table))
            return ExitCode::cannotUse;
        const auto rules = options.force ? ChannelFileCheck::Rules::Encodable : ChannelFileCheck::Rules::Radio;
        if (refused(ChannelFileCheck::check(table, int(table.rowCount()), rules)))
            return ExitCode::dataNotRight;
        if (!radio.connect(options.port))
            return ExitCode::cannotUse;
        if (refused(ChannelFileCheck::check(table, radio.channelCount(), rules)))
            return ExitCode::dataNotRight;
        channels = ChannelCsv::fromTable(table, unsigned(radio.channelCount()));

        if (options.backup) {
            if (const int code = backUp())
                return code;
        }
        if (const int code = writeChannels())
            return code;
        if (!options.verify) {
            Console::out(QStringLiteral("%1 channels written to the %2 (not verified)")
                             .arg(radio.channelCount())
                             .arg(radio.modelLabel()));
            return ExitCode::success;
        }
        return verify();
    }

private:
    bool refused(const QVector<ChannelProblem> &problems) const
    {
        return reportProblems(options.file, problems,
                              QStringLiteral(", so the radio received nothing; correct them and write again"));
    }

    int backUp()
    {
        int failure = ExitCode::success;
        const std::optional<ChannelRecords> held =
            radio.read(QStringLiteral("backing up"),
                       {QStringLiteral("interrupted during the backup read; the radio was not changed."),
                        QStringLiteral("the backup read"),
                        QStringLiteral(", so the radio was not written; check the cable and try again")},
                       failure);
        if (!held)
            return failure;
        backup = BackupFiles::newBackupPath(radio.modelLabel(), QDateTime::currentDateTime());
        if (backup.isEmpty() || !ChannelCsv::writeFile(backup, *held)) {
            Console::fail(QStringLiteral("the backup could not be saved in the data folder, so the radio was not "
                                         "written; free some disk space, or write with --no-backup."));
            return ExitCode::cannotUse;
        }
        Console::out(QStringLiteral("backup of the radio's memory: %1").arg(backup));
        return ExitCode::success;
    }

    int writeChannels()
    {
        const Link::WriteResult result = radio.write(channels);
        if (result.stopped) {
            Console::fail(QStringLiteral("interrupted after %1 of %2 channels; the closing byte was not sent, so a "
                                         "radio that stores a write only when it is closed keeps its old memory, "
                                         "but the radio may hold a mix of old and new channels. Check it with "
                                         "\"vkrtool diff radio %3\"%4.")
                              .arg(result.sent)
                              .arg(radio.channelCount())
                              .arg(options.file, restoreAdvice()));
            return ExitCode::interrupted;
        }
        acknowledged = result.allAcknowledged;
        if (!acknowledged && !options.verify) {
            Console::fail(QStringLiteral("the radio did not take every channel, so its memory may differ from "
                                         "the file; check it with \"vkrtool diff radio %1\"%2.")
                              .arg(options.file, restoreAdvice()));
            return ExitCode::cannotUse;
        }
        return ExitCode::success;
    }

    int verify()
    {
        int failure = ExitCode::success;
        const std::optional<ChannelRecords> held = radio.read(
            QStringLiteral("verifying"),
            {QStringLiteral("interrupted during the verify: the write is done but unchecked; check it with "
                            "\"vkrtool diff radio %1\".")
                 .arg(options.file),
             QStringLiteral("the read-back"),
             QStringLiteral(", so the write is unchecked; check it with \"vkrtool diff radio %1\"%2")
                 .arg(options.file, restoreAdvice())},
            failure);
        if (!held)
            return failure;
        const QVector<ChannelComparison::Difference> differences = ChannelComparison::differences(channels, *held);
        for (const ChannelComparison::Difference &d : differences)
            Console::out(QStringLiteral("channel %1: expected %2, found %3")
                             .arg(d.channel)
                             .arg(describeChannel(d.first), describeChannel(d.second)));
        if (!differences.isEmpty()) {
            Console::fail(QStringLiteral("the radio holds %1 channel(s) other than written%2.")
                              .arg(differences.size())
                              .arg(restoreAdvice()));
            return ExitCode::dataNotRight;
        }
        if (!acknowledged) {
            Console::fail(QStringLiteral("the radio refused or did not answer some channels, although it holds "
                                         "the file now; check the cable before relying on it."));
            return ExitCode::cannotUse;
        }
        Console::out(QStringLiteral("%1 channels written to the %2 and verified")
                         .arg(radio.channelCount())
                         .arg(radio.modelLabel()));
        return ExitCode::success;
    }

    QString restoreAdvice() const
    {
        if (backup.isEmpty())
            return QStringLiteral("; no backup was made");
        return QStringLiteral("; restore the backup with: %1").arg(restoreCommand(backup, options.port));
    }

    const Commands::WriteOptions &options;
    RadioSession radio;
    ChannelRecords channels;
    QString backup;
    bool acknowledged = true;
};

} // namespace

int Commands::write(const WriteOptions &options)
{
    return SafeWrite(options).run();
}
