// vkrtool backups and vkrtool restore: the backups kept of radios'
// memories, and putting one back with the safe write.
#include "Commands.h"

#include "Console.h"
#include "ExitCodes.h"
#include "JsonOutput.h"
#include "QuotedText.h"
#include "RadioRuns.h"

#include <QFileInfo>

namespace {

constexpr char latestWord[] = "latest";

// "before a write": what came after the backup was taken.
QString takenBefore(BackupPurpose purpose)
{
    return purpose == BackupPurpose::Unknown ? QString() : QStringLiteral("before a %1").arg(purposeWord(purpose));
}

} // namespace

int Commands::backups()
{
    const QVector<BackupStore::Entry> entries = BackupStore().list();
    if (JsonOutput::enabled()) {
        QJsonArray array;
        for (const BackupStore::Entry &entry : entries) {
            QJsonObject object;
            object.insert(JsonKey::path, entry.path);
            object.insert(JsonKey::model, entry.modelLabel);
            object.insert(JsonKey::time, entry.time.toString(Qt::ISODate));
            object.insert(JsonKey::channels, entry.usedChannels);
            object.insert(JsonKey::takenBefore, purposeWord(entry.purpose));
            object.insert(JsonKey::port, entry.portTag);
            array.append(object);
        }
        JsonOutput::print(array);
        return ExitCode::success;
    }
    if (entries.isEmpty())
        Console::err(QStringLiteral("no backups in %1").arg(BackupStore().folder()));
    for (const BackupStore::Entry &entry : entries)
        Console::out(QStringLiteral("%1  %2  %3  %4 channel(s)  %5")
                         .arg(entry.shownTime(), entry.modelLabel, entry.path)
                         .arg(entry.usedChannels)
                         .arg(takenBefore(entry.purpose)));
    return ExitCode::success;
}

int Commands::restore(const QString &backup, const QString &port, bool force)
{
    if (backup != QLatin1String(latestWord) && !QFileInfo(backup).isFile()) {
        Console::fail(QStringLiteral("there is no backup %1; \"vkrtool backups\" lists them.").arg(QuotedText::escaped(backup)));
        return ExitCode::cannotUse;
    }
    ToolRadio radio;
    if (const int failed = connectRadio(radio, port))
        return failed;
    QString file = backup;
    if (backup == QLatin1String(latestWord)) {
        const BackupStore::Latest latest =
            radio.backups().latestBeforeChange(radio.connection().modelLabel(), radio.connection().portName());
        if (latest.path.isEmpty()) {
            if (latest.candidates.isEmpty()) {
                Console::fail(QStringLiteral("there is no backup of a %1 taken before a write; \"vkrtool backups\" "
                                             "lists those there are.")
                                  .arg(radio.connection().modelLabel()));
                return ExitCode::cannotUse;
            }
            // Which radio's memory it is, this protocol cannot tell: the user
            // says, with the file.
            Console::fail(QStringLiteral("no backup of a %1 was taken before a write on %2, so which one is this "
                                         "radio's is not clear; name the file: vkrtool restore FILE --port %2")
                              .arg(radio.connection().modelLabel(), QuotedText::escaped(radio.connection().portName())));
            for (const BackupStore::Entry &entry : latest.candidates)
                Console::err(QStringLiteral("  %1  before a %2 on %3  %4")
                                 .arg(entry.shownTime(), purposeWord(entry.purpose), entry.portTag, entry.path));
            return ExitCode::usage;
        }
        file = latest.path;
    }
    Console::out(QStringLiteral("restoring %1").arg(QuotedText::escaped(file)));
    const Session::JobObserver observer = radio.observer();
    Session::RestoreRequest request;
    request.backupPath = file;
    request.force = force;
    const Session::WriteReport result = Session::restoreBackup(radio.connection(), radio.backups(), request, observer);
    radio.endProgress();
    const WriteContext context{file, radio.connection().portName(), true, force};
    const RadioVerdict verdict = judgeWrite(result, radio.connection().modelLabel(), context);
    if (JsonOutput::enabled()) {
        QJsonObject document = JsonOutput::merged(writeJson(result), radioKeys(radio.connection(), verdict));
        document.insert(JsonKey::file, file);
        JsonOutput::print(document);
    }
    return sayVerdict(verdict);
}
