#include "ChannelCsv.h"

#include "ChannelFileFormat.h"
#include "CsvTable.h"
#include "QuotedText.h"
#include "QtCompat.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr char fieldSeparator = ChannelFileFormat::fieldSeparator;
// Stands in for a field separator inside a name that is written anyway (a
// backup, whose frames keep the name as it is): written as it is, it would
// split the record on reload and push the frequency out of place.
constexpr char separatorInName = ',';
// The format's line end, written the same on every platform.
constexpr char lineEnd[] = "\r\n";
constexpr QChar quote = QLatin1Char('"');
constexpr QChar byteOrderMark = QChar(0xFEFF);

enum Field : unsigned { NameField = 0, FrequencyField = 1 };

// A character that a field of a channel file cannot hold: it would end
// the field or the record, or end the text when read.
bool unwritable(QChar c)
{
    return c == QLatin1Char(fieldSeparator) || c == QLatin1Char('\r') || c == QLatin1Char('\n') || c.isNull();
}

QByteArray fieldBytes(QString text)
{
    for (QChar &c : text) {
        if (c == QLatin1Char(fieldSeparator))
            c = QLatin1Char(separatorInName);
        else if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    }
    text.remove(QChar());
    // Reading takes one pair of enclosing quotes off a field: a field that
    // has a pair of its own keeps it with one more.
    if (text.size() >= 2 && text.startsWith(quote) && text.endsWith(quote))
        text = quote + text + quote;
    return text.toUtf8();
}

QString wholeText(const QByteArray &utf8)
{
    return QString::fromUtf8(utf8.constData(), utf8.size());
}

} // namespace

namespace ChannelCsv {

Unwritable findUnwritable(const Channels &records)
{
    for (int k = 0; k < records.size(); ++k) {
        for (const bool inName : {true, false}) {
            const QString field = inName ? records.at(k).name : records.at(k).frequency.text();
            for (const QChar c : field) {
                if (unwritable(c))
                    return {k, inName, c};
            }
            // Reading drops a byte-order mark at the very start of a file.
            if (k == 0 && inName && field.startsWith(byteOrderMark))
                return {k, inName, byteOrderMark};
        }
    }
    return {};
}

QByteArray recordLine(const Channel &record, const QByteArrayList &more)
{
    QByteArray line = fieldBytes(record.name) + fieldSeparator + fieldBytes(record.frequency.text());
    for (const QByteArray &field : more)
        line += fieldSeparator + field;
    return line + lineEnd;
}

QByteArray toBytes(const Channels &records)
{
    int recordsToWrite = records.size();
    while (recordsToWrite > 0 && records.at(recordsToWrite - 1).isEmpty())
        --recordsToWrite;

    QByteArray bytes;
    for (int k = 0; k < recordsToWrite; ++k)
        bytes.append(recordLine(records.at(k)));
    return bytes;
}

namespace {

// A device or a FIFO is written as it is: a rename would put a regular
// file in its place (a device node of /dev turned into a file, a pipe
// another program reads from gone).
bool writeDirectly(const QString &fileName, const QByteArray &bytes, QString *why)
{
    QFile file(fileName);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush())
        return true;
    if (why)
        *why = file.errorString();
    return false;
}

} // namespace

bool saveBytes(const QString &fileName, const QByteArray &bytes, QString *why)
{
    const QFileInfo target(fileName); // a link is followed to what it names
    if (target.isDir()) {
        if (why)
            *why = QStringLiteral("it is a folder");
        return false;
    }
    if (target.exists() && !target.isFile())
        return writeDirectly(fileName, bytes, why);
    QSaveFile file(fileName);
    const auto failed = [&file, why] {
        // Qt does not always keep the system's words for a failed write
        // (a disk that filled): the error number still holds them.
        const int error = errno;
        if (why)
            *why = file.errorString() == QLatin1String("Unknown error") && error != 0
                ? QString::fromLocal8Bit(std::strerror(error))
                : file.errorString();
        return false;
    };
    // A writable file in a folder that takes no new files can still be
    // saved, though not atomically. Qt falls back only when the temporary
    // file is refused for lack of permission; every other failure stays one.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return failed();
    // The explicit flush matters: commit() flushes what is still buffered
    // too, but does not notice when that last flush fails (a full disk), and
    // would then put a truncated file in place of the old one.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const bool result = failed();
        file.cancelWriting();
        return result;
    }
    // Syncs and closes the temporary file, then renames it over the target;
    // false, with the temporary file removed, if that fails.
    return file.commit() || failed();
}

bool writeFile(const QString &fileName, const Channels &records, QString *why)
{
    const Unwritable refused = findUnwritable(records);
    if (refused.record >= 0) {
        if (why)
            *why = QStringLiteral("the %1 of record %2 holds %3, which a channel file cannot keep")
                       .arg(refused.inName ? QStringLiteral("name") : QStringLiteral("frequency"))
                       .arg(refused.record + 1)
                       .arg(QuotedText::escaped(QString(refused.character)));
        return false;
    }
    return saveBytes(fileName, toBytes(records), why);
}

Channels fromTable(const CsvTable &table, unsigned maxRecords)
{
    const unsigned count = qMin(table.rowCount(), maxRecords);
    Channels records;
    records.reserve(int(count));
    for (unsigned row = 0; row < count; ++row) {
        // Whole, zero bytes and all: a field cut at one would pass a check
        // as what is left of it ("AT" of "AT\0IS"), and be written so.
        records.append({wholeText(table.cell(row, NameField)), Frequency::fromText(wholeText(table.cell(row, FrequencyField)))});
    }
    return records;
}

} // namespace ChannelCsv
