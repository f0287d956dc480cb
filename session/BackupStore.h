#pragma once

#include "ChannelCsv.h"

#include <QDateTime>
#include <QString>
#include <QVector>

// The backups of radios' memories that the window and vkrtool keep, in
// one folder both share (the user's data folder, "backups"): one channel
// file per complete read, named by model, time and port, e.g.
// VKR627A-20261207-143005-ttyUSB0.csv. A backup is saved under a name no
// file has, complete or not at all, and never overwrites another, so two
// programs reading two radios in the same second keep both.
class BackupStore
{
public:
    // At most this many backups are kept; older ones go as new ones come.
    static constexpr int maxBackups = 500;

    // The shared folder; `folder` names another (for tests).
    BackupStore();
    explicit BackupStore(const QString &folder);

    QString folder() const { return location; }

    struct Saved {
        QString path;  // empty when it was not saved
        QString error; // why not, in the system's words
    };
    // Saves a radio's memory as a new backup, then thins the folder out.
    Saved save(const QString &modelLabel, const QString &portName, const Channels &channels,
               const QDateTime &time = QDateTime::currentDateTime());

    struct Entry {
        QString path;
        QString modelLabel;
        QDateTime time;        // from the name, to the second
        int usedChannels = 0;  // channels that hold a name or a frequency

        // The time as both programs show it: "2026-12-07 14:30:05".
        QString shownTime() const { return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }
    };
    // The backups in the folder, newest first. Files the store did not name
    // are left out.
    QVector<Entry> list() const;

    // Removes the oldest backups beyond `keep`, but never the newest one of
    // any model, which a user may still need to put a radio back.
    void prune(int keep = maxBackups);

private:
    // The files the store named, newest first, without their channel counts.
    QVector<Entry> namedFiles() const;

    QString location;
};

// A port as part of a file name: /dev/ttyUSB0 gives ttyUSB0, /dev/pts/3
// gives pts-3, COM4 stays COM4.
QString portFileTag(const QString &portName);

// The channels of a backup file (or any channel file): its records in
// order. False when it cannot be read.
bool readChannelFile(const QString &path, Channels &channels);
