// The channel table: one row per record of the channel sheet, with a number,
// a name and a frequency. It shows the sheet and hands every edit to it; the
// sheet makes each change one step of its history and tells the table which
// rows to show anew. The sheet always holds the 100 records of the largest
// radio; rows beyond the connected radio's channels stay, greyed, below a
// caption.
#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "CellFaults.h"
#include "ChannelDelegate.h"
#include "QuotedText.h"
#include "RadioEndCaption.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStatusBar>

#include <algorithm>

namespace {

using Column = ChannelDelegate::Column;

// The widths the table was designed with; wider where the font needs it.
constexpr int numberColumnWidth = 40;
constexpr int nameColumnWidth = 160;
constexpr int frequencyColumnWidth = 100;
constexpr int cellPadding = 4; // px of room around a cell's text, each side

} // namespace

void MainWindow::setupFrequencyTable()
{
    QTableWidget *table = ui->frequencyTable;
    table->setRowCount(ChannelSheet::rowCount);
    for (int row = 0; row < ChannelSheet::rowCount; ++row) {
        auto *number = new QTableWidgetItem(QString::number(row), QTableWidgetItem::Type);
        number->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        table->setItem(row, Column::NumberColumn, number);
        table->setItem(row, Column::NameColumn, new QTableWidgetItem());
        table->setItem(row, Column::FrequencyColumn, new QTableWidgetItem());
    }
    table->setItemDelegate(delegate);
    table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                           | QAbstractItemView::AnyKeyPressed);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->installEventFilter(this);

    delegate->commit = [this](int row, int column, const QString &text) { commitCellEdit(row, column, text); };
    connect(&sheet, &ChannelSheet::rowsChanged, this, &MainWindow::showChangedRows);
    delegate->frequencyEditorMade = [this](QLineEdit *editor) {
        connect(editor, &QLineEdit::textChanged, this, &MainWindow::setFreqValidColor);
    };
    // A record changed other than through the undo history is still shown
    // with its colours.
    connect(table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (!showingRecords)
            styleRow(item->row());
    });
    connect(table, &QTableWidget::currentCellChanged, this, &MainWindow::showCurrentCellFault);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainWindow::extendSelectionToRows);
    connect(table, &QWidget::customContextMenuRequested, this, &MainWindow::showTableMenu);
    const auto placeCaption = [this] { placeRadioEndCaption(); };
    connect(table->verticalScrollBar(), &QScrollBar::valueChanged, this, placeCaption);
    connect(table->horizontalScrollBar(), &QScrollBar::valueChanged, this, placeCaption);
    connect(table->horizontalHeader(), &QHeaderView::sectionResized, this, placeCaption);
    fitTableToFont();
}

// Column widths and row heights as designed, or what the font needs. A
// column that needs more than its design takes it from columns that need
// less than theirs, so that the table keeps its width where it can.
void MainWindow::fitTableToFont()
{
    QTableWidget *table = ui->frequencyTable;
    const QFontMetrics metrics = table->fontMetrics();
    const auto textWidth = [&metrics](const QString &text) { return metrics.horizontalAdvance(text) + 2 * cellPadding; };
    const QHeaderView *header = table->horizontalHeader();
    const int designed[] = {numberColumnWidth, nameColumnWidth, frequencyColumnWidth};
    const RadioModel &limits = RadioModels::series();
    const QString widestText[] = {QString::number(ChannelSheet::rowCount), QString(limits.nameLength, QLatin1Char('W')),
                                  Frequency::fromKilohertz(limits.band.highestKilohertz).text()};
    int needed[3];
    int widths[3];
    int excess = 0;
    for (int column = 0; column < 3; ++column) {
        needed[column] = qMax(header->sectionSizeHint(column), textWidth(widestText[column]));
        widths[column] = qMax(designed[column], needed[column]);
        excess += widths[column] - designed[column];
    }
    for (int column : {Column::NameColumn, Column::FrequencyColumn, Column::NumberColumn}) {
        const int spare = qMin(excess, widths[column] - needed[column]);
        widths[column] -= spare;
        excess -= spare;
    }
    for (int column = 0; column < 3; ++column)
        table->setColumnWidth(column, widths[column]);
    // In a larger window the name column takes the room there is.
    table->horizontalHeader()->setMinimumSectionSize(qMin(widths[0], qMin(widths[1], widths[2])));
    table->horizontalHeader()->setSectionResizeMode(Column::NameColumn, QHeaderView::Stretch);

    const int rowHeight = qMax(table->style()->pixelMetric(QStyle::PM_HeaderDefaultSectionSizeVertical, nullptr, table),
                               metrics.height() + 2 * cellPadding);
    table->verticalHeader()->setDefaultSectionSize(rowHeight);
    if (delegate->boundaryRow() >= 0)
        table->verticalHeader()->resizeSection(delegate->boundaryRow(),
                                               rowHeight + ChannelDelegate::bandHeight(metrics));

    // Room for every column beside the vertical scroll bar, so that no
    // horizontal one covers the last row.
    const int frame = 2 * table->frameWidth();
    const int scrollBar = table->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table);
    table->setMinimumWidth(widths[0] + widths[1] + widths[2] + frame + scrollBar);
    placeRadioEndCaption();
}

void MainWindow::renumberFrequencyTable()
{
    for (int row = 0; row < ui->frequencyTable->rowCount(); ++row)
        ui->frequencyTable->item(row, Column::NumberColumn)->setText(QString::number(firstChannelNumber() + row));
}

void MainWindow::commitCellEdit(int row, int column, const QString &text)
{
    if (column == Column::NameColumn)
        sheet.setName(row, text, tr("Edit"));
    else
        sheet.setFrequency(row, Frequency::fromText(text), tr("Edit"));
}

// Shows the rows the sheet changed; the rows given are selected, or else
// the first changed one is made current, so that the user sees what changed.
void MainWindow::showChangedRows(const QList<int> &rows, const QList<int> &rowsToSelect)
{
    for (int row : rows)
        showRecord(row, sheet.at(row));
    if (!rowsToSelect.isEmpty()) {
        selectRows(rowsToSelect);
    } else if (!rows.isEmpty()) {
        const int column = qMax(int(Column::NameColumn), ui->frequencyTable->currentColumn());
        ui->frequencyTable->setCurrentCell(*std::min_element(rows.cbegin(), rows.cend()), column);
    }
    showCurrentCellFault();
}

void MainWindow::showRecord(int row, const Channel &record)
{
    QTableWidgetItem *name = ui->frequencyTable->item(row, Column::NameColumn);
    QTableWidgetItem *frequency = ui->frequencyTable->item(row, Column::FrequencyColumn);
    // A name with a control character in it (a line end pasted, a byte
    // from a radio or a file) shows it escaped, and red: as it is, it would
    // break the row.
    const QString nameText = QuotedText::escaped(record.name);
    const QString frequencyText = QuotedText::escaped(record.frequency.text());
    if (name->text() == nameText && frequency->text() == frequencyText)
        return;
    showingRecords = true;
    if (name->text() != nameText)
        name->setText(nameText);
    if (frequency->text() != frequencyText)
        frequency->setText(frequencyText);
    showingRecords = false;
    styleRow(row);
}

// Colours and tooltips of a row: a frequency green when it is a channel,
// red otherwise; a name red when the radio would not store it as it
// stands; the tooltip says why. Rows beyond the radio are grey.
void MainWindow::styleRow(int row)
{
    showingRecords = true;
    const QPalette palette = this->palette(); // the table's follows it only after this window
    const bool onRadio = row < channelCount();
    const QString notOnRadio = tr("not on this radio");
    const auto style = [&](QTableWidgetItem *item, const QString &fault, bool markValid) {
        QVariant colour;
        if (!onRadio)
            colour = QBrush(palette.color(QPalette::Disabled, QPalette::Text));
        else if (!fault.isEmpty())
            colour = QBrush(EditorStyle::colour(EditorStyle::red, palette, QPalette::Base));
        else if (markValid)
            colour = QBrush(EditorStyle::colour(EditorStyle::green, palette, QPalette::Base));
        item->setData(Qt::ForegroundRole, colour);
        QStringList tip;
        if (!onRadio)
            tip << notOnRadio;
        if (!fault.isEmpty())
            tip << fault;
        item->setToolTip(tip.join(QStringLiteral("; ")));
    };
    const Channel &record = sheet.at(row);
    style(ui->frequencyTable->item(row, Column::NumberColumn), QString(), false);
    style(ui->frequencyTable->item(row, Column::NameColumn), CellFaults::nameFault(record.name, sheet.model()), false);
    style(ui->frequencyTable->item(row, Column::FrequencyColumn),
          CellFaults::frequencyFault(record.frequency, sheet.model()), !record.frequency.isEmpty());
    showingRecords = false;
}

void MainWindow::styleAllRows()
{
    for (int row = 0; row < ui->frequencyTable->rowCount(); ++row)
        styleRow(row);
}

// Colours the line editor a frequency is being typed in, green once it is
// a channel, red before; other editors are left alone.
void MainWindow::setFreqValidColor()
{
    auto *editor = qobject_cast<QLineEdit *>(sender());
    if (!editor || editor->validator() != ChannelDelegate::frequencyValidator()
        || !ui->frequencyTable->isAncestorOf(editor))
        return;
    QPalette palette = editor->palette();
    const EditorStyle::Tone tone = editor->text().isEmpty() ? EditorStyle::black
        : editor->hasAcceptableInput()                      ? EditorStyle::green
                                                            : EditorStyle::red;
    palette.setColor(QPalette::Text, EditorStyle::colour(tone, this->palette(), QPalette::Base));
    editor->setPalette(palette);
}

// The radio's channels are the first `count` rows, numbered from
// `firstNumber`; the rows below keep their records, greyed.
void MainWindow::setRadioChannelCount(int count, int firstNumber)
{
    const RadioModel *model = RadioModels::withChannelCount(count);
    setRadioModel(model && model->firstChannelNumber == firstNumber ? *model : RadioModels::series());
}

void MainWindow::setRadioModel(const RadioModel &model)
{
    sheet.setModel(model);
    renumberFrequencyTable();
    const int oldBoundary = delegate->boundaryRow();
    if (oldBoundary >= 0)
        ui->frequencyTable->verticalHeader()->resizeSection(oldBoundary,
                                                            ui->frequencyTable->verticalHeader()->defaultSectionSize());
    const int count = model.channelCount;
    delegate->setBoundaryRow(count < ui->frequencyTable->rowCount() ? count : -1);
    fitTableToFont();
    styleAllRows();
}

// The channels the radio holds (a complete read, or a backup put back)
// replace the whole table, as one step of the undo history; the rows below
// them are emptied. The table is then as the radio holds it: nothing
// unsaved, and the title names the radio, so that a save asks before it
// writes over the file that was open. The view goes back to the first row.
void MainWindow::showRadioChannels(const Channels &channels)
{
    sheet.replace(channels, tr("Read from radio"));
    tableReadFrom = connectedRadioName();
    cardPlace.clear();
    sheet.setClean();
    showFileName();
    showFirstRow();
}

// The cell a check refused: made current and scrolled into view.
void MainWindow::showChannelProblem(int row, int column)
{
    ui->frequencyTable->setCurrentCell(row, column);
    ui->frequencyTable->scrollToItem(ui->frequencyTable->item(row, column));
    ui->frequencyTable->setFocus(Qt::OtherFocusReason);
}

// After the table was filled anew: the first record, where a list starts.
void MainWindow::showFirstRow()
{
    ui->frequencyTable->scrollToTop();
    ui->frequencyTable->setCurrentCell(0, Column::NameColumn);
}

QString MainWindow::withRecordsLeftOut(const QString &message) const
{
    const int leftOut = sheet.usedBeyondRadio();
    if (leftOut == 0)
        return message;
    return tr("%1; %2 beyond the radio's %3 channels left out").arg(message, countedRecords(leftOut)).arg(channelCount());
}

QString MainWindow::countedRecords(int count)
{
    return count == 1 ? tr("1 record") : tr("%1 records").arg(count);
}

// While a cell that is not right has the focus, the status bar says why.
void MainWindow::showCurrentCellFault()
{
    const QTableWidgetItem *item = ui->frequencyTable->currentItem();
    const int column = ui->frequencyTable->currentColumn();
    QString fault;
    if (item && ui->frequencyTable->hasFocus() && column != Column::NumberColumn) {
        const Channel &record = sheet.at(item->row());
        fault = column == Column::NameColumn ? CellFaults::nameFault(record.name, sheet.model())
                                             : CellFaults::frequencyFault(record.frequency, sheet.model());
    }
    if (!fault.isEmpty())
        ui->statusBar->showMessage(fault);
    else if (!shownCellFault.isEmpty() && ui->statusBar->currentMessage() == shownCellFault)
        ui->statusBar->clearMessage();
    shownCellFault = fault;
}

// Over the top of the first row beyond the radio, across the table.
void MainWindow::placeRadioEndCaption()
{
    const int row = delegate->boundaryRow();
    if (row < 0) {
        radioEndCaption->hide();
        return;
    }
    QTableWidget *table = ui->frequencyTable;
    const int band = ChannelDelegate::bandHeight(table->fontMetrics());
    radioEndCaption->setGeometry(table->columnViewportPosition(Column::NumberColumn), table->rowViewportPosition(row),
                                 table->horizontalHeader()->length(), band);
    radioEndCaption->show();
}
