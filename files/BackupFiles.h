#pragma once

#include <QDateTime>
#include <QString>

// Where the command-line tool keeps the radio's memory before it overwrites
// it: the user's data folder, "backups", one channel file per backup named
// by model and time, e.g. VKR627A-20261207-143005.csv.
namespace BackupFiles {

// A path for a new backup that no file has yet; the folder is made. Empty
// when the folder cannot be made.
QString newBackupPath(const QString &modelLabel, const QDateTime &time);

} // namespace BackupFiles
