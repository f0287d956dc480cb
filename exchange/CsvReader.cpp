#include "CsvReader.h"

#include <QIODevice>

#include <csv.h>

#include <new>

namespace {

// Bytes handed to the parser per call: small enough to stay in the cache.
constexpr int chunkSize = 1 << 16;
constexpr char byteOrderMark[] = "\xEF\xBB\xBF";
constexpr int byteOrderMarkLength = 3;

// RFC 4180 keeps spaces around a field; libcsv would trim them.
int noSpaceCharacters(unsigned char)
{
    return 0;
}

} // namespace

QByteArray CsvRecord::field(int column) const
{
    const std::string_view bytes = peek(column);
    return QByteArray(bytes.data(), int(bytes.size())); // null where there is no field
}

std::string_view CsvRecord::peek(int column) const
{
    if (column < 0 || column >= size())
        return {};
    const size_t begin = column == 0 ? 0 : fieldEnds[size_t(column) - 1];
    return std::string_view(text).substr(begin, fieldEnds[size_t(column)] - begin);
}

// The state libcsv's callbacks work on. They run inside C code, so nothing
// may be thrown through them: a failure is kept and reported after parsing.
class CsvParse
{
public:
    explicit CsvParse(const CsvReader::RecordHandler &handler)
        : handler(handler)
    {
    }

    static void onField(void *data, size_t size, void *context)
    {
        auto &parse = *static_cast<CsvParse *>(context);
        if (parse.stopped || parse.failed)
            return;
        try {
            parse.record.text.append(static_cast<const char *>(data), size);
            parse.record.fieldEnds.push_back(parse.record.text.size());
        } catch (const std::bad_alloc &) {
            parse.failed = true;
        }
    }

    // `end` is the byte that ended the record, or -1 when the data ended.
    static void onRecordEnd(int end, void *context)
    {
        auto &parse = *static_cast<CsvParse *>(context);
        if (parse.stopped || parse.failed)
            return;
        ++parse.record.recordNumber;
        parse.record.lineEnd = end != -1;
        try {
            parse.stopped = !parse.handler(parse.record);
        } catch (const std::bad_alloc &) {
            parse.failed = true;
        }
        parse.record.text.clear();
        parse.record.fieldEnds.clear();
    }

    const CsvReader::RecordHandler &handler;
    CsvRecord record;
    bool stopped = false;
    bool failed = false;
};

namespace CsvReader {

Result read(QIODevice &device, const RecordHandler &handler)
{
    if (!device.isOpen() || !device.isReadable())
        return Result::ReadFailed;
    csv_parser parser;
    if (csv_init(&parser, 0) != 0)
        return Result::ReadFailed;
    csv_set_space_func(&parser, noSpaceCharacters);

    CsvParse parse(handler);
    QByteArray chunk(chunkSize, Qt::Uninitialized);
    QByteArray start; // the first bytes, held until a byte-order mark can be told
    bool started = false;
    while (!parse.stopped && !parse.failed) {
        const qint64 count = device.read(chunk.data(), chunk.size());
        if (count < 0) {
            parse.failed = true;
            break;
        }
        const bool atEnd = count == 0;
        const char *bytes = chunk.constData();
        size_t size = size_t(count);
        if (!started) {
            start.append(bytes, int(count));
            if (start.size() < byteOrderMarkLength && !atEnd)
                continue;
            started = true;
            if (start.startsWith(byteOrderMark))
                start.remove(0, byteOrderMarkLength);
            bytes = start.constData();
            size = size_t(start.size());
        }
        if (csv_parse(&parser, bytes, size, CsvParse::onField, CsvParse::onRecordEnd, &parse) != size)
            parse.failed = true;
        if (atEnd) {
            // The last record need not end in a line end.
            if (!parse.failed && csv_fini(&parser, CsvParse::onField, CsvParse::onRecordEnd, &parse) != 0)
                parse.failed = true;
            break;
        }
    }
    csv_free(&parser);
    if (parse.failed)
        return Result::ReadFailed;
    return parse.stopped ? Result::Stopped : Result::Read;
}

} // namespace CsvReader
