#include "BackupStore.h"

#include "ProgramFolders.h"
#include "RadioModels.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <optional>

namespace {

constexpr char folderName[] = "backups";

// A number that keeps two backups of one second and port apart ("-2").
bool isCopyNumber(const QString &text)
{
    bool number = false;
    return text.startsWith(QLatin1Char('-')) && text.mid(1).toInt(&number) > 1 && number;
}

// Whether the backup named `a` was saved after the one named `b`, where one
// name is the other with a number to keep them apart ("X" and "X-2", "X-2"
// and "X-3"); nothing for names that do not tell.
std::optional<bool> laterCopy(const QString &a, const QString &b)
{
    if (b.startsWith(a) && isCopyNumber(b.mid(a.size())))
        return false;
    if (a.startsWith(b) && isCopyNumber(a.mid(b.size())))
        return true;
    const int dashA = a.lastIndexOf(QLatin1Char('-'));
    const int dashB = b.lastIndexOf(QLatin1Char('-'));
    if (dashA > 0 && dashB > 0 && a.left(dashA) == b.left(dashB) && isCopyNumber(a.mid(dashA))
        && isCopyNumber(b.mid(dashB)))
        return a.mid(dashA + 1).toInt() > b.mid(dashB + 1).toInt();
    return std::nullopt;
}

} // namespace

bool BackupStore::Entry::wasTakenOn(const QString &portName) const
{
    const QString tag = portFileTag(portName);
    return !tag.isEmpty() && (portTag == tag || (portTag.startsWith(tag) && isCopyNumber(portTag.mid(tag.size()))));
}

BackupStore::BackupStore()
    : BackupStore(ProgramFolders::dataFolder() + QLatin1Char('/') + QLatin1String(folderName))
{
}

BackupStore::BackupStore(const QString &folder)
    : location(folder)
{
}

BackupStore::Saved BackupStore::save(const QString &modelLabel, const QString &portName, const Channels &channels,
                                     const QVector<QByteArray> &frames, BackupPurpose purpose, const QDateTime &time)
{
    Saved saved;
    if (!QDir().mkpath(location)) {
        saved.error = QStringLiteral("the folder %1 cannot be made").arg(location);
        return saved;
    }
    // Written whole under a temporary name first, then given its own name by
    // a rename that fails rather than replace a file already there.
    QTemporaryFile file(location + QStringLiteral("/.backup-XXXXXX"));
    // Every channel of the memory, the empty ones at its end too: a backup
    // ends where the memory does.
    QByteArray bytes;
    for (int k = 0; k < channels.size(); ++k)
        bytes += backupLine(channels.at(k), frames.value(k));
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush()) {
        saved.error = file.errorString();
        return saved;
    }
    file.close();
    const QString stem = backupStem(modelLabel, time, purpose, portName);
    for (int k = 1; k < 1000; ++k) {
        const QString path = QDir(location).filePath(backupFileName(stem, k));
        if (QFileInfo::exists(path))
            continue;
        if (file.rename(path)) {
            file.setAutoRemove(false);
            saved.path = QDir::toNativeSeparators(path); // as people see paths: C:\Users\... on Windows
            prune();
            return saved;
        }
    }
    saved.error = file.errorString();
    return saved;
}

QVector<BackupStore::Entry> BackupStore::namedFiles() const
{
    QVector<Entry> entries;
    const QFileInfoList files = QDir(location).entryInfoList({QStringLiteral("*.csv")}, QDir::Files);
    for (const QFileInfo &info : files) {
        BackupName name;
        if (!parseBackupName(info.fileName(), name))
            continue;
        Entry entry;
        entry.modelLabel = name.modelLabel;
        entry.time = name.time;
        entry.purpose = name.purpose;
        entry.portTag = name.portTag;
        entry.path = QDir::toNativeSeparators(info.filePath());
        entries.append(entry);
    }
    // Newest first; within one second, the one written last: of one radio,
    // the one whose name got the higher number, which the files' times (to
    // the millisecond, or coarser) cannot always tell.
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        if (a.time != b.time)
            return a.time > b.time;
        const std::optional<bool> later = laterCopy(QFileInfo(a.path).completeBaseName(),
                                                    QFileInfo(b.path).completeBaseName());
        if (later)
            return *later;
        return QFileInfo(a.path).lastModified() > QFileInfo(b.path).lastModified();
    });
    return entries;
}

QVector<BackupStore::Entry> BackupStore::list() const
{
    QVector<Entry> entries = namedFiles();
    for (Entry &entry : entries) {
        Backup backup;
        readBackup(entry.path, backup);
        entry.usedChannels = usedCount(backup.channels);
    }
    return entries;
}

BackupStore::Latest BackupStore::latestBeforeChange(const QString &modelLabel, const QString &portName) const
{
    Latest latest;
    for (const Entry &entry : namedFiles()) {
        const bool beforeChange = entry.purpose == BackupPurpose::Write || entry.purpose == BackupPurpose::Restore;
        if (!beforeChange || entry.modelLabel != modelLabel)
            continue;
        if (entry.wasTakenOn(portName)) {
            latest.path = entry.path;
            latest.candidates.clear();
            return latest;
        }
        latest.candidates.append(entry);
    }
    return latest;
}

void BackupStore::prune(int keep)
{
    // Names and times are all it needs: no backup is opened.
    const QVector<Entry> entries = namedFiles();
    QStringList modelsSeen;
    for (int k = 0; k < entries.size(); ++k) {
        const bool newestOfModel = !modelsSeen.contains(entries[k].modelLabel);
        modelsSeen.append(entries[k].modelLabel);
        if (k >= keep && !newestOfModel)
            QFile::remove(entries[k].path);
    }
}
