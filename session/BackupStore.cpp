#include "BackupStore.h"

#include "CsvTable.h"
#include "ProgramFolders.h"
#include "RadioModels.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <algorithm>

namespace {

constexpr char folderName[] = "backups";
constexpr char timeFormat[] = "yyyyMMdd-HHmmss";
constexpr int timeLength = 15; // yyyyMMdd-HHmmss
constexpr char suffix[] = ".csv";

// The model and time a backup's name gives, or false for another file.
bool parseName(const QString &fileName, BackupStore::Entry &entry)
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
        return true;
    }
    return false;
}

} // namespace

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

BackupStore::Saved BackupStore::save(const QString &modelLabel, const QString &portName,
                                     const Channels &channels, const QDateTime &time)
{
    Saved saved;
    if (!QDir().mkpath(location)) {
        saved.error = QStringLiteral("the folder %1 cannot be made").arg(location);
        return saved;
    }
    // Written whole under a temporary name first, then given its own name by
    // a rename that fails rather than replace a file already there.
    QTemporaryFile file(location + QStringLiteral("/.backup-XXXXXX"));
    const QByteArray bytes = ChannelCsv::toBytes(channels);
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush()) {
        saved.error = file.errorString();
        return saved;
    }
    file.close();
    QString stem = modelLabel + QLatin1Char('-') + time.toString(QLatin1String(timeFormat));
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
            saved.path = path;
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
        entry.path = info.filePath();
        entries.append(entry);
    }
    // Newest first; within one second, the one written last.
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        if (a.time != b.time)
            return a.time > b.time;
        return QFileInfo(a.path).lastModified() > QFileInfo(b.path).lastModified();
    });
    return entries;
}

QVector<BackupStore::Entry> BackupStore::list() const
{
    QVector<Entry> entries = namedFiles();
    for (Entry &entry : entries) {
        Channels channels;
        readChannelFile(entry.path, channels);
        entry.usedChannels = usedCount(channels);
    }
    return entries;
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

bool readChannelFile(const QString &path, Channels &channels)
{
    CsvTable table;
    if (!table.read(path))
        return false;
    channels = ChannelCsv::fromTable(table, table.rowCount());
    return true;
}
