#include "AirfieldsDialog.h"
#include "ui_AirfieldsDialog.h"

#include "AirfieldDownload.h"
#include "AirfieldReport.h"
#include "ChannelSheet.h"
#include "ProgramFolders.h"
#include "RowEdits.h"
#include "SettingsKeys.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalBlocker>
#include <QTimer>

namespace {

const QString listSeparators = QStringLiteral("[\\s,;]+");
constexpr char csvFilter[] = "CSV files (*.csv);;All files (*)";
// Room for a place and for a screenful of channels, in the user's font.
constexpr int placeCharacters = 32;
constexpr int previewLines = 10;
constexpr int reportLines = 4;
constexpr double bytesPerMegabyte = 1 << 20;

enum PreviewColumn { ChannelColumn, NameColumn, FrequencyColumn, AirfieldColumn, DistanceColumn, BearingColumn };

// A request the dialog cannot put together, in the dialog's own terms.
QString problemText(RequestProblem problem)
{
    switch (problem) {
    case RequestProblem::PositionWithoutAirports:
        return QObject::tr("A search around a place needs the airports file.");
    case RequestProblem::PositionOffGlobe:
        return QObject::tr("The place is off the globe: latitude -90 to 90, longitude -180 to 180.");
    case RequestProblem::ChannelCountOutOfRange:
        return QObject::tr("The table has no room for channels: choose \"Replace the table\".");
    default:
        break;
    }
    return QObject::tr("Give a place in \"Near\", or the airfields' idents.");
}

QString megabytes(qint64 bytes)
{
    return QString::number(double(bytes) / bytesPerMegabyte, 'f', 1);
}

QTableWidgetItem *cell(const QString &text, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto *item = new QTableWidgetItem(text);
    item->setData(Qt::TextAlignmentRole, int(alignment | Qt::AlignVCenter)); // as Qt 5 and 6 both read it
    return item;
}

} // namespace

AirfieldsDialog::AirfieldsDialog(QSettings &settings, const AirfieldsTarget &target, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::AirfieldsDialog)
    , settings(settings)
    , target(target)
    , dataFolder(ProgramFolders::dataFolder())
{
    ui->setupUi(this);
    filesChosen = settings.value(QLatin1String(SettingsKeys::airfieldFilesInUse)).toBool()
        && QFileInfo::exists(settings.value(QLatin1String(SettingsKeys::airportFrequenciesFile)).toString())
        && QFileInfo::exists(settings.value(QLatin1String(SettingsKeys::airportsFile)).toString());
    ui->previewTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    const QFontMetrics metrics(font());
    ui->positionEdit->setMinimumWidth(metrics.averageCharWidth() * placeCharacters);
    ui->previewTable->setMinimumHeight(metrics.lineSpacing() * previewLines);
    ui->reportText->setFixedHeight(metrics.lineSpacing() * reportLines + 2 * ui->reportText->frameWidth()
                                   + 2 * int(ui->reportText->document()->documentMargin()));
    // Wide enough for the longer of its two words for "none given".
    ui->perAirfieldSpinBox->setSpecialValueText(mainOnlyText());
    ui->perAirfieldSpinBox->setMinimumWidth(ui->perAirfieldSpinBox->sizeHint().width());
    const QSize remembered = settings.value(QLatin1String(SettingsKeys::airfieldsDialogSize)).toSize();
    if (remembered.isValid())
        resize(remembered.expandedTo(minimumSizeHint()));

    ui->readFirstCheckBox->setVisible(target.radioUnread);
    ui->readFirstCheckBox->setChecked(target.radioUnread);
    if (!target.radioUnread && freeChannels() == 0)
        ui->replaceRadioButton->setChecked(true);

    connect(ui->updateButton, &QPushButton::clicked, this, &AirfieldsDialog::startDownload);
    connect(ui->chooseFilesButton, &QPushButton::clicked, this, &AirfieldsDialog::chooseFiles);
    connect(ui->stopDownloadButton, &QPushButton::clicked, this, [this] {
        if (download)
            download->cancel();
    });
    connect(ui->showButton, &QPushButton::clicked, this, &AirfieldsDialog::showChannels);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &AirfieldsDialog::takeChannels);
    for (QLineEdit *edit : {ui->positionEdit, ui->identsEdit, ui->typesEdit})
        connect(edit, &QLineEdit::textChanged, this, &AirfieldsDialog::requestChanged);
    for (QSpinBox *spinBox : {ui->radiusSpinBox, ui->perAirfieldSpinBox})
        connect(spinBox, QOverload<int>::of(&QSpinBox::valueChanged), this, &AirfieldsDialog::requestChanged);
    connect(ui->nearestSpinBox, QOverload<int>::of(&QSpinBox::valueChanged), this, [this] {
        nearestSetByUser = true;
        requestChanged();
    });
    for (QAbstractButton *button : std::initializer_list<QAbstractButton *>{
             ui->nearRadioButton, ui->radiusCheckBox, ui->heliportsCheckBox, ui->seaplaneBasesCheckBox,
             ui->balloonPortsCheckBox, ui->replaceRadioButton, ui->readFirstCheckBox})
        connect(button, &QAbstractButton::toggled, this, &AirfieldsDialog::requestChanged);
    // Choosing how the airfields are given (Alt+N, Alt+I) leads on to
    // where they are typed, once that is enabled.
    connect(ui->nearRadioButton, &QRadioButton::toggled, this, [this](bool near) {
        (near ? ui->positionEdit : ui->identsEdit)->setFocus();
    });

    showData();
    requestChanged();
    ui->positionEdit->setFocus();
}

AirfieldsDialog::~AirfieldsDialog()
{
    delete ui;
}

bool AirfieldsDialog::replacesTable() const
{
    return ui->replaceRadioButton->isChecked();
}

// The size is remembered however the dialog closes; a download under way
// stops, leaving the data kept before as it was.
void AirfieldsDialog::done(int result)
{
    settings.setValue(QLatin1String(SettingsKeys::airfieldsDialogSize), size());
    delete download;
    download = nullptr;
    QDialog::done(result);
}

// Filling waits for the radio's memory, as offered (and ticked).
bool AirfieldsDialog::readsFirst() const
{
    return !replacesTable() && !ui->readFirstCheckBox->isHidden() && ui->readFirstCheckBox->isChecked();
}

// The radio's channels without a name or a frequency.
int AirfieldsDialog::freeChannels() const
{
    int free = 0;
    for (int row = 0; row < target.channelCount && row < target.table.size(); ++row)
        free += target.table.at(row).isEmpty() ? 1 : 0;
    return free;
}

// The channels the request is for unless the user says otherwise: as many
// as the radio has free, all of its channels when the table is replaced or
// the radio is yet to be read.
int AirfieldsDialog::room() const
{
    if (replacesTable() || readsFirst())
        return target.channelCount;
    return freeChannels();
}

// "The VKR627S holds 20 channels; 20 free from channel 1"; the count of
// nearest airfields follows until the user sets it.
void AirfieldsDialog::showRoom()
{
    const QString holds = tr("The %1 holds %2 channels").arg(target.model).arg(target.channelCount);
    int firstFree = 0;
    while (firstFree < target.channelCount && firstFree < target.table.size() && !target.table.at(firstFree).isEmpty())
        ++firstFree;
    const int free = freeChannels();
    QString text;
    if (replacesTable())
        text = tr("%1; the table is replaced from channel %2").arg(holds).arg(target.firstChannelNumber);
    else if (readsFirst())
        text = tr("%1; they are read before the table is filled").arg(holds);
    else if (free == 0)
        text = tr("%1; none free").arg(holds);
    else
        text = tr("%1; %2 free from channel %3").arg(holds).arg(free).arg(target.firstChannelNumber + firstFree);
    ui->roomLabel->setText(text);
    if (!nearestSetByUser && room() > 0) {
        const QSignalBlocker quiet(ui->nearestSpinBox);
        ui->nearestSpinBox->setValue(room());
    }
}

void AirfieldsDialog::showData()
{
    const AirfieldData kept(dataFolder);
    if (filesChosen) {
        const QString frequencies = settings.value(QLatin1String(SettingsKeys::airportFrequenciesFile)).toString();
        const QString airports = settings.value(QLatin1String(SettingsKeys::airportsFile)).toString();
        ui->dataLabel->setText(
            tr("Your files %1 and %2").arg(QFileInfo(frequencies).fileName(), QFileInfo(airports).fileName()));
        ui->dataLabel->setToolTip(frequencies + QLatin1Char('\n') + airports);
    } else if (kept.isKept()) {
        ui->dataLabel->setText(tr("Airfield data of %1").arg(kept.dateText()));
        ui->dataLabel->setToolTip(kept.folder());
    } else {
        ui->dataLabel->setText(tr("No airfield data yet: it is downloaded when you show channels"));
        ui->dataLabel->setToolTip(QString());
    }
}

// The first dialog starts where the files were last chosen (else in the
// window's folder), the second where the first file is, on airports.csv.
// Offered during a download too: without a network, that may take a while
// to fail.
void AirfieldsDialog::chooseFiles()
{
    const QString last = settings.value(QLatin1String(SettingsKeys::airportFrequenciesFile)).toString();
    const QString start = QFileInfo::exists(last) ? last
        : last.isEmpty()                          ? settings.value(QLatin1String(SettingsKeys::currentDirectory)).toString()
                                                  : QFileInfo(last).absolutePath();
    const QString frequencies = QFileDialog::getOpenFileName(
        this, tr("OurAirports' frequencies file (airport-frequencies.csv)"), start, tr(csvFilter));
    if (frequencies.isEmpty())
        return;
    const QString folder = QFileInfo(frequencies).absolutePath();
    const QString airportsThere = folder + QLatin1Char('/') + QLatin1String(AirfieldData::airportsName);
    const QString airports = QFileDialog::getOpenFileName(this, tr("OurAirports' airports file (airports.csv)"),
                                                          QFileInfo::exists(airportsThere) ? airportsThere : folder,
                                                          tr(csvFilter));
    if (airports.isEmpty())
        return;
    settings.setValue(QLatin1String(SettingsKeys::airportFrequenciesFile), frequencies);
    settings.setValue(QLatin1String(SettingsKeys::airportsFile), airports);
    settings.setValue(QLatin1String(SettingsKeys::airfieldFilesInUse), true);
    filesChosen = true;
    // The files stand in for a download under way, which stops unheard.
    if (download) {
        delete download;
        download = nullptr;
        showDownloading(false);
    }
    showData();
    requestChanged();
    showWhenReady();
}

void AirfieldsDialog::startDownload()
{
    if (download)
        return;
    const QUrl address = ourAirportsAddress(settings.value(QLatin1String(ourAirportsAddressSetting)).toString());
    download = new AirfieldDownload(dataFolder, address, this);
    connect(download, &AirfieldDownload::progress, this, [this](const QString &file, qint64 received, qint64 total) {
        ui->downloadProgressBar->setRange(0, total > 0 ? int(total >> 10) : 0);
        ui->downloadProgressBar->setValue(int(received >> 10));
        ui->downloadProgressBar->setFormat(total > 0 ? tr("%1: %2 of %3 MB").arg(file, megabytes(received), megabytes(total))
                                                     : tr("%1: %2 MB").arg(file, megabytes(received)));
    });
    connect(download, &AirfieldDownload::finished, this, &AirfieldsDialog::downloadEnded);
    ui->downloadProgressBar->setRange(0, 0);
    ui->downloadProgressBar->setFormat(QString());
    ui->dataLabel->setText(tr("Downloading airfield data from %1...").arg(address.host()));
    showDownloading(true);
    download->start();
}

// The keys stay where they were: a button disabled meanwhile would pass the
// focus on down the dialog, as far as Cancel.
void AirfieldsDialog::showDownloading(bool downloading)
{
    if (downloading)
        focusBefore = focusWidget();
    ui->downloadProgressBar->setVisible(downloading);
    ui->stopDownloadButton->setVisible(downloading);
    ui->updateButton->setEnabled(!downloading);
    if (!downloading)
        (focusBefore && focusBefore->isEnabled() ? focusBefore.data() : ui->positionEdit)->setFocus();
}

// A download that did not end whole leaves the data kept before in use,
// and says why and which data that is.
void AirfieldsDialog::downloadEnded(const DownloadResult &ended)
{
    const QUrl address = ourAirportsAddress(settings.value(QLatin1String(ourAirportsAddressSetting)).toString());
    download->deleteLater();
    download = nullptr;
    showDownloading(false);
    const AirfieldData kept(dataFolder);
    if (ended.outcome == DownloadOutcome::Done) {
        filesChosen = false;
        settings.setValue(QLatin1String(SettingsKeys::airfieldFilesInUse), false);
        showData();
        QStringList lines{tr("Airfield data of %1 downloaded from %2.").arg(kept.dateText(), address.toDisplayString())};
        if (awaitingRead)
            lines << readingText();
        report(lines);
        showWhenReady();
        return;
    }
    endPending();
    showData();
    QString why;
    switch (ended.outcome) {
    case DownloadOutcome::Cancelled:
        why = tr("The download was stopped.");
        break;
    case DownloadOutcome::NoConnection:
        why = tr("No connection to %1: %2.").arg(address.toDisplayString(), ended.reason);
        break;
    default:
        why = tr("%1 was not downloaded from %2: %3.").arg(ended.file, address.toDisplayString(), ended.reason);
        break;
    }
    const QString stays = filesChosen    ? tr("Your files stay in use.")
        : kept.isKept()                  ? tr("The airfield data of %1 stays in use.").arg(kept.dateText())
                                         : tr("No airfield data is kept: with \"Choose files...\" use OurAirports' "
                                              "airport-frequencies.csv and airports.csv from another source.");
    report({why, stays});
}

// What is shown belongs to the request it was worked out for: a change
// takes it away, and OK waits for the next "Show channels".
void AirfieldsDialog::requestChanged()
{
    const bool near = ui->nearRadioButton->isChecked();
    for (QWidget *nearOnly : std::initializer_list<QWidget *>{
             ui->positionEdit, ui->nearestSpinBox, ui->radiusCheckBox, ui->heliportsCheckBox,
             ui->seaplaneBasesCheckBox, ui->balloonPortsCheckBox})
        nearOnly->setEnabled(near);
    ui->radiusSpinBox->setEnabled(near && ui->radiusCheckBox->isChecked());
    ui->identsEdit->setEnabled(!near);
    ui->perAirfieldSpinBox->setSpecialValueText(near ? mainOnlyText() : tr("all"));
    ui->readFirstCheckBox->setEnabled(!replacesTable());
    showRoom();
    shown = AirfieldResult();
    ui->previewTable->setRowCount(0);
    if (!showPending)
        report(awaitingRead ? QStringList{readingText()} : QStringList());
    ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(false);
    ui->buttonBox->button(QDialogButtonBox::Ok)->setDefault(false);
    ui->showButton->setDefault(true);
}

bool AirfieldsDialog::takeRequest(AirfieldOptions &options)
{
    requestChanged();
    const QString wrong = readRequest(options);
    if (!wrong.isEmpty())
        report({wrong});
    return wrong.isEmpty();
}

QString AirfieldsDialog::readRequest(AirfieldOptions &options) const
{
    const AirfieldData kept(dataFolder);
    options.frequenciesFile = filesChosen ? settings.value(QLatin1String(SettingsKeys::airportFrequenciesFile)).toString()
                                          : kept.frequenciesPath();
    options.airportsFile = filesChosen ? settings.value(QLatin1String(SettingsKeys::airportsFile)).toString()
                                       : kept.airportsPath();
    const int nearest = ui->nearestSpinBox->value();
    if (ui->nearRadioButton->isChecked()) {
        const QString text = ui->positionEdit->text().trimmed();
        options.near = parsePlace(text);
        if (text.isEmpty())
            return tr("Type in \"Near\" %1.").arg(placeForms());
        if (!options.near)
            return tr("\"Near\" does not read \"%1\" as a place. Give %2.").arg(text, placeForms());
        options.nearest = nearest;
        if (ui->radiusCheckBox->isChecked())
            options.radiusKm = ui->radiusSpinBox->value();
        options.heliports = ui->heliportsCheckBox->isChecked();
        options.seaplaneBases = ui->seaplaneBasesCheckBox->isChecked();
        options.balloonPorts = ui->balloonPortsCheckBox->isChecked();
    } else {
        options.idents = ui->identsEdit->text().split(QRegularExpression(listSeparators), Qt::SkipEmptyParts);
        if (options.idents.isEmpty())
            return tr("Name the airfields by their idents, such as EDDF EDDS.");
    }
    options.types = ui->typesEdit->text().split(QRegularExpression(listSeparators), Qt::SkipEmptyParts);
    if (ui->perAirfieldSpinBox->value() > 0)
        options.perAirfield = ui->perAirfieldSpinBox->value();
    // No more channels than the radio has room for, unless more airfields
    // are asked for; never more than the table has rows for.
    const int tableRoom = replacesTable() ? ChannelSheet::rowCount : ChannelSheet::rowCount - usedCount(target.table);
    const int wanted = options.nearest ? qMax(*options.nearest, room()) : room();
    options.maxChannels = qMin(wanted, tableRoom);
    if (options.maxChannels < 1)
        return problemText(RequestProblem::ChannelCountOutOfRange);
    return QString();
}

// "Show channels": a request that is not right is said at once; else the
// radio is read first when the user keeps that ticked, and the data
// downloaded when none is kept, and the channels are shown once both came.
void AirfieldsDialog::showChannels()
{
    if (showPending)
        return;
    AirfieldOptions options;
    if (!takeRequest(options))
        return;
    showPending = true;
    fetchWhatIsMissing();
    // Until the channels are shown, Show waits too.
    if (awaitingRead || download) {
        if (ui->showButton->hasFocus())
            ui->positionEdit->setFocus();
        ui->showButton->setEnabled(false);
    }
    showWhenReady();
}

// The radio's memory, when it is to be read first, and the data, when none
// is kept: from the moment the dialog opens, while the user types.
void AirfieldsDialog::fetchWhatIsMissing()
{
    if (readsFirst() && !awaitingRead) {
        awaitingRead = true;
        report({readingText()});
        emit readRadioRequested();
    }
    if (!download && !filesChosen && !AirfieldData(dataFolder).isKept())
        startDownload();
}

void AirfieldsDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!opened)
        QTimer::singleShot(0, this, &AirfieldsDialog::fetchWhatIsMissing);
    opened = true;
}

void AirfieldsDialog::endPending()
{
    showPending = false;
    ui->showButton->setEnabled(true);
}

// Around a place, an airfield gives one channel unless more are asked for.
QString AirfieldsDialog::mainOnlyText() const
{
    return tr("1, the main");
}

QString AirfieldsDialog::readingText() const
{
    return tr("Reading the %1...").arg(target.model);
}

void AirfieldsDialog::radioRead(const AirfieldsTarget &now, bool complete)
{
    target = now;
    awaitingRead = false;
    ui->readFirstCheckBox->setVisible(target.radioUnread);
    showRoom();
    if (!complete) {
        endPending();
        report({tr("The %1 was not read whole, so nothing is shown. Read it again, or untick \"Read the radio "
                   "first\" to fill the table as it is.")
                    .arg(target.model)});
        return;
    }
    if (!showPending)
        report({}); // the room line says what the read found
    showWhenReady();
}

void AirfieldsDialog::showWhenReady()
{
    if (!showPending || awaitingRead || download)
        return;
    endPending();
    if (!filesChosen && !AirfieldData(dataFolder).isKept())
        return; // the download failed, and said why
    AirfieldOptions options;
    if (!takeRequest(options))
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    shown = importAirfields(options);
    QGuiApplication::restoreOverrideCursor();
    showResult(options);
}

void AirfieldsDialog::showResult(const AirfieldOptions &options)
{
    if (shown.outcome == ImportOutcome::RequestNotRight) {
        report({problemText(shown.problem)});
        return;
    }
    if (shown.outcome != ImportOutcome::Done) {
        report(shown.messages);
        return;
    }
    const bool replace = replacesTable();
    const QVector<int> rows = RowEdits::importRows(replace ? Channels(ChannelSheet::rowCount) : target.table,
                                                   shown.channels, replace);
    ui->previewTable->setRowCount(int(shown.channels.size()));
    int placed = 0;
    int beyondRadio = 0;
    for (int k = 0; k < shown.channels.size(); ++k) {
        const Channel &channel = shown.channels.at(k);
        const AirfieldChannelOrigin origin = shown.origins.value(k);
        const int row = rows.at(k);
        placed += row >= 0 ? 1 : 0;
        beyondRadio += row >= target.channelCount ? 1 : 0;
        ui->previewTable->setItem(k, ChannelColumn,
                                  cell(row >= 0 ? QString::number(target.firstChannelNumber + row) : tr("none"),
                                       Qt::AlignRight));
        ui->previewTable->setItem(k, NameColumn, cell(channel.name));
        ui->previewTable->setItem(k, FrequencyColumn, cell(channel.frequency.text(), Qt::AlignRight));
        ui->previewTable->setItem(k, AirfieldColumn, cell(origin.airfieldName.isEmpty()
                                                              ? QString::fromLatin1(origin.ident)
                                                              : origin.airfieldName));
        ui->previewTable->setItem(k, DistanceColumn,
                                  cell(origin.distanceKm ? distanceText(*origin.distanceKm) : QString(), Qt::AlignRight));
        ui->previewTable->setItem(k, BearingColumn,
                                  cell(origin.bearingDegrees ? bearingText(*origin.bearingDegrees) : QString(),
                                       Qt::AlignRight));
    }
    QStringList lines{shown.summary};
    if (beyondRadio > 0)
        lines << tr("%1 of them go beyond channel %2, the %3's last: a write leaves them out.")
                     .arg(beyondRadio)
                     .arg(target.firstChannelNumber + target.channelCount - 1)
                     .arg(target.model);
    for (const LeftOutAirfields &leftOut : shown.leftOut)
        lines << leftOutText(leftOut, options);
    // Rows skipped, listed here rather than in a box of their own once
    // the channels are placed: Enter places them and that is all.
    lines << shown.messages;
    report(lines);
    QPushButton *ok = ui->buttonBox->button(QDialogButtonBox::Ok);
    ok->setEnabled(placed > 0);
    ui->showButton->setDefault(false);
    ok->setDefault(placed > 0);
}

void AirfieldsDialog::report(const QStringList &lines)
{
    ui->reportText->setPlainText(lines.join(QLatin1Char('\n')));
}

void AirfieldsDialog::takeChannels()
{
    if (shown.outcome != ImportOutcome::Done || shown.channels.isEmpty())
        return;
    accept();
}

QString AirfieldsDialog::placeName() const
{
    const QString typed = (ui->nearRadioButton->isChecked() ? ui->positionEdit : ui->identsEdit)->text();
    return typed.simplified();
}
