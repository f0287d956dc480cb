#include "Backup.h"

#include "BackupStore.h"
#include "ChannelCsv.h"
#include "ChannelFrame.h"
#include "CsvTable.h"
#include "LinkConstants.h"
#include "RadioModels.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr unsigned frameField = 2; // after the name and the frequency
constexpr int longestBackup = 1 << 20; // far above 100 lines of a backup

const char *const purposeWords[] = {"", "read", "write", "restore", "diff"};

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
    BackupStore::Entry entry;
    if (BackupStore::parseName(QFileInfo(path).fileName(), entry)) {
        backup.modelLabel = entry.modelLabel;
        backup.purpose = entry.purpose;
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
