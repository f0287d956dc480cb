#pragma once

#include <QByteArray>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QIODevice;

// One record of a CSV file, its fields unquoted.
class CsvRecord
{
public:
    // The record's place among the file's records, the first being 1.
    qint64 number() const { return recordNumber; }
    int size() const { return int(fieldEnds.size()); }
    // Field `column` (from 0) as the file's bytes; empty when there is none.
    QByteArray field(int column) const;
    // The same bytes, not copied: valid only until the next record is read,
    // for fields looked at in place.
    std::string_view peek(int column) const;
    // False for a last record that ends with the file, without a line end:
    // a file cut short ends so.
    bool endsInLineEnd() const { return lineEnd; }

private:
    friend class CsvParse;

    qint64 recordNumber = 0;
    bool lineEnd = true;
    std::string text;            // the fields back to back, reused from record to record
    std::vector<size_t> fieldEnds; // where each field ends in `text`
};

// RFC 4180 CSV, read with libcsv: fields separated by commas, in double
// quotes when they hold a comma, a quote (written "") or a line end; records
// ending at CR LF, LF or CR. Spaces belong to their field. Blank lines make
// no record. A UTF-8 byte-order mark at the start of the file is dropped.
// Malformed quoting is read leniently (a stray quote is kept as a
// character) rather than refused.
namespace CsvReader {

enum class Result { Read, Stopped, ReadFailed };

using RecordHandler = std::function<bool(const CsvRecord &)>;

// Hands every record of the device, from where it stands to its end, to
// `handler` in file order until the handler returns false (Stopped).
// ReadFailed when the device is not readable, a read fails part-way or
// memory runs out.
Result read(QIODevice &device, const RecordHandler &handler);

} // namespace CsvReader
