#include "BackupFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace BackupFiles {

QString newBackupPath(const QString &modelLabel, const QDateTime &time)
{
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/backups");
    if (!QDir().mkpath(folder))
        return QString();
    const QString stem = folder + QLatin1Char('/') + modelLabel + time.toString(QStringLiteral("-yyyyMMdd-HHmmss"));
    QString path = stem + QStringLiteral(".csv");
    // Two backups within one second keep apart.
    for (int k = 2; QFileInfo::exists(path); ++k)
        path = stem + QStringLiteral("-%1.csv").arg(k);
    return path;
}

} // namespace BackupFiles
