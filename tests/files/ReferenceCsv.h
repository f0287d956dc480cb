#pragma once

#include "CsvTable.h"

#include <QByteArray>
#include <QList>

// A plain model of how the bytes of a channel file become rows, written
// straight from the format's rules with no regard for speed or memory: cut
// at LF, drop one CR at the line's end, drop a byte-order mark at the start
// of the file, convert Windows-1252 lines, skip empty lines, split at ";".
// The reader's fields must equal these after unquoting.
inline QList<QList<QByteArray>> referenceRows(const QByteArray &content)
{
    QByteArray text = content;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    QList<QList<QByteArray>> rows;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        CsvTable::ansiToUtf8(line);
        if (!line.isEmpty())
            rows.append(CsvTable::split(line, ";"));
    }
    return rows;
}

// Where the reader's table differs from the model, in words; empty when
// every row, field count and cell agree.
inline QByteArray differenceFromReference(const CsvTable &table, const QByteArray &content)
{
    const QList<QList<QByteArray>> expected = referenceRows(content);
    if (table.rowCount() != unsigned(expected.size()))
        return "row count " + QByteArray::number(table.rowCount()) + " instead of "
            + QByteArray::number(expected.size());
    for (unsigned row = 0; row < table.rowCount(); ++row) {
        const QList<QByteArray> &fields = expected.at(int(row));
        if (table.fieldCount(row) != unsigned(fields.size()))
            return "row " + QByteArray::number(row) + ": field count " + QByteArray::number(table.fieldCount(row));
        for (unsigned column = 0; column < table.fieldCount(row); ++column) {
            if (table.cell(row, column) != CsvTable::unquote(fields.at(int(column))))
                return "row " + QByteArray::number(row) + " field " + QByteArray::number(column) + ": "
                    + table.cell(row, column).toHex(' ');
        }
    }
    if (!table.cell(table.rowCount(), 0).isEmpty())
        return "a cell beyond the last row";
    return QByteArray();
}
