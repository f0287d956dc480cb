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
            array.append(object);
        }
        JsonOutput::print(array);
        return ExitCode::success;
    }
    if (entries.isEmpty())
        Console::err(QStringLiteral("no backups in %1").arg(BackupStore().folder()));
    for (const BackupStore::Entry &entry : entries)
        Console::out(QStringLiteral("%1  %2  %3  %4 channel(s)")
                         .arg(entry.shownTime(), entry.modelLabel, entry.path)
                         .arg(entry.usedChannels));
    return ExitCode::success;
}

int Commands::restore(const QString &backup, const QString &port)
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
        // The newest backup of this radio's model.
        file.clear();
        for (const BackupStore::Entry &entry : radio.backups().list()) {
            if (entry.modelLabel == radio.connection().modelLabel()) {
                file = entry.path;
                break;
            }
        }
        if (file.isEmpty()) {
            Console::fail(QStringLiteral("there is no backup of a %1; \"vkrtool backups\" lists those there are.")
                              .arg(radio.connection().modelLabel()));
            return ExitCode::cannotUse;
        }
    }
    Console::out(QStringLiteral("restoring %1").arg(QuotedText::escaped(file)));
    const Session::JobObserver observer = radio.observer();
    const Session::WriteReport result = Session::restoreBackup(radio.connection(), radio.backups(), file, observer);
    radio.endProgress();
    const RadioVerdict verdict = judgeWrite(result, radio.connection().modelLabel(), {file, radio.connection().portName(), QStringLiteral("restored")});
    if (JsonOutput::enabled()) {
        QJsonObject document = JsonOutput::merged(writeJson(result), radioKeys(radio.connection(), verdict));
        document.insert(JsonKey::file, file);
        JsonOutput::print(document);
    }
    return sayVerdict(verdict);
}
