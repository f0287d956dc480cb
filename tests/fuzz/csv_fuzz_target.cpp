// libFuzzer target for reading channel files: any bytes must be read
// without a crash, a leak or undefined behaviour, and must give the rows
// the plain model of the format gives, whole or in pieces. The field
// functions and the writer are run on the same bytes.
#include "ChannelCsv.h"
#include "CsvTable.h"
#include "FuzzSupport.h"
#include "ReferenceCsv.h"

#include <cstdint>

namespace {

// Reading changes such a field on purpose: enclosing quotes are removed,
// and a byte-order mark at the start of a field (or of the file) is dropped.
bool changesWhenRead(const QString &field)
{
    const bool quoted = field.size() >= 2 && field.startsWith(QLatin1Char('"')) && field.endsWith(QLatin1Char('"'));
    return quoted || field.startsWith(QChar(0xFEFF));
}

// Writing the records a file gave and reading them back gives the same
// records, unless a field is one that reading changes.
void checkRoundTrip(const CsvTable &table)
{
    ChannelRecords records = ChannelCsv::fromTable(table, table.rowCount());
    for (const ChannelRecord &record : records) {
        if (changesWhenRead(record.name) || changesWhenRead(record.frequency))
            return;
    }
    CsvTable again;
    if (!again.readBytes(ChannelCsv::toBytes(records)))
        fail("written records do not read back", QByteArray());
    ChannelRecords back = ChannelCsv::fromTable(again, again.rowCount());
    while (!records.isEmpty() && records.last().isEmpty())
        records.removeLast();
    if (back != records)
        fail("round trip changed the records", ChannelCsv::toBytes(records).toHex(' '));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QByteArray content(reinterpret_cast<const char *>(data), int(size));

    CsvTable table;
    if (!table.readBytes(content))
        fail("readBytes refused", content.toHex(' '));
    const QByteArray difference = differenceFromReference(table, content);
    if (!difference.isEmpty())
        fail("differs from the model", difference);

    const int piece = size > 0 ? 1 + data[0] % 7 : 1;
    PieceDevice device(&content, piece);
    CsvTable inPieces;
    if (!inPieces.read(device) || !differenceFromReference(inPieces, content).isEmpty())
        fail("reading in pieces differs", QByteArray::number(piece));

    checkRoundTrip(table);

    // The field functions on the raw bytes.
    QByteArray line = content;
    CsvTable::ansiToUtf8(line);
    const QByteArray separators = content.left(2);
    const QList<QByteArray> fields = CsvTable::split(content, separators);
    int separatorCount = 0;
    for (const char byte : content)
        separatorCount += separators.contains(byte) ? 1 : 0;
    if (fields.size() != separatorCount + 1)
        fail("split field count", content.toHex(' '));
    for (const QByteArray &field : fields)
        CsvTable::unquote(field);
    for (unsigned row = 0; row <= table.rowCount(); ++row)
        table.cell(row, 0xFFFFFFFFu);
    return 0;
}
