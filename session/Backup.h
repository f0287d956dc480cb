#pragma once

#include "Channel.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>

// What a backup of a radio's memory was taken before: a read, a write, a
// restore, a comparison. Only the memory before a write or a restore is
// one a user may need to put back.
enum class BackupPurpose { Unknown, Read, Write, Restore, Diff };

// The word for it in a backup's name and in vkrtool's output: "write".
QString purposeWord(BackupPurpose purpose);
BackupPurpose purposeOf(const QString &word);

// A backup file as read back. It is a channel file (name and frequency per
// line, for people and other programs), and after them each channel's
// frame as the radio sent it, in hex, so that a restore puts back the
// memory byte for byte (a name with two spaces, a ';' or a '"' included).
struct Backup {
    QString modelLabel;         // from the file's name; empty when the name does not say
    BackupPurpose purpose = BackupPurpose::Unknown;
    Channels channels;          // the channels, from the frames where every line has one
    QVector<QByteArray> frames; // one per channel as read; empty when a line lacks its frame
    // The memory of a model, whole: one line per channel of the model, each
    // with its frame, the last one ended as the program ends its backups.
    bool whole = false;
};

// The file's line for one channel of a backup: the channel as a channel
// file writes it, then its frame in hex.
QByteArray backupLine(const Channel &channel, const QByteArray &frame);

// Reads a backup (or any channel file: then without frames, and not whole).
// False when the file cannot be read.
bool readBackup(const QString &path, Backup &backup);

// What a backup's file name says: MODEL-yyyyMMdd-HHmmss, then the purpose
// ("-write"; older backups name none), then the port ("-ttyUSB0"), and a
// number that keeps two of one second and port apart ("-2").
struct BackupName {
    QString modelLabel;
    QDateTime time; // to the second
    BackupPurpose purpose = BackupPurpose::Unknown;
    QString portTag; // the port as portFileTag gives it, with the number if any; empty when it names none
};
// The name without the number and the suffix.
QString backupStem(const QString &modelLabel, const QDateTime &time, BackupPurpose purpose, const QString &portName);
// The name for the k-th backup of one stem (k from 1).
QString backupFileName(const QString &stem, int k);
// The model, time, purpose and port a backup's file name gives; false for
// a name the program does not give its backups.
bool parseBackupName(const QString &fileName, BackupName &name);

// A port as part of a file name: /dev/ttyUSB0 gives ttyUSB0, /dev/pts/3
// gives pts-3, COM4 stays COM4.
QString portFileTag(const QString &portName);
