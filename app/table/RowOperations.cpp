// The Edit menu's operations on the table's selected rows: insert, delete,
// move, clear, sort, and copy, cut and paste through the clipboard. Each is
// worked out on the records (RowEdits) and becomes one step of the undo
// history.
#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "ChannelDelegate.h"
#include "ChannelRules.h"
#include "ChannelCsv.h"
#include "RowEdits.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QMimeData>

#include <algorithm>

namespace {

using Column = ChannelDelegate::Column;

constexpr char channelLinesType[] = "text/csv"; // the channel file's "name;frequency" lines

} // namespace

// The rows holding a selected cell, or the current row when none is.
QList<int> MainWindow::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : ui->frequencyTable->selectionModel()->selectedIndexes()) {
        if (!rows.contains(index.row()))
            rows.append(index.row());
    }
    if (rows.isEmpty() && ui->frequencyTable->currentRow() >= 0)
        rows.append(ui->frequencyTable->currentRow());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void MainWindow::selectRows(const QList<int> &rows)
{
    QTableWidget *table = ui->frequencyTable;
    const int column = qMax(int(Column::NameColumn), table->currentColumn());
    table->setCurrentCell(rows.first(), column, QItemSelectionModel::NoUpdate);
    table->clearSelection();
    for (int row : rows)
        table->selectionModel()->select(table->model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    table->scrollTo(table->model()->index(rows.first(), column));
}

// The number column works as the rows' header: a click or a drag in it
// selects whole rows.
void MainWindow::extendSelectionToRows()
{
    QItemSelectionModel *selection = ui->frequencyTable->selectionModel();
    for (const QModelIndex &index : selection->selectedIndexes()) {
        if (index.column() == Column::NumberColumn && !selection->isRowSelected(index.row(), QModelIndex()))
            selection->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

void MainWindow::insertRowsAbove()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    Channels records = sheet.channels();
    if (!RowEdits::insertEmpty(records, rows.first(), rows.size())) {
        QMessageBox::information(this, tr("Insert row above"),
                                 tr("The table holds %1 records at most, and its last rows are in use: an "
                                    "insert would push them off the end. Delete or clear rows at the end first.")
                                     .arg(ChannelSheet::rowCount));
        return;
    }
    QList<int> inserted;
    for (int k = 0; k < rows.size(); ++k)
        inserted.append(rows.first() + k);
    sheet.replace(records, tr("Insert rows"), rows, inserted);
}

void MainWindow::deleteRows()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    Channels records = sheet.channels();
    RowEdits::remove(records, rows);
    sheet.replace(records, tr("Delete rows"), rows, {rows.first()});
}

void MainWindow::moveRows(bool up)
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    Channels records = sheet.channels();
    const QList<int> moved = up ? RowEdits::moveUp(records, rows) : RowEdits::moveDown(records, rows);
    sheet.replace(records, up ? tr("Move up") : tr("Move down"), rows, moved);
    selectRows(moved); // also when nothing moved, so the rows stay selected
}

// Empties the selected cells; a selected number empties its whole row.
void MainWindow::clearSelectedCells()
{
    Channels records = sheet.channels();
    const QModelIndexList cells = ui->frequencyTable->selectionModel()->selectedIndexes();
    for (const QModelIndex &cell : cells) {
        if (cell.column() != Column::FrequencyColumn)
            records[cell.row()].name.clear();
        if (cell.column() != Column::NameColumn)
            records[cell.row()].frequency = Frequency();
    }
    sheet.replace(records, tr("Clear"));
}

void MainWindow::sortRows(bool byName)
{
    Channels records = sheet.channels();
    RowEdits::sortUsed(records, byName ? RowEdits::SortKey::Name : RowEdits::SortKey::Frequency);
    sheet.replace(records, byName ? tr("Sort by name") : tr("Sort by frequency"));
}

// Whole rows go to the clipboard as a spreadsheet takes them (tab-separated)
// and as channel file lines; a single cell as its text.
void MainWindow::copyRows()
{
    QTableWidget *table = ui->frequencyTable;
    const QModelIndexList cells = table->selectionModel()->selectedIndexes();
    auto *data = new QMimeData;
    if (cells.size() == 1 && cells.first().column() != Column::NumberColumn) {
        data->setText(cells.first().data().toString());
    } else {
        const Channels records = sheet.channels();
        Channels rows;
        for (int row : selectedRows())
            rows.append(records.at(row));
        data->setText(RowEdits::toTabSeparated(rows));
        data->setData(QLatin1String(channelLinesType), ChannelCsv::toBytes(rows));
    }
    QApplication::clipboard()->setMimeData(data);
}

void MainWindow::cutRows()
{
    copyRows();
    clearSelectedCells();
}

// Rows from the clipboard replace the rows from the first selected one
// down; a column of single values fills the current column. Frequencies
// are completed as when a cell is left.
void MainWindow::pasteRows()
{
    const QMimeData *data = QApplication::clipboard()->mimeData();
    if (!data)
        return;
    const QString text = data->hasText() ? data->text() : QString::fromUtf8(data->data(QLatin1String(channelLinesType)));
    const QVector<QStringList> pasted = RowEdits::rowsFromText(text);
    const QList<int> rows = selectedRows();
    if (pasted.isEmpty() || rows.isEmpty())
        return;
    const int first = rows.first();
    if (first + pasted.size() > ChannelSheet::rowCount) {
        QMessageBox::information(this, tr("Paste"),
                                 tr("The clipboard holds %1 rows; from this row on the table has room for %2.")
                                     .arg(pasted.size())
                                     .arg(ChannelSheet::rowCount - first));
        return;
    }
    const bool singleValues = std::all_of(pasted.cbegin(), pasted.cend(),
                                          [](const QStringList &fields) { return fields.size() == 1; });
    const bool intoFrequencies = singleValues && ui->frequencyTable->currentColumn() == Column::FrequencyColumn;
    Channels records = sheet.channels();
    QList<int> filled;
    for (int k = 0; k < pasted.size(); ++k) {
        Channel &record = records[first + k];
        const QStringList &fields = pasted.at(k);
        if (intoFrequencies) {
            record.frequency = Frequency::fromText(ChannelRules::completedFrequency(fields.first().trimmed()));
        } else {
            record.name = fields.value(0);
            if (!singleValues)
                record.frequency = Frequency::fromText(ChannelRules::completedFrequency(fields.value(1).trimmed()));
        }
        filled.append(first + k);
    }
    sheet.replace(records, tr("Paste"), rows, filled);
}

// The Edit menu, at the pointer; a click outside the selection selects
// the row clicked first.
void MainWindow::showTableMenu(const QPoint &position)
{
    QTableWidget *table = ui->frequencyTable;
    const QModelIndex clicked = table->indexAt(position);
    if (clicked.isValid() && !table->selectionModel()->isSelected(clicked))
        table->setCurrentIndex(clicked);
    ui->menuEdit->popup(table->viewport()->mapToGlobal(position));
}
