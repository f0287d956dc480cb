#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

class QIODevice;

// The rows of the last channel CSV file read, as 8-bit text fields.
//
// A file is read line by line (a line ends at LF; one CR right before it, or
// at the very end of the file, is dropped). A UTF-8 byte-order mark at the
// start of the file is dropped. Each line that is not well-formed UTF-8 is
// taken as Windows-1252 and converted (`ansiToUtf8`). An empty line makes no
// row; every other line becomes one row, split at each ";". Fields are kept
// as they stand in the line, enclosing quotes included; `cell` hands them
// out without the quotes.
//
// The rows are held compactly (all lines in one buffer plus field offsets),
// so a very large file costs little more memory than its own size.
class CsvTable
{
public:
    CsvTable();

    // Replaces the rows with those of the named file, opened by its full
    // Unicode name. False, with no rows, when the file does not open, a read
    // fails part-way, or the content does not fit into memory.
    bool read(const QString &fileName);
    // The same from a device already open for reading, read to its end.
    bool read(QIODevice &device);
    // The same from the bytes of a whole file held in memory.
    bool readBytes(const QByteArray &content);

    // What the bytes of the last file read were, where that makes its
    // lines no rows of text at all.
    enum class Encoding {
        Lines,      // lines of UTF-8 or Windows-1252 text
        Utf16,      // UTF-16 (a byte-order mark, or a zero byte beside each ASCII one)
        NoLineEnds, // line ends of CR alone (old Macintosh files): one line of many records
    };
    Encoding encoding() const { return fileEncoding; }

    unsigned rowCount() const;
    // The field after `unquote`; empty when the row or field does not exist.
    QByteArray cell(unsigned row, unsigned column) const;
    // Number of fields of a row (at least 1); 0 when the row does not exist.
    unsigned fieldCount(unsigned row) const;
    // The line of the file the row came from, counted from 1 (blank lines
    // make no row but are counted); 0 when the row does not exist.
    unsigned lineNumber(unsigned row) const;

    // The fields of a line between the bytes of `separators`: k separators
    // give k + 1 fields, empty ones included; nothing is trimmed.
    static QList<QByteArray> split(const QByteArray &line, const QByteArray &separators);
    // A field of two or more bytes enclosed in double quotes loses them
    // (nothing inside is unescaped); any other field comes back unchanged.
    static QByteArray unquote(const QByteArray &field);
    // Leaves a well-formed UTF-8 line as it is. Any other line is taken as
    // Windows-1252: its bytes for Ä ä Ö ö Ü ü ß ° µ become their UTF-8 forms
    // and the en dash becomes "-"; all other bytes stay.
    static void ansiToUtf8(QByteArray &line);

private:
    class Loader;

    void clear();
    void reserveFor(qint64 fileSize);
    // Stores one line (after the line end, the byte-order mark and the
    // character conversion are dealt with) as a row; false when full.
    bool appendRow(const char *begin, const char *end, quint32 line);

    // Every stored line back to back, without its line end; a row's fields
    // are separated by ";" in it. Field k starts at fieldStarts[k] and ends
    // before the next field's separator or where the next row starts. Row r
    // owns the fields [rowFirstFields[r], rowFirstFields[r + 1]). Each offset
    // list ends with a closing entry (the end of the text, the field count),
    // so an empty table holds one 0 in each.
    QByteArray fieldText;
    std::vector<quint32> fieldStarts;
    std::vector<quint32> rowFirstFields;
    std::vector<quint32> rowLines;
    Encoding fileEncoding = Encoding::Lines;
};
