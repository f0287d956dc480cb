// The channel card from the window: printed through the system's print
// dialog after a preview, or exported as a PDF file. The card itself is laid
// out by ChannelCard from the table's records.
#include "MainWindow.h"

#include "CardSettings.h"
#include "ChannelCard.h"
#include "ChannelCsv.h"
#include "RadioModels.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>

namespace {
constexpr char pdfSuffix[] = "pdf";
} // namespace

void MainWindow::printCard()
{
    const ChannelCard card = channelCard();
    if (!cardHasChannels(card))
        return;

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(card.title());
    printer.setCreator(QLatin1String(ChannelCard::creator));
    printer.setPageLayout(CardSettings::paper(settings));
    // The preview's print button opens the system's print dialog, where the
    // paper can be changed once more.
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(tr("Print card"));
    // Large enough to read the card in, on any screen.
    if (const QScreen *screen = this->screen())
        preview.resize(screen->availableSize() * 3 / 4);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&card](QPrinter *target) { card.paint(*target); });
    const bool printed = preview.exec() == QDialog::Accepted;
    CardSettings::storePaper(settings, printer.pageLayout());
    if (printed)
        showStatusMessage(withRecordsLeftOut(tr("Card printed")));
}

void MainWindow::exportCard()
{
    const ChannelCard card = channelCard();
    if (!cardHasChannels(card))
        return;
    const QString fileName = chooseCardFile();
    if (fileName.isEmpty())
        return;

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QByteArray pdf = card.toPdf(CardSettings::paper(settings));
    // Written like the channel files: complete, or the old file left as it was.
    const bool saved = !pdf.isEmpty() && ChannelCsv::saveBytes(fileName, pdf);
    QGuiApplication::restoreOverrideCursor();
    if (saved) {
        showStatusMessage(withRecordsLeftOut(tr("Card exported")));
        return;
    }
    QMessageBox::warning(this, QStringLiteral("Export error"),
                         QStringLiteral("The card could not be saved as %1.").arg(QDir::toNativeSeparators(fileName)),
                         QMessageBox::Ok);
}

// The channels the radio holds: the card goes with the radio, and the rows
// beyond its channels are not on it (the status bar says so).
ChannelCard MainWindow::channelCard() const
{
    return ChannelCard(sheet.radioChannels(), firstChannelNumber(), cardTitle(), QDate::currentDate());
}

// What the channels are, for which radio: "EDDF area, VKR627S" for the
// channels chosen around a place, "club, VKR627S" for a channel file,
// "Radio VKR627S" for the radio's memory as read. The card adds the date.
QString MainWindow::cardTitle() const
{
    QString radioName;
    if (connectedModel)
        radioName = QLatin1String(connectedModel->label);
    else if (!tableReadFrom.isEmpty())
        radioName = tableReadFrom;
    else if (qstrcmp(sheet.model().label, RadioModels::series().label) != 0)
        radioName = QLatin1String(sheet.model().label);
    QString source;
    if (!cardPlace.isEmpty())
        source = tr("%1 area").arg(cardPlace);
    else if (tableReadFrom.isEmpty() && !currentFileName.isEmpty())
        source = QFileInfo(currentFileName).completeBaseName();
    if (source.isEmpty())
        return radioName.isEmpty() ? tr("Channels") : tr("Radio %1").arg(radioName);
    return radioName.isEmpty() ? source : tr("%1, %2").arg(source, radioName);
}

// The name an exported card is proposed under: its title and date, without
// what a file name had better not hold ("EDDF area VKR627S 2026-12-08.pdf").
QString MainWindow::cardFileName() const
{
    QString name = cardTitle() + QLatin1Char(' ') + QDate::currentDate().toString(Qt::ISODate);
    name.replace(QRegularExpression(QStringLiteral("[,\\\\/:*?\"<>|]")), QString());
    return name.simplified() + QLatin1Char('.') + QLatin1String(pdfSuffix);
}

// A card without a channel would be paper with a title: say so instead.
bool MainWindow::cardHasChannels(const ChannelCard &card)
{
    if (!card.isEmpty())
        return true;
    QMessageBox::information(this, QStringLiteral("Channel card"),
                             QStringLiteral("No channel in the table has a name or a frequency: "
                                            "there is nothing to put on a card."),
                             QMessageBox::Ok);
    return false;
}

// The save dialog of the export. It starts in the folder a card was last
// exported to; before the first export, beside the channel file, else in the
// channel files' folder, else in the user's documents. A name is proposed,
// so that Enter saves. Returns the file to write, ending in ".pdf", or an
// empty name when the user cancelled.
QString MainWindow::chooseCardFile()
{
    QFileDialog dialog(this, tr("Export card"), QString(), tr("PDF files (*.pdf)"));
    const QString suffix = QLatin1Char('.') + QLatin1String(pdfSuffix);
    const QFileInfo channelFile(currentFileName);
    QString startFolder = CardSettings::folder(settings);
    if (startFolder.isEmpty())
        startFolder = currentFileName.isEmpty() ? currentDirectory : channelFile.absolutePath();
    if (startFolder.isEmpty())
        startFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    dialog.setDirectory(startFolder);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QLatin1String(pdfSuffix));
    dialog.selectFile(cardFileName());
    connect(&dialog, &QFileDialog::directoryEntered, this,
            [this](const QString &folder) { CardSettings::storeFolder(settings, folder); });
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    QString fileName = dialog.selectedFiles().value(0);
    if (fileName.isEmpty())
        return QString();
    CardSettings::storeFolder(settings, QFileInfo(fileName).absolutePath());

    // The dialog adds the suffix only to a name without any ("card"), and
    // asks before replacing that file; "card.v2" gets it here, and the same
    // question.
    if (fileName.endsWith(suffix, Qt::CaseInsensitive))
        return fileName;
    fileName += suffix;
    if (!QFileInfo::exists(fileName))
        return fileName;
    const auto answer = QMessageBox::question(
        this, QStringLiteral("Export card"),
        QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(QFileInfo(fileName).fileName()),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes ? fileName : QString();
}
