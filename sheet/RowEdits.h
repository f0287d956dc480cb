#pragma once

#include "Channel.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// The table's row operations, worked out on the channel records alone (Qt
// Core only): the window applies the result as one step the user can undo.
// Rows are indexes into the records; lists of rows are sorted, each row once.
namespace RowEdits {

// Inserts `count` empty records at `at`; the records below move down and
// the list keeps its length. False, with the records unchanged, when that
// would push a record holding a name or a frequency off the end.
bool insertEmpty(Channels &records, int at, int count);

// Removes the rows; the records below move up and empty records fill the
// end, so the list keeps its length.
void remove(Channels &records, const QList<int> &rows);

// Moves each row one place up (or down), past the neighbour that is not
// moved itself; a row at the edge stays, and so do those packed behind it.
// Returns the rows where the moved records now are.
QList<int> moveUp(Channels &records, const QList<int> &rows);
QList<int> moveDown(Channels &records, const QList<int> &rows);

// The records holding a name or a frequency, in the order of the key, at
// the top; the empty ones after them. Names compare as the user's language
// sorts them; frequencies by value, those that are no channel after the
// channels. Equal keys keep their order.
enum class SortKey { Name, Frequency };
void sortUsed(Channels &records, SortKey key);

// The text of records as a spreadsheet copies rows: name and frequency
// separated by a tab, one line per record.
QString toTabSeparated(const Channels &records);

// Text from the clipboard as rows of fields: tab-separated when it holds a
// tab (what spreadsheets copy), otherwise the channel file's
// "name;frequency" lines when it holds a ';' (read like a channel file:
// quotes removed, blank lines skipped), otherwise one field per line. A
// line end after the last line makes no row.
QVector<QStringList> rowsFromText(const QString &text);

// Where a list of channels from outside goes in the records: replacing,
// channel k to row k; filling, each channel that is not empty to the next
// empty row from the first one on, so that no row in use is overwritten.
// The row of each channel, -1 for one left out (empty, or beyond the rows).
QVector<int> importRows(const Channels &records, const Channels &channels, bool replace);

} // namespace RowEdits
