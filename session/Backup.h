#pragma once

#include "Channel.h"

#include <QByteArray>
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
