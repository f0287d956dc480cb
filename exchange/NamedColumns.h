#pragma once

#include "ImportResult.h"

#include <QByteArrayList>
#include <QVector>

#include <functional>
#include <string_view>

class CsvRecord;
class QIODevice;

// CSV files whose header row names their columns, in any order: the
// columns an importer needs are found by name, the others ignored.
// The separator spreadsheets set to a European locale put between the
// fields of a CSV file, where CHIRP and OurAirports put ",".
constexpr char localeSeparator = ';';

struct ColumnNames {
    QByteArrayList required; // a file without one of these is refused
    QByteArrayList optional; // a file without one gives empty fields
    // Records with fewer fields than the header are skipped, not only those
    // lacking a required one: where the wanted columns come early, a record
    // cut short still holds them, its last one cut ("122.9" of "122.925").
    // So is a last record without a line end whose last field is wanted.
    bool wholeRecordsOnly = false;
};

// A record's fields in the order of `required`, then `optional`, each
// copied out only when asked for: most records of a large file are looked
// at for one or two fields. Valid during the handler's call.
class NamedFields
{
public:
    NamedFields(const CsvRecord &record, const QVector<int> &columns)
        : record(record)
        , columns(columns)
    {
    }
    // Empty for an optional column the file lacks.
    QByteArray at(int k) const;
    // Not copied, for a field looked at and let go within the handler.
    std::string_view peek(int k) const;

private:
    const CsvRecord &record;
    const QVector<int> &columns;
};

using ColumnRecordHandler = std::function<void(qint64 recordNumber, const NamedFields &fields)>;

// The index of the header's column of that name (spaces around and case
// ignored), or -1.
int findColumn(const CsvRecord &header, const QByteArray &name);

// Reads the header, then hands every later record to `handler`. A header
// without a required column is DataNotRight, with one message naming the
// missing columns and `fileName` (and the ";" where the header is separated
// by that instead), and no record is handed out; a record without a
// required field is skipped, with a message giving its number; a failed
// read is FileNotUsable. A last record without a line end is handed out,
// with a message that the file may be cut.
ImportOutcome readNamedColumns(QIODevice &device, const QString &fileName, const ColumnNames &names,
                               const ColumnRecordHandler &handler, QStringList &messages);

// "file, record 12: what": how every message about a record begins.
QString recordMessage(const QString &fileName, qint64 recordNumber, const QString &what);
