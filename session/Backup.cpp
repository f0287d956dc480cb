#include "Backup.h"

#include "ChannelCsv.h"
#include "ChannelFrame.h"
#include "CsvTable.h"
#include "LinkConstants.h"
#include "RadioModels.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

constexpr unsigned frameField = 2; // after the name and the frequency
constexpr int longestBackup = 1 << 20; // far above 100 lines of a backup

const char *const purposeWords[] = {"", "read", "write", "restore", "diff"};

constexpr char timeFormat[] = "yyyyMMdd-HHmmss";
constexpr int timeLength = 15; // yyyyMMdd-HHmmss
constexpr char suffix[] = ".csv";

} // namespace

QString purposeWord(BackupPurpose purpose)
{
    return QLatin1String(purposeWords[int(purpose)]);
}

BackupPurpose purposeOf(const QString &word)
{
    for (int k = 1; k < int(std::size(purposeWords)); ++k) {
        if (word == QLatin1String(purposeWords[k]))
            return BackupPurpose(k);
    }
    return BackupPurpose::Unknown;
}

QByteArray backupLine(const Channel &channel, const QByteArray &frame)
{
    return ChannelCsv::recordLine(channel, {frame.toHex(' ').toUpper()});
}

bool readBackup(const QString &path, Backup &backup)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray content = file.read(longestBackup);
    CsvTable table;
    if (!table.readBytes(content))
        return false;
    backup = Backup();
    BackupName name;
    if (parseBackupName(QFileInfo(path).fileName(), name)) {
        backup.modelLabel = name.modelLabel;
        backup.purpose = name.purpose;
    }
    backup.channels = ChannelCsv::fromTable(table, table.rowCount());
    QVector<QByteArray> frames;
    for (unsigned row = 0; row < table.rowCount(); ++row) {
        const QByteArray frame = QByteArray::fromHex(table.cell(row, frameField));
        if (frame.size() != Link::frameLength)
            break;
        frames.append(frame);
    }
    if (!frames.isEmpty() && frames.size() == backup.channels.size()) {
        backup.frames = frames;
        for (int k = 0; k < frames.size(); ++k)
            backup.channels[k] = Link::decodeChannelFrame(frames.at(k));
    }
    const RadioModel *model = RadioModels::named(backup.modelLabel);
    backup.whole = model && !backup.frames.isEmpty() && backup.frames.size() == model->channelCount
        && content.endsWith("\r\n");
    return true;
}

QString backupStem(const QString &modelLabel, const QDateTime &time, BackupPurpose purpose, const QString &portName)
{
    QString stem = modelLabel + QLatin1Char('-') + time.toString(QLatin1String(timeFormat));
    if (purpose != BackupPurpose::Unknown)
        stem += QLatin1Char('-') + purposeWord(purpose);
    const QString port = portFileTag(portName);
    if (!port.isEmpty())
        stem += QLatin1Char('-') + port;
    return stem;
}

QString backupFileName(const QString &stem, int k)
{
    return stem + (k == 1 ? QString() : QStringLiteral("-%1").arg(k)) + QLatin1String(suffix);
}

bool parseBackupName(const QString &fileName, BackupName &name)
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
        name.modelLabel = QLatin1String(model.label);
        name.time = time;
        // Then "-write" (older backups name no purpose), then the port.
        QString rest = fileName.mid(prefix.size() + timeLength);
        rest.chop(int(qstrlen(suffix)));
        const QString word = rest.section(QLatin1Char('-'), 1, 1);
        name.purpose = purposeOf(word);
        if (name.purpose != BackupPurpose::Unknown)
            rest.remove(0, word.size() + 1);
        name.portTag = rest.mid(1);
        return true;
    }
    return false;
}

QString portFileTag(const QString &portName)
{
    QString tag = portName;
    if (tag.startsWith(QLatin1String("/dev/")))
        tag.remove(0, 5);
    tag.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("-"));
    return tag.remove(QRegularExpression(QStringLiteral("^-+|-+$")));
}
