// Channel lists from outside in the window: File > Import > CHIRP file...
// and Airfields..., and File > Open of a file that is no channel file. The
// channels come from the exchange library, the same code as vkrtool's, and
// reach the table through placeImportedChannels alone.
#include "MainWindow.h"

#include "AirfieldsDialog.h"
#include "ChannelConvert.h"
#include "ChannelRules.h"
#include "ChirpCsv.h"
#include "ImportReportDialog.h"

#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>

namespace {

constexpr qint64 scanChunkSize = 1 << 16;

// Text never holds a zero byte; images, archives and the like soon do.
bool holdsZeroByte(QFile &file)
{
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(scanChunkSize);
        if (chunk.isEmpty() || chunk.contains('\0'))
            return !chunk.isEmpty();
    }
    return false;
}

} // namespace

void MainWindow::importChirp()
{
    const QString fileName = chooseCsvFile(FileDialogPurpose::Open);
    if (!fileName.isEmpty())
        importChirpFile(fileName);
}

// The CHIRP file's channels replace the table, each at its Location, as a
// channel file's records do. The current file stays the channel file it was:
// a save never writes over the CHIRP file.
void MainWindow::importChirpFile(const QString &fileName)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ImportResult result = convertChannels({fileName, QString(), ChannelFormat::Chirp, ChannelFormat::ChannelFile});
    QGuiApplication::restoreOverrideCursor();
    if (result.outcome != ImportOutcome::Done) {
        showStatusMessage(tr("File not imported"));
        ImportReportDialog(tr("%1 gave no channels.").arg(fileName), result.messages, this).exec();
        return;
    }
    int beyond = 0;
    for (int k = channelCount(); k < result.channels.size(); ++k)
        beyond += result.channels.at(k).isEmpty() ? 0 : 1;
    if (beyond > 0)
        result.messages << tr("channels beyond channel %1 of this radio left out: %2")
                               .arg(firstChannelNumber() + channelCount() - 1)
                               .arg(beyond);
    const int placed = placeImportedChannels(result.channels, true);
    showStatusMessage(tr("File imported"));
    if (!result.messages.isEmpty())
        showImportReport(tr("Channels imported from %1: %2.").arg(fileName).arg(placed), result.messages);
}

void MainWindow::importAirfields()
{
    int emptyRows = 0;
    for (const Channel &record : sheet.channels())
        emptyRows += record.isEmpty() ? 1 : 0;
    AirfieldsDialog dialog(settings, channelCount(), emptyRows, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ImportResult &result = dialog.result();
    placeImportedChannels(result.channels, dialog.replacesTable());
    showStatusMessage(tr("Channels imported"));
    if (!result.messages.isEmpty())
        showImportReport(result.summary, result.messages);
}

// Replacing: the table is emptied and channel k goes to row k. Filling:
// each channel goes to the next empty row from the first one on, so that no
// row in use is overwritten; empty channels are not placed. Channels beyond
// the table's rows are left out. One step of the undo history either way.
// Returns the channels placed.
int MainWindow::placeImportedChannels(const Channels &channels, bool replace)
{
    Channels records = replace ? Channels(ChannelSheet::rowCount) : sheet.channels();
    int row = 0;
    int placed = 0;
    QList<int> placedRows;
    for (const Channel &channel : channels) {
        if (!replace) {
            if (channel.isEmpty())
                continue;
            while (row < records.size() && !records.at(row).isEmpty())
                ++row;
        }
        if (row >= records.size())
            break;
        if (!channel.isEmpty()) {
            records[row] = channel;
            placedRows.append(row);
            ++placed;
        }
        ++row;
    }
    sheet.replace(records, tr("Import"), {}, placedRows.mid(0, 1));
    return placed;
}

void MainWindow::showImportReport(const QString &summary, const QStringList &messages)
{
    ImportReportDialog(summary, messages, this).exec();
}

// A file that File > Open should not read as channels: not text at all
// (refused, the table left as it was), or a CHIRP file, whose import is
// offered instead. False for any other file, and one that does not open.
bool MainWindow::openedAsImport(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (holdsZeroByte(file)) {
        showStatusMessage(tr("Not a channel file"));
        return true;
    }
    if (!file.seek(0) || !ChirpCsv::looksLikeChirp(file))
        return false;
    file.close();
    const auto answer = QMessageBox::question(
        this, tr("CHIRP file"), tr("%1 is a CHIRP file, not a channel file. Import its channels?").arg(fileName),
        QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        importChirpFile(fileName);
    return true;
}
