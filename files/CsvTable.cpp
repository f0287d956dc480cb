#include "CsvTable.h"

#include "ChannelFileFormat.h"
#include "Utf8Check.h"

#include <QBuffer>
#include <QFile>
#include <QIODevice>

#include <array>
#include <cstring>
#include <new>

namespace {

constexpr char fieldSeparator = ChannelFileFormat::fieldSeparator;
constexpr char quote = '"';
constexpr char byteOrderMark[] = "\xEF\xBB\xBF";
constexpr int byteOrderMarkLength = 3;

// Sizes of a typical record ("TOWER;118.000" and its line end) and of its
// fields, to estimate how much room a file's rows need.
constexpr qint64 typicalLineSize = 16;
constexpr qint64 typicalFieldSize = typicalLineSize / 2;

// Bytes taken from a device per read call.
constexpr int readChunkSize = 1 << 20;

// Field bytes plus field count the table may hold. Keeps every offset well
// inside 32 bits and every buffer inside what a QByteArray can hold; a file
// that needs more is refused instead of crashing the program.
constexpr qint64 maxStoredSize = qint64(1) << 30;

struct Windows1252Character {
    char byte;
    const char *utf8;
};

// The Windows-1252 characters that channel files from Windows tools carry.
constexpr std::array<Windows1252Character, 10> windows1252Characters{{
    {'\xC4', "\xC3\x84"}, // A with diaeresis
    {'\xE4', "\xC3\xA4"}, // a with diaeresis
    {'\xD6', "\xC3\x96"}, // O with diaeresis
    {'\xF6', "\xC3\xB6"}, // o with diaeresis
    {'\xDC', "\xC3\x9C"}, // U with diaeresis
    {'\xFC', "\xC3\xBC"}, // u with diaeresis
    {'\xDF', "\xC3\x9F"}, // sharp s
    {'\xB0', "\xC2\xB0"}, // degree sign
    {'\xB5', "\xC2\xB5"}, // micro sign
    {'\x96', "-"},        // en dash, written as a hyphen
}};

// Converts every byte of the table above, scanning the original bytes only,
// so that inserted bytes are never converted again.
void windows1252ToUtf8(QByteArray &line)
{
    QByteArray converted;
    converted.reserve(line.size() * 2);
    for (const char byte : qAsConst(line)) {
        const char *replacement = nullptr;
        for (const auto &character : windows1252Characters) {
            if (character.byte == byte) {
                replacement = character.utf8;
                break;
            }
        }
        if (replacement)
            converted.append(replacement);
        else
            converted.append(byte);
    }
    line = converted;
}

} // namespace

// UTF-16 shows in its first bytes: a byte-order mark, or text of ASCII
// characters, each beside a zero byte.
bool looksLikeUtf16(const QByteArray &start)
{
    if (start.startsWith("\xFF\xFE") || start.startsWith("\xFE\xFF"))
        return true;
    const int pairs = start.size() / 2;
    if (pairs < 2)
        return false;
    for (int zeroAt : {0, 1}) {
        bool every = true;
        for (int k = 0; k < pairs && every; ++k)
            every = start.at(2 * k + zeroAt) == '\0' && start.at(2 * k + 1 - zeroAt) != '\0';
        if (every)
            return true;
    }
    return false;
}

// Cuts incoming bytes into lines, however the bytes arrive in pieces, and
// stores each line as a row of the table.
class CsvTable::Loader
{
public:
    explicit Loader(CsvTable &table)
        : table(table)
    {
    }

    bool addBytes(const char *data, qint64 size)
    {
        if (start.size() < startLength)
            start.append(data, int(qMin<qint64>(size, startLength - start.size())));
        const char *at = data;
        const char *const end = data + size;
        while (at < end) {
            const auto *lineFeed = static_cast<const char *>(std::memchr(at, '\n', size_t(end - at)));
            if (!lineFeed) {
                if (pending.size() + (end - at) > maxStoredSize)
                    return false;
                pending.append(at, int(end - at));
                return true;
            }
            sawLineFeed = true;
            bool stored;
            if (pending.isEmpty()) {
                stored = addLine(at, lineFeed);
            } else {
                if (pending.size() + (lineFeed - at) > maxStoredSize)
                    return false;
                pending.append(at, int(lineFeed - at));
                stored = addLine(pending.constData(), pending.constData() + pending.size());
                pending.clear();
            }
            if (!stored)
                return false;
            at = lineFeed + 1;
        }
        return true;
    }

    // The last line of a file need not end in a line feed.
    bool finish()
    {
        // A CR before the last byte of a file without a line feed ends lines
        // no reader of this format takes as such.
        const int carriageReturn = pending.indexOf('\r');
        if (looksLikeUtf16(start))
            table.fileEncoding = Encoding::Utf16;
        else if (!sawLineFeed && carriageReturn >= 0 && carriageReturn + 1 < pending.size())
            table.fileEncoding = Encoding::NoLineEnds;
        const bool stored = addLine(pending.constData(), pending.constData() + pending.size());
        pending.clear();
        return stored;
    }

private:
    bool addLine(const char *begin, const char *end)
    {
        ++lineNumber;
        if (firstLine) {
            firstLine = false;
            if (end - begin >= byteOrderMarkLength && std::memcmp(begin, byteOrderMark, byteOrderMarkLength) == 0)
                begin += byteOrderMarkLength;
        }
        if (end > begin && end[-1] == '\r')
            --end;
        if (begin == end)
            return true;
        if (!isValidUtf8(begin, int(end - begin))) {
            converted = QByteArray(begin, int(end - begin));
            windows1252ToUtf8(converted);
            begin = converted.constData();
            end = begin + converted.size();
        }
        return table.appendRow(begin, end, lineNumber);
    }

    static constexpr int startLength = 16; // bytes enough to tell UTF-16 by

    CsvTable &table;
    QByteArray start;     // the first bytes of the file
    bool sawLineFeed = false;
    QByteArray pending;   // the start of a line whose end has not arrived yet
    QByteArray converted; // a line after its Windows-1252 conversion
    bool firstLine = true;
    quint32 lineNumber = 0;
};

CsvTable::CsvTable()
{
    clear();
}

// Gives the memory of a large file back, not only its content.
void CsvTable::clear()
{
    fieldText = QByteArray();
    fieldStarts = std::vector<quint32>(1, 0);
    rowFirstFields = std::vector<quint32>(1, 0);
    rowLines = std::vector<quint32>();
    fileEncoding = Encoding::Lines;
}

bool CsvTable::appendRow(const char *begin, const char *end, quint32 line)
{
    // A line of n bytes holds at most n + 1 fields.
    const qint64 length = end - begin;
    if (qint64(fieldText.size()) + qint64(fieldStarts.size()) + 2 * (length + 1) > maxStoredSize)
        return false;
    // The line goes in whole, separators included; each separator starts
    // the next field. The closing entry of fieldStarts, until now the end of
    // the text, is where this row's first field starts.
    const quint32 lineStart = quint32(fieldText.size());
    fieldText.append(begin, int(length));
    for (qint64 k = 0; k < length; ++k) {
        if (begin[k] == fieldSeparator)
            fieldStarts.push_back(lineStart + quint32(k) + 1);
    }
    fieldStarts.push_back(quint32(fieldText.size()));
    rowFirstFields.push_back(quint32(fieldStarts.size() - 1));
    rowLines.push_back(line);
    return true;
}

// Room for a file of the given size up front, so the buffers do not grow
// (and get copied) step by step. The offset lists are sized for lines of
// typical channel records; a file with shorter lines just grows them.
void CsvTable::reserveFor(qint64 fileSize)
{
    const qint64 size = qMin(fileSize, maxStoredSize);
    fieldText.reserve(int(size));
    fieldStarts.reserve(size_t(size / typicalFieldSize + 2));
    rowFirstFields.reserve(size_t(size / typicalLineSize + 2));
    rowLines.reserve(size_t(size / typicalLineSize + 1));
}

bool CsvTable::read(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        clear();
        return false;
    }
    return read(file);
}

bool CsvTable::read(QIODevice &device)
{
    clear();
    if (!device.isOpen() || !device.isReadable())
        return false;
    try {
        // A file's size is known: room for its bytes at once, and no larger
        // read buffer than the file needs.
        qint64 chunkSize = readChunkSize;
        if (!device.isSequential()) {
            const qint64 remaining = qMax(qint64(0), device.size() - device.pos());
            reserveFor(remaining);
            chunkSize = qBound(qint64(1), remaining + 1, qint64(readChunkSize));
        }
        Loader loader(*this);
        QByteArray chunk(int(chunkSize), Qt::Uninitialized);
        for (;;) {
            const qint64 count = device.read(chunk.data(), chunk.size());
            if (count < 0 || !loader.addBytes(chunk.constData(), count)) {
                clear();
                return false;
            }
            if (count == 0)
                break;
        }
        if (!loader.finish()) {
            clear();
            return false;
        }
        fieldText.squeeze();
        return true;
    } catch (const std::bad_alloc &) {
        clear();
        return false;
    }
}

bool CsvTable::readBytes(const QByteArray &content)
{
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    return read(buffer);
}

unsigned CsvTable::rowCount() const
{
    return unsigned(rowFirstFields.size() - 1);
}

unsigned CsvTable::fieldCount(unsigned row) const
{
    if (row >= rowCount())
        return 0;
    return rowFirstFields[row + 1] - rowFirstFields[row];
}

unsigned CsvTable::lineNumber(unsigned row) const
{
    return row < rowCount() ? rowLines[row] : 0;
}

QByteArray CsvTable::cell(unsigned row, unsigned column) const
{
    if (column >= fieldCount(row))
        return QByteArray();
    const quint32 field = rowFirstFields[row] + column;
    const bool lastOfRow = field + 1 == rowFirstFields[row + 1];
    const quint32 begin = fieldStarts[field];
    // A field ends before the separator that starts the next one, or where
    // the next row starts.
    const quint32 end = fieldStarts[field + 1] - (lastOfRow ? 0 : 1);
    return unquote(QByteArray(fieldText.constData() + begin, int(end - begin)));
}

QList<QByteArray> CsvTable::split(const QByteArray &line, const QByteArray &separators)
{
    std::array<bool, 256> isSeparator{};
    for (const char byte : separators)
        isSeparator[static_cast<unsigned char>(byte)] = true;

    QList<QByteArray> fields;
    int fieldStart = 0;
    for (int k = 0; k < line.size(); ++k) {
        if (isSeparator[static_cast<unsigned char>(line.at(k))]) {
            fields.append(line.mid(fieldStart, k - fieldStart));
            fieldStart = k + 1;
        }
    }
    fields.append(line.mid(fieldStart));
    return fields;
}

QByteArray CsvTable::unquote(const QByteArray &field)
{
    if (field.size() >= 2 && field.startsWith(quote) && field.endsWith(quote))
        return field.mid(1, field.size() - 2);
    return field;
}

void CsvTable::ansiToUtf8(QByteArray &line)
{
    if (!isValidUtf8(line.constData(), line.size()))
        windows1252ToUtf8(line);
}
