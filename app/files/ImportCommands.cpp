// Channel lists from outside in the window: File > Import > CHIRP file...
// and Airfields..., and File > Open of a file that is no channel file. The
// channels come from the exchange library, the same code as vkrtool's, and
// reach the table through placeImportedChannels alone.
#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "AirfieldsDialog.h"
#include "ChannelConvert.h"
#include "ChannelRules.h"
#include "ChirpCsv.h"
#include "ImportReportDialog.h"
#include "RowEdits.h"

#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>

#include <memory>

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
    setCardPlace(QString());
    showStatusMessage(tr("File imported"));
    if (!result.messages.isEmpty())
        showImportReport(tr("Channels imported from %1: %2.").arg(fileName).arg(placed), result.messages);
}

void MainWindow::importAirfields()
{
    AirfieldsDialog dialog(settings, airfieldsTarget(), this);
    connect(&dialog, &AirfieldsDialog::readRadioRequested, this, [this, &dialog] { readForAirfields(dialog); });
    if (dialog.exec() != QDialog::Accepted)
        return;
    // What was skipped was listed in the dialog, beside the channels.
    placeImportedChannels(dialog.result().channels, dialog.replacesTable());
    setCardPlace(dialog.placeName());
    showStatusMessage(tr("Channels imported"));
}

AirfieldsTarget MainWindow::airfieldsTarget() const
{
    const RadioModel &model = sheet.model();
    return {QString::fromLatin1(model.label), model.channelCount, model.firstChannelNumber, sheet.channels(),
            connectedModel && usedCount(sheet.channels()) == 0 && !sheet.differencesFromRadio()};
}

// The window's own read, as "Read from" starts it; the dialog hears how it
// ended once readEnded has put the channels into the table. That is after
// the read's end enabled the file actions again, so the dialog is told on
// the next turn of the event loop.
void MainWindow::readForAirfields(AirfieldsDialog &dialog)
{
    loadFreqsFromVkr();
    if (activity != Activity::Reading) {
        dialog.radioRead(airfieldsTarget(), false);
        return;
    }
    auto ended = std::make_shared<QMetaObject::Connection>();
    *ended = connect(ui->actionAirfields, &QAction::changed, &dialog, [this, ended, target = &dialog] {
        if (activity == Activity::Reading)
            return;
        disconnect(*ended);
        QMetaObject::invokeMethod(
            target, [this, target] { target->radioRead(airfieldsTarget(), sheet.differencesFromRadio().has_value()); },
            Qt::QueuedConnection);
    });
}

// Replacing: the table is emptied and channel k goes to row k. Filling:
// each channel goes to the next empty row from the first one on, so that no
// row in use is overwritten (RowEdits::importRows, which the Airfields
// dialog's preview numbers its channels by too). Channels beyond the
// table's rows are left out. One step of the undo history either way.
// Returns the channels placed.
int MainWindow::placeImportedChannels(const Channels &channels, bool replace)
{
    Channels records = replace ? Channels(ChannelSheet::rowCount) : sheet.channels();
    const QVector<int> rows = RowEdits::importRows(records, channels, replace);
    QList<int> placedRows;
    for (int k = 0; k < channels.size(); ++k) {
        if (rows.at(k) >= 0) {
            records[rows.at(k)] = channels.at(k);
            placedRows.append(rows.at(k));
        }
    }
    sheet.replace(records, tr("Import"), {}, placedRows.mid(0, 1));
    return int(placedRows.size());
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
