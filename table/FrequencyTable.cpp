// The channel table: one row per memory channel, with a read-only number,
// a name editor and a frequency editor. The editors are the only store of
// the channel records; every other part reads and writes them here.
#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "AFNameValidator.h"
#include "ChannelRules.h"
#include "EditorStyles.h"
#include "FreqValidator.h"

#include <QLineEdit>

namespace {

enum Column { NumberColumn = 0, NameColumn = 1, FrequencyColumn = 2 };
constexpr int numberColumnWidth = 40;
constexpr int nameColumnWidth = 160;
constexpr int frequencyColumnWidth = 100;

// One validator of each kind serves every editor of its column; they hold no
// state and live until the program ends.
FreqValidator *sharedFreqValidator()
{
    static FreqValidator *const validator = new FreqValidator(nullptr);
    return validator;
}

AFNameValidator *sharedNameValidator()
{
    static AFNameValidator *const validator = new AFNameValidator(nullptr);
    return validator;
}

} // namespace

void MainWindow::setupFrequencyTable()
{
    ui->frequencyTable->setRowCount(channelCount);
    ui->frequencyTable->setColumnWidth(NumberColumn, numberColumnWidth);
    ui->frequencyTable->setColumnWidth(NameColumn, nameColumnWidth);
    ui->frequencyTable->setColumnWidth(FrequencyColumn, frequencyColumnWidth);
    for (int row = 0; row < channelCount; ++row)
        buildChannelRow(row);
}

void MainWindow::buildChannelRow(int row)
{
    auto *number = new QTableWidgetItem(QString::number(row), QTableWidgetItem::Type);
    number->setFlags(Qt::NoItemFlags);
    ui->frequencyTable->setItem(row, NumberColumn, number);

    for (int column : {NameColumn, FrequencyColumn}) {
        // Created inside the table's viewport, where the table would move it
        // anyway: a style sheet set before such a move is worked out twice.
        auto *editor = new QLineEdit(ui->frequencyTable->viewport());
        editor->setFrame(false);
        editor->setStyleSheet(QLatin1String(EditorStyle::black));
        editor->setText(QString());
        if (column == NameColumn) {
            editor->setMaxLength(ChannelRules::maxNameLength);
            editor->setValidator(sharedNameValidator());
            connect(editor, &QLineEdit::textChanged, this, &MainWindow::setNameValidColor);
        } else {
            editor->setValidator(sharedFreqValidator());
            connect(editor, &QLineEdit::textChanged, this, &MainWindow::setFreqValidColor);
        }
        ui->frequencyTable->setCellWidget(row, column, editor);
    }
}

// Rows that a smaller count removes go with their cells; rows that a larger
// count adds are built like the rows at start.
void MainWindow::setFrequencyTableRowCount(int rows)
{
    const int oldRows = ui->frequencyTable->rowCount();
    ui->frequencyTable->setRowCount(rows);
    for (int row = oldRows; row < rows; ++row)
        buildChannelRow(row);
}

void MainWindow::renumberFrequencyTable()
{
    for (int row = 0; row < channelCount; ++row)
        ui->frequencyTable->item(row, NumberColumn)->setText(QString::number(firstChannelNumber + row));
}

void MainWindow::clearFrequencyTable()
{
    for (int row = 0; row < channelCount; ++row) {
        setEditorText(nameEditor(row), QString());
        setEditorText(frequencyEditor(row), QString());
    }
}

QLineEdit *MainWindow::nameEditor(int row) const
{
    return qobject_cast<QLineEdit *>(ui->frequencyTable->cellWidget(row, NameColumn));
}

QLineEdit *MainWindow::frequencyEditor(int row) const
{
    return qobject_cast<QLineEdit *>(ui->frequencyTable->cellWidget(row, FrequencyColumn));
}

void MainWindow::showChannels(const ChannelRecords &records)
{
    clearFrequencyTable();
    const int rows = qMin(int(records.size()), ui->frequencyTable->rowCount());
    for (int row = 0; row < rows; ++row) {
        setEditorText(nameEditor(row), records.at(row).name);
        setEditorText(frequencyEditor(row), records.at(row).frequency);
    }
    if (rows > 0)
        nameEditor(0)->setFocus(Qt::OtherFocusReason);
}

void MainWindow::showChannelProblem(int row, int column)
{
    ui->frequencyTable->setCurrentCell(row, column);
    ui->frequencyTable->scrollTo(ui->frequencyTable->model()->index(row, column));
    if (QWidget *editor = ui->frequencyTable->cellWidget(row, column))
        editor->setFocus(Qt::OtherFocusReason);
}

ChannelRecords MainWindow::tableRecords() const
{
    ChannelRecords records;
    const int rows = ui->frequencyTable->rowCount();
    records.reserve(rows);
    for (int row = 0; row < rows; ++row)
        records.append({nameEditor(row)->text(), frequencyEditor(row)->text()});
    return records;
}

bool MainWindow::isFrequencyEditor(const QWidget *widget) const
{
    const auto *editor = qobject_cast<const QLineEdit *>(widget);
    return editor && editor->validator() == sharedFreqValidator()
        && ui->frequencyTable->isAncestorOf(editor);
}

// Every programmatic change of an editor's text gives it the focus first,
// as a user's typing would.
// Texts from the radio or a file are shown as they are: the name validator,
// which QLineEdit would run on the new text, upper-cases the character before
// the cursor, so it is set aside while a name is put in. (The frequency
// validator never changes a text, and the colour slot needs it.)
// A name longer than the radio takes is kept whole (and shows red), not
// cut to the editor's length without a word; setNameValidColor() gives the
// editor its limit back once the name is short enough.
void MainWindow::setEditorText(QLineEdit *editor, const QString &text)
{
    editor->setFocus(Qt::OtherFocusReason);
    const QValidator *validator = editor->validator();
    const bool isName = validator == sharedNameValidator();
    if (isName) {
        editor->setValidator(nullptr);
        editor->setMaxLength(qMax(int(text.size()), ChannelRules::maxNameLength));
    }
    editor->setText(text);
    if (isName)
        editor->setValidator(validator);
}

// A name the radio would not store as it is shown (lower case from a file,
// a character the radio lacks, too many bytes) shows red, as a refused
// frequency does; the name editor itself lets only good names be typed.
void MainWindow::setNameValidColor()
{
    auto *editor = qobject_cast<QLineEdit *>(sender());
    if (!editor)
        return;
    const bool valid = ChannelRules::isValidName(editor->text());
    editor->setStyleSheet(QLatin1String(valid ? EditorStyle::black : EditorStyle::red));
    if (editor->text().size() <= ChannelRules::maxNameLength)
        editor->setMaxLength(ChannelRules::maxNameLength);
}

// Colours the frequency editor whose text changed, wherever the focus is:
// text dropped onto an editor without focus changes colour too.
void MainWindow::setFreqValidColor()
{
    QObject *changed = sender();
    if (!isFrequencyEditor(qobject_cast<QWidget *>(changed)))
        return;
    auto *editor = static_cast<QLineEdit *>(changed);
    editor->setStyleSheet(QLatin1String(editor->hasAcceptableInput() ? EditorStyle::green : EditorStyle::red));
}
