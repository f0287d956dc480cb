// Open, save and save as of channel CSV files, and the remembered folder of
// the file dialogs. The channel table is moved to and from the file through
// the widget-free channel file functions.
#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "ChannelCsv.h"
#include "SettingsKeys.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>

namespace {
constexpr char csvSuffix[] = "csv";
constexpr char csvNameFilter[] = "*.csv";
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

void MainWindow::open()
{
    const QString fileName = chooseCsvFile(FileDialogPurpose::Open);
    if (fileName.isEmpty() || openedAsImport(fileName))
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    if (csvTable.read(fileName)) {
        fillFrequencyTable();
        QGuiApplication::restoreOverrideCursor();
        currentFileName = fileName;
        tableReadFrom.clear();
        showStatusMessage(tr("File loaded"));
    } else {
        QGuiApplication::restoreOverrideCursor();
        showStatusMessage(tr("File not loaded"));
    }
}

void MainWindow::save()
{
    const bool saved = currentFileName.isEmpty() ? saveAs() : writeCsvFile();
    if (!saved) {
        QMessageBox::warning(this, QStringLiteral("Save error"), QStringLiteral("File could not be saved"),
                             QMessageBox::Ok, QMessageBox::NoButton);
    }
}

// A cancelled dialog is no failure: true, nothing written.
bool MainWindow::saveAs()
{
    const QString fileName = chooseCsvFile(FileDialogPurpose::Save);
    if (fileName.isEmpty())
        return true;
    currentFileName = fileName;
    return writeCsvFile();
}

void MainWindow::dirEntered(QString dir)
{
    currentDirectory = dir;
    settings.setValue(QLatin1String(SettingsKeys::currentDirectory), QVariant(dir));
}

bool MainWindow::writeCsvFile()
{
    if (currentFileName.isEmpty())
        return false;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written = ChannelCsv::writeFile(currentFileName, tableRecords());
    QGuiApplication::restoreOverrideCursor();
    if (written)
        tableReadFrom.clear(); // the table is now that file's
    showStatusMessage(written ? tr("File saved") : tr("File not saved"));
    return written;
}

// Rows beyond the file's records are left empty; records beyond the table's
// rows stay in csvTable unseen.
void MainWindow::fillFrequencyTable()
{
    clearFrequencyTable();
    const ChannelRecords records = ChannelCsv::fromTable(csvTable, unsigned(channelCount));
    for (int row = 0; row < records.size(); ++row) {
        setEditorText(nameEditor(row), records.at(row).name);
        setEditorText(frequencyEditor(row), records.at(row).frequency);
    }
    nameEditor(0)->setFocus(Qt::OtherFocusReason);
}
