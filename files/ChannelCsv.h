#pragma once

#include "Channel.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QVector>

class CsvTable;

// Channel CSV files: one record per line, "name;frequency" followed by CR LF
// on every platform, UTF-8, no header, no byte-order mark. The record's
// position in the file is its channel's position in the memory.
namespace ChannelCsv {

// A record a channel file cannot hold so that it reads back the same: its
// name or frequency holds the field separator, a line end or a zero byte.
struct Unwritable {
    int record = -1; // -1: every record can be written
    bool inName = true;
    QChar character;
};
Unwritable findUnwritable(const Channels &records);

// The file content for the records: every record from the first one up to
// the last one that holds a name or a frequency, so that empty channels
// between filled ones keep their places (an empty record is the line ";").
// Records with nothing in them at the end are left out; no filled record
// at all gives no bytes. A field that reading would change is written so
// that it reads back as it is: one that starts and ends with a double
// quote gets one more pair, which reading takes off. What a file cannot
// hold at all (findUnwritable) is replaced: ';' by ',', a line end by a
// space, a zero byte dropped.
QByteArray toBytes(const Channels &records);

// One record's line, as toBytes writes it, with further fields after it
// (each written as it is; they hold no separator, quote or line end).
QByteArray recordLine(const Channel &record, const QByteArrayList &more = {});

// Writes the bytes to the named file, by its full Unicode name, complete or
// not at all: they go to a temporary file beside it, which replaces the
// named file only once everything was written, flushed and closed; on any
// failure the previous file stays exactly as it was and the result is
// false. Where no file can be created beside it (a read-only folder) but
// the named file itself may be written, it is written directly, without
// that protection. So is a target that is no regular file (a device, a
// FIFO), which a rename would replace; a folder is refused. Every file the
// program writes is saved this way. On a
// failure `why`, when given, receives the system's reason.
bool saveBytes(const QString &fileName, const QByteArray &bytes, QString *why = nullptr);

// saveBytes of toBytes(records), or nothing written and false for records
// that a file cannot hold (findUnwritable; `why` then says which).
bool writeFile(const QString &fileName, const Channels &records, QString *why = nullptr);

// The first `maxRecords` rows of a table read from a channel file, or all
// of them when it holds fewer: field 0 is the name, field 1 the frequency,
// each decoded as UTF-8 whole, zero bytes included (ChannelFileCheck names
// them). Further fields are ignored; a missing one is empty.
Channels fromTable(const CsvTable &table, unsigned maxRecords);

} // namespace ChannelCsv
