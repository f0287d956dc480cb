// Open, save and save as of channel CSV files, the remembered folder of the
// file dialogs, the question before unsaved changes are set aside, and the
// window title naming the file Save writes. The channel table is moved to
// and from the file through the widget-free channel file functions.
#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "ChannelCsv.h"
#include "ChannelDelegate.h"
#include "QuotedText.h"
#include "ChannelRules.h"
#include "QtCompat.h"
#include "SettingsKeys.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace {

constexpr char csvSuffix[] = "csv";
constexpr char csvNameFilter[] = "*.csv";

// The records of a file up to its last one that holds a name or a
// frequency: empty records after it are nothing a save could lose.
unsigned usedRecords(const CsvTable &table)
{
    const auto empty = [&table](unsigned row) {
        return QtCompat::utf8UpToZero(table.cell(row, 0)).isEmpty() && QtCompat::utf8UpToZero(table.cell(row, 1)).isEmpty();
    };
    unsigned used = table.rowCount();
    while (used > 0 && empty(used - 1))
        --used;
    return used;
}

} // namespace

// Runs the window-modal file dialog shared by open and save as, starting in
// the folder last entered. Returns the chosen file, or an empty name when
// the dialog was cancelled.
QString MainWindow::chooseCsvFile(FileDialogPurpose purpose)
{
    QFileDialog dialog(this, QString(), QString(), QString());
    if (!currentDirectory.isEmpty())
        dialog.setDirectory(currentDirectory);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAcceptMode(purpose == FileDialogPurpose::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(QLatin1String(csvSuffix));
    dialog.setNameFilter(QLatin1String(csvNameFilter));
    connect(&dialog, &QFileDialog::directoryEntered, this, &MainWindow::dirEntered);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

// The file's first 100 records become the table, as one step of the undo
// history; more are counted, shown in the status bar and kept in mind for
// a save over that file.
void MainWindow::open()
{
    if (!maySetTableAside())
        return;
    const QString fileName = chooseCsvFile(FileDialogPurpose::Open);
    if (fileName.isEmpty() || openedAsImport(fileName))
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    if (csvTable.read(fileName)) {
        sheet.replace(ChannelCsv::fromTable(csvTable, unsigned(ChannelSheet::rowCount)), tr("Open"));
        sheet.setClean();
        showFirstRow();
        QGuiApplication::restoreOverrideCursor();
        currentFileName = fileName;
        tableReadFrom.clear();
        cardPlace.clear();
        hiddenRecordsFile = fileName;
        hiddenRecordCount = qMax(0, int(usedRecords(csvTable)) - ChannelSheet::rowCount);
        showFileName();
        showStatusMessage(tr("File loaded"));
    } else {
        QGuiApplication::restoreOverrideCursor();
        showStatusMessage(tr("File not loaded"));
    }
}

void MainWindow::save()
{
    saveChanges();
}

// A cancelled dialog is no failure: true, nothing written.
bool MainWindow::saveAs()
{
    const QString fileName = chooseCsvFile(FileDialogPurpose::Save);
    if (fileName.isEmpty())
        return true;
    currentFileName = fileName;
    showFileName();
    return saveTableTo(fileName) != SaveOutcome::Failed;
}

// Writes the table to the current file, asking for one when there is none
// yet; a failed write is shown in a box. True only when the table was
// written.
bool MainWindow::saveChanges()
{
    // Channels read from the radio do not go over the file that was open
    // without a word: that file is another list.
    bool chooseFile = currentFileName.isEmpty();
    if (!chooseFile && !tableReadFrom.isEmpty()) {
        QMessageBox box(QMessageBox::Question, tr("VKR Frequency Tool"),
                        tr("Replace %1 with the channels read from the radio?").arg(QFileInfo(currentFileName).fileName()),
                        QMessageBox::Cancel, this);
        QPushButton *replace = box.addButton(tr("Replace"), QMessageBox::AcceptRole);
        QPushButton *saveAsAnother = box.addButton(tr("Save As..."), QMessageBox::ActionRole);
        box.setDefaultButton(saveAsAnother);
        box.exec();
        if (box.clickedButton() != replace && box.clickedButton() != saveAsAnother)
            return false;
        chooseFile = box.clickedButton() == saveAsAnother;
    }
    if (chooseFile) {
        const QString fileName = chooseCsvFile(FileDialogPurpose::Save);
        if (fileName.isEmpty())
            return false;
        currentFileName = fileName;
        showFileName();
    }
    QString why;
    const SaveOutcome outcome = saveTableTo(currentFileName, &why);
    if (outcome == SaveOutcome::Failed) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Save error"), QStringLiteral("File could not be saved"),
                        QMessageBox::Ok, this);
        box.setInformativeText(why);
        box.exec();
    }
    return outcome == SaveOutcome::Saved;
}

void MainWindow::dirEntered(QString dir)
{
    currentDirectory = dir;
    settings.setValue(QLatin1String(SettingsKeys::currentDirectory), QVariant(dir));
}

// Writes every record of the table. Over the file that holds more records
// than the table shows, the user is asked first, as those would be lost.
MainWindow::SaveOutcome MainWindow::saveTableTo(const QString &fileName, QString *reason)
{
    // What a channel file cannot hold is named, and shown, before anything
    // is written: saved anyway, the file would read back other than the
    // table shows.
    const ChannelCsv::Unwritable refused = ChannelCsv::findUnwritable(sheet.channels());
    if (refused.record >= 0) {
        const QString why = tr("channel %1: its %2 holds %3, which a channel file cannot keep")
                                .arg(firstChannelNumber() + refused.record)
                                .arg(refused.inName ? tr("name") : tr("frequency"),
                                     QuotedText::escaped(QString(refused.character)));
        showChannelProblem(refused.record, refused.inName ? ChannelDelegate::NameColumn : ChannelDelegate::FrequencyColumn);
        showStatusMessage(tr("File not saved: %1").arg(why));
        if (reason)
            *reason = why;
        return SaveOutcome::Failed;
    }
    if (hiddenRecordCount > 0 && QFileInfo(fileName) == QFileInfo(hiddenRecordsFile)) {
        QMessageBox box(QMessageBox::Warning, tr("VKR Frequency Tool"),
                        tr("%1 holds %2 beyond the %3 the table shows.")
                            .arg(QFileInfo(fileName).fileName(), countedRecords(hiddenRecordCount))
                            .arg(ChannelSheet::rowCount),
                        QMessageBox::Save | QMessageBox::Cancel, this);
        box.setInformativeText(tr("Saving over the file drops them. Save as another file to keep them."));
        box.setDefaultButton(QMessageBox::Cancel);
        if (box.exec() != QMessageBox::Save)
            return SaveOutcome::Cancelled;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QString why;
    const bool written = ChannelCsv::writeFile(fileName, sheet.channels(), &why);
    QGuiApplication::restoreOverrideCursor();
    if (!written) {
        showStatusMessage(tr("File not saved: %1").arg(why));
        if (reason)
            *reason = why;
        return SaveOutcome::Failed;
    }
    tableReadFrom.clear(); // the table is now that file's
    showStatusMessage(tr("File saved"));
    if (hiddenRecordCount > 0 && QFileInfo(fileName) == QFileInfo(hiddenRecordsFile))
        hiddenRecordCount = 0;
    showHiddenRecords();
    sheet.setClean();
    return SaveOutcome::Saved;
}

// Before the table is replaced or the window closes: unsaved changes are
// saved, dropped or kept, as the user answers. False when the table is to
// stay as it is.
bool MainWindow::maySetTableAside()
{
    if (sheet.isClean())
        return true;
    QMessageBox box(QMessageBox::Question, tr("VKR Frequency Tool"), tr("Save changes?"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setInformativeText(currentFileName.isEmpty()
                               ? tr("The table has changes that are in no file.")
                               : tr("The table has changes not saved in %1.").arg(QFileInfo(currentFileName).fileName()));
    box.setDefaultButton(QMessageBox::Save);
    box.setWindowModality(Qt::WindowModal);
    switch (box.exec()) {
    case QMessageBox::Save:
        return saveChanges();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

// "<file name>[*] - VKR Frequency Tool": the mark shows while the table has
// changes Save would write there. Once the table came from the radio, the
// title names the radio ("VKR627A (radio)"), not the file it would replace.
// With neither the title is the program's name alone.
void MainWindow::showFileName()
{
    const QString program = tr("VKR Frequency Tool");
    if (!tableReadFrom.isEmpty())
        setWindowTitle(tr("%1 (radio)[*] - %2").arg(tableReadFrom, program));
    else if (!currentFileName.isEmpty())
        setWindowTitle(QStringLiteral("%1[*] - %2").arg(QFileInfo(currentFileName).fileName(), program));
    else
        setWindowTitle(program);
    setWindowModified((!currentFileName.isEmpty() || !tableReadFrom.isEmpty()) && !sheet.isClean());
    showHiddenRecords();
}

void MainWindow::showHiddenRecords()
{
    const bool hidden = hiddenRecordCount > 0 && QFileInfo(currentFileName) == QFileInfo(hiddenRecordsFile);
    hiddenRecordsLabel->setText(
        hidden ? tr("The file holds %1 more, not shown").arg(countedRecords(hiddenRecordCount)) : QString());
    hiddenRecordsLabel->setVisible(hidden && ui->statusBar->currentMessage().isEmpty());
}
