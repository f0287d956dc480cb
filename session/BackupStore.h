#pragma once

#include "Backup.h"

#include <QDateTime>
#include <QString>
#include <QVector>

// The backups of radios' memories that the window and vkrtool keep, in
// one folder both share (the user's data folder, "backups"): one file per
// complete read (Backup), named by model, time, what it was taken before and
// port, e.g. VKR627A-20261207-143005-write-ttyUSB0.csv. A backup is saved
// under a name no file has, complete or not at all, and never overwrites
// another, so two programs reading two radios in the same second keep both.
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
    // Saves a radio's memory, each channel with the frame it came in, as a
    // new backup, then thins the folder out.
    Saved save(const QString &modelLabel, const QString &portName, const Channels &channels,
               const QVector<QByteArray> &frames, BackupPurpose purpose,
               const QDateTime &time = QDateTime::currentDateTime());

    struct Entry {
        QString path;
        QString modelLabel;
        QDateTime time;        // from the name, to the second
        BackupPurpose purpose = BackupPurpose::Unknown;
        QString portTag;       // the port as the name gives it (portFileTag); empty when it names none
        int usedChannels = 0;  // channels that hold a name or a frequency

        // The time as both programs show it: "2026-12-07 14:30:05".
        QString shownTime() const { return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }
        bool wasTakenOn(const QString &portName) const;
    };
    // The backups in the folder, newest first. Files the store did not name
    // are left out.
    QVector<Entry> list() const;

    // The backup a restore with no file means for the radio of that model
    // on that port: the newest taken before a write or a restore of that
    // model on that port. None was: `candidates` lists those taken on other
    // ports, as this protocol cannot tell which radio a memory came from.
    struct Latest {
        QString path;
        QVector<Entry> candidates;
    };
    Latest latestBeforeChange(const QString &modelLabel, const QString &portName) const;

    // Removes the oldest backups beyond `keep`, but never the newest one of
    // any model, which a user may still need to put a radio back.
    void prune(int keep = maxBackups);

private:
    // The files the store named, newest first, without their channel counts.
    QVector<Entry> namedFiles() const;

    QString location;
};

