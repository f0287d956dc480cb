#include "RowEdits.h"

#include "ChannelFileFormat.h"
#include "RadioModels.h"
#include "CsvTable.h"

#include <algorithm>

namespace RowEdits {

namespace {

constexpr QChar tab = QLatin1Char('\t');
constexpr QChar lineEnd = QLatin1Char('\n');
constexpr QChar quote = QLatin1Char('"');

// Spreadsheet text: fields separated by tabs, rows by line ends; a field
// in quotes may hold tabs, line ends and doubled quotes.
QVector<QStringList> spreadsheetRows(const QString &text)
{
    QVector<QStringList> rows;
    QStringList fields;
    QString field;
    bool quoted = false;
    bool fieldStarts = true;
    for (int k = 0; k < text.size(); ++k) {
        const QChar c = text.at(k);
        if (quoted) {
            if (c != quote)
                field += c;
            else if (k + 1 < text.size() && text.at(k + 1) == quote)
                field += text.at(++k);
            else
                quoted = false;
        } else if (c == quote && fieldStarts) {
            quoted = true;
        } else if (c == tab || c == lineEnd) {
            fields.append(field);
            field.clear();
            if (c == lineEnd) {
                rows.append(fields);
                fields.clear();
            }
        } else if (c != QLatin1Char('\r')) {
            field += c;
        }
        fieldStarts = !quoted && (c == tab || c == lineEnd);
    }
    if (!field.isEmpty() || !fields.isEmpty()) {
        fields.append(field);
        rows.append(fields);
    }
    return rows;
}

// Empty names and frequencies that are no channel sort after the others.
bool nameBefore(const Channel &a, const Channel &b)
{
    if (a.name.isEmpty() != b.name.isEmpty())
        return !a.name.isEmpty();
    return QString::localeAwareCompare(a.name, b.name) < 0;
}

bool frequencyBefore(const Channel &a, const Channel &b)
{
    const bool aChannel = a.frequency.isChannelOf(RadioModels::airBand);
    const bool bChannel = b.frequency.isChannelOf(RadioModels::airBand);
    if (aChannel != bChannel)
        return aChannel;
    return a.frequency < b.frequency; // the empty frequency last
}

} // namespace

bool insertEmpty(Channels &records, int at, int count)
{
    const int size = records.size();
    for (int row = size - count; row < size; ++row) {
        if (row >= at && !records.at(row).isEmpty())
            return false;
    }
    records.insert(at, count, Channel());
    records.resize(size);
    return true;
}

void remove(Channels &records, const QList<int> &rows)
{
    const int size = records.size();
    for (auto row = rows.crbegin(); row != rows.crend(); ++row)
        records.remove(*row);
    records.resize(size);
}

QList<int> moveUp(Channels &records, const QList<int> &rows)
{
    QList<int> moved;
    for (int row : rows) {
        const int target = row - 1;
        if (target < 0 || moved.contains(target)) {
            moved.append(row); // at the top, or packed behind one that stayed
            continue;
        }
        std::swap(records[row], records[target]);
        moved.append(target);
    }
    return moved;
}

QList<int> moveDown(Channels &records, const QList<int> &rows)
{
    QList<int> moved;
    for (auto row = rows.crbegin(); row != rows.crend(); ++row) {
        const int target = *row + 1;
        if (target >= records.size() || moved.contains(target)) {
            moved.prepend(*row);
            continue;
        }
        std::swap(records[*row], records[target]);
        moved.prepend(target);
    }
    return moved;
}

void sortUsed(Channels &records, SortKey key)
{
    const int size = records.size();
    Channels used;
    for (const Channel &record : records) {
        if (!record.isEmpty())
            used.append(record);
    }
    std::stable_sort(used.begin(), used.end(), key == SortKey::Name ? nameBefore : frequencyBefore);
    used.resize(size);
    records = used;
}

QString toTabSeparated(const Channels &records)
{
    QString text;
    for (const Channel &record : records)
        text += record.name + tab + record.frequency.text() + lineEnd;
    return text;
}

QVector<QStringList> rowsFromText(const QString &text)
{
    QVector<QStringList> rows;
    if (!text.contains(tab) && text.contains(QLatin1Char(ChannelFileFormat::fieldSeparator))) {
        CsvTable table;
        table.readBytes(text.toUtf8());
        for (unsigned row = 0; row < table.rowCount(); ++row) {
            QStringList fields;
            for (unsigned field = 0; field < table.fieldCount(row); ++field)
                fields.append(QString::fromUtf8(table.cell(row, field)));
            rows.append(fields);
        }
        return rows;
    }
    return spreadsheetRows(text);
}

QVector<int> importRows(const Channels &records, const Channels &channels, bool replace)
{
    QVector<int> rows;
    int row = 0;
    for (const Channel &channel : channels) {
        if (!replace && !channel.isEmpty()) {
            while (row < records.size() && !records.at(row).isEmpty())
                ++row;
        }
        const bool placed = row < records.size() && !channel.isEmpty();
        rows.append(placed ? row : -1);
        if (replace || placed)
            ++row;
    }
    return rows;
}

} // namespace RowEdits
