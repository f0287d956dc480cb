// libFuzzer target for reading channel files: any bytes must be read
// without a crash, a leak or undefined behaviour, and must give the rows
// the plain model of the format gives, whole or in pieces. The field
// functions and the writer are run on the same bytes, and so are the check
// of a file against the radio's rules and the escaping and cutting of the
// values its messages quote.
#include "ChannelCsv.h"
#include "ChannelFileCheck.h"
#include "CsvTable.h"
#include "FuzzSupport.h"
#include "QuotedText.h"
#include "ReferenceCsv.h"

#include <algorithm>
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
// records, unless a field is one that reading changes or one the format
// cannot hold (the window refuses to save those, naming the record).
void checkRoundTrip(const CsvTable &table)
{
    Channels records = ChannelCsv::fromTable(table, table.rowCount());
    for (const Channel &record : records) {
        if (changesWhenRead(record.name) || changesWhenRead(record.frequency.text()))
            return;
    }
    if (ChannelCsv::findUnwritable(records).record >= 0)
        return;
    CsvTable again;
    if (!again.readBytes(ChannelCsv::toBytes(records)))
        fail("written records do not read back", QByteArray());
    Channels back = ChannelCsv::fromTable(again, again.rowCount());
    while (!records.isEmpty() && records.last().isEmpty())
        records.removeLast();
    if (back != records)
        fail("round trip changed the records", ChannelCsv::toBytes(records).toHex(' '));
}

// A character that would act on a terminal rather than show.
bool acts(QChar c)
{
    const ushort code = c.unicode();
    return code < 0x20 || (code >= 0x7f && code < 0xa0) || c.category() == QChar::Other_Format
        || c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph;
}

bool showsSafely(const QString &text)
{
    return std::none_of(text.cbegin(), text.cend(), acts);
}

// A value shown in a message: nothing that acts, at most 40 characters of
// it and an ellipsis, and a plain short value exactly as it is.
void checkShown(const QString &value)
{
    const QString shown = QuotedText::shown(value);
    check(showsSafely(shown), "a shown value holds a control character", shown.toUtf8().toHex(' '));
    // Each character becomes at most an escape "\u" and six hex digits.
    check(shown.size() <= 8 * QuotedText::maxShownLength, "a shown value is not cut", QByteArray::number(shown.size()));
    // (Characters beyond the first plane are left out: their kind is not
    // seen one UTF-16 unit at a time.)
    const bool plain = showsSafely(value) && std::none_of(value.cbegin(), value.cend(), [](QChar c) { return c.isSurrogate(); });
    if (plain && value.size() <= QuotedText::maxShownLength)
        check(shown == value, "a plain value is changed", value.toUtf8());
    check(QuotedText::escaped(value).size() >= value.size() || value.isEmpty(), "escaping lost characters");
}

// The check of a file against each memory size and both rules: problems in
// file order, within the file, messages that show safely and stay short,
// and the records beyond the memory counted in one problem.
void checkProblems(const CsvTable &table)
{
    for (const char *model : {"VKR627S", "VKR627A"}) {
        for (const auto rules : {ChannelFileCheck::Rules::Radio, ChannelFileCheck::Rules::Encodable}) {
            const RadioModel &radio = *RadioModels::named(QLatin1String(model));
            const int limit = radio.channelCount;
            const QVector<ChannelProblem> problems = ChannelFileCheck::check(table, radio, rules);
            int beyond = 0;
            unsigned lastLine = 0;
            for (const ChannelProblem &problem : problems) {
                // Channel -1: the file as a whole (its encoding), then the only problem.
                check(problem.channel >= 0 ? unsigned(problem.channel) < table.rowCount() : problems.size() == 1,
                      "problem outside the file");
                check(problem.line >= lastLine, "problems out of file order", QByteArray::number(problem.line));
                lastLine = problem.line;
                check(showsSafely(problem.text), "a problem shows a control character", problem.text.toUtf8());
                check(problem.text.size() < 1000, "a problem is not cut", QByteArray::number(problem.text.size()));
                beyond += problem.channel >= limit ? 1 : 0;
            }
            check(beyond <= 1, "records beyond the memory reported more than once", QByteArray::number(beyond));
        }
    }
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
    checkProblems(table);
    checkShown(QString::fromUtf8(content));
    checkShown(QString::fromLatin1(content));

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
