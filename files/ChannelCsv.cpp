#include "ChannelCsv.h"

#include "ChannelFileFormat.h"
#include "CsvTable.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

constexpr char fieldSeparator = ChannelFileFormat::fieldSeparator;
// Stands in for a field separator inside a name. The name editor refuses
// ';', but a name read from the radio may hold one, and written as it is
// it would split the record on reload and push the frequency out of place.
constexpr char separatorInName = ',';
// The format's line end, written the same on every platform.
constexpr char lineEnd[] = "\r\n";

enum Field : unsigned { NameField = 0, FrequencyField = 1 };

QString wholeText(const QByteArray &utf8)
{
    return QString::fromUtf8(utf8.constData(), utf8.size());
}

} // namespace

namespace ChannelCsv {

QByteArray toBytes(const Channels &records)
{
    int recordsToWrite = records.size();
    while (recordsToWrite > 0 && records.at(recordsToWrite - 1).isEmpty())
        --recordsToWrite;

    QByteArray bytes;
    for (int k = 0; k < recordsToWrite; ++k) {
        QString name = records.at(k).name; // shared; copied only if replaced
        name.replace(QLatin1Char(fieldSeparator), QLatin1Char(separatorInName));
        bytes.append(name.toUtf8());
        bytes.append(fieldSeparator);
        bytes.append(records.at(k).frequency.text().toUtf8());
        bytes.append(lineEnd);
    }
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
        if (why)
            *why = file.errorString();
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

bool writeFile(const QString &fileName, const Channels &records)
{
    return saveBytes(fileName, toBytes(records));
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
