#include "BackupStore.h"

#include "ProgramFolders.h"
#include "RadioModels.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <algorithm>
#include <optional>

namespace {

constexpr char folderName[] = "backups";
constexpr char timeFormat[] = "yyyyMMdd-HHmmss";
constexpr int timeLength = 15; // yyyyMMdd-HHmmss
constexpr char suffix[] = ".csv";

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

bool BackupStore::parseName(const QString &fileName, Entry &entry)
{
    if (!fileName.endsWith(QLatin1String(suffix)))
        return false;
    for (const RadioModel &model : RadioModels::all) {
        const QString prefix = QLatin1String(model.label) + QLatin1Char('-');
        if (!fileName.startsWith(prefix))
            continue;
        const QDateTime time = QDateTime::fromString(fileName.mid(prefix.size(), timeLength), QLatin1String(timeFormat));
        if (!time.isValid())
            continue;
        entry.modelLabel = QLatin1String(model.label);
        entry.time = time;
        // Then "-write" (older backups name no purpose), then the port.
        QString rest = fileName.mid(prefix.size() + timeLength);
        rest.chop(int(qstrlen(suffix)));
        const QString word = rest.section(QLatin1Char('-'), 1, 1);
        entry.purpose = purposeOf(word);
        if (entry.purpose != BackupPurpose::Unknown)
            rest.remove(0, word.size() + 1);
        entry.portTag = rest.mid(1);
        return true;
    }
    return false;
}

bool BackupStore::Entry::wasTakenOn(const QString &portName) const
{
    const QString tag = portFileTag(portName);
    return !tag.isEmpty() && (portTag == tag || (portTag.startsWith(tag) && isCopyNumber(portTag.mid(tag.size()))));
}

QString portFileTag(const QString &portName)
{
    QString tag = portName;
    if (tag.startsWith(QLatin1String("/dev/")))
        tag.remove(0, 5);
    tag.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("-"));
    return tag.remove(QRegularExpression(QStringLiteral("^-+|-+$")));
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
    QString stem = modelLabel + QLatin1Char('-') + time.toString(QLatin1String(timeFormat));
    if (purpose != BackupPurpose::Unknown)
        stem += QLatin1Char('-') + purposeWord(purpose);
    const QString port = portFileTag(portName);
    if (!port.isEmpty())
        stem += QLatin1Char('-') + port;
    for (int k = 1; k < 1000; ++k) {
        const QString name = stem + (k == 1 ? QString() : QStringLiteral("-%1").arg(k)) + QLatin1String(suffix);
        const QString path = QDir(location).filePath(name);
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
    const QFileInfoList files = QDir(location).entryInfoList({QStringLiteral("*") + QLatin1String(suffix)}, QDir::Files);
    for (const QFileInfo &info : files) {
        Entry entry;
        if (!parseName(info.fileName(), entry))
            continue;
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
