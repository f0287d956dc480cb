#include "AirfieldsDialog.h"
#include "ui_AirfieldsDialog.h"

#include "AirfieldChannels.h"
#include "SettingsKeys.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QRegularExpression>
#include <QGuiApplication>
#include <QPushButton>
#include <QSettings>

namespace {

const QString listSeparators = QStringLiteral("[\\s,;]+");
constexpr char csvFilter[] = "CSV files (*.csv);;All files (*)";
// Room for a path and for a screenful of channels, in the user's font.
constexpr int fileNameCharacters = 40;
constexpr int previewLines = 12;

// A request the dialog cannot put together, in the dialog's own terms.
QString problemText(RequestProblem problem)
{
    switch (problem) {
    case RequestProblem::NeitherAirfieldsNorPosition:
    case RequestProblem::AirfieldsAndPosition:
        return QObject::tr("Name the airfields, or give a position.");
    case RequestProblem::PositionWithoutAirports:
        return QObject::tr("A search around a position needs the airports file.");
    case RequestProblem::PositionOffGlobe:
        return QObject::tr("The position is off the globe: latitude -90 to 90, longitude -180 to 180.");
    case RequestProblem::ChannelCountOutOfRange:
        return QObject::tr("The table has no room for channels: choose to replace it.");
    case RequestProblem::None:
    case RequestProblem::PositionWithoutRadius:
    case RequestProblem::RadiusWithoutPosition:
    case RequestProblem::NegativeRadius:
    case RequestProblem::PerAirfieldOutOfRange:
    case RequestProblem::NearestWithoutPosition:
    case RequestProblem::NearestOutOfRange:
        break;
    }
    return QObject::tr("Give a position and a radius.");
}

} // namespace

AirfieldsDialog::AirfieldsDialog(QSettings &settings, int replaceRoom, int fillRoom, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::AirfieldsDialog)
    , settings(settings)
    , replaceRoom(replaceRoom)
    , fillRoom(fillRoom)
{
    ui->setupUi(this);
    ui->frequenciesFileEdit->setText(settings.value(QLatin1String(SettingsKeys::airportFrequenciesFile)).toString());
    ui->airportsFileEdit->setText(settings.value(QLatin1String(SettingsKeys::airportsFile)).toString());
    if (fillRoom == 0)
        ui->replaceRadioButton->setChecked(true);
    ui->previewTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    const QFontMetrics metrics(font());
    ui->frequenciesFileEdit->setMinimumWidth(metrics.averageCharWidth() * fileNameCharacters);
    ui->previewTable->setMinimumHeight(metrics.lineSpacing() * previewLines);

    connect(ui->frequenciesBrowseButton, &QPushButton::clicked, this, [this] { browse(ui->frequenciesFileEdit); });
    connect(ui->airportsBrowseButton, &QPushButton::clicked, this, [this] { browse(ui->airportsFileEdit); });
    connect(ui->showButton, &QPushButton::clicked, this, &AirfieldsDialog::showChannels);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &AirfieldsDialog::takeChannels);
    for (QLineEdit *edit : {ui->frequenciesFileEdit, ui->airportsFileEdit, ui->identsEdit, ui->positionEdit, ui->typesEdit})
        connect(edit, &QLineEdit::textChanged, this, &AirfieldsDialog::requestChanged);
    for (QSpinBox *spinBox : {ui->radiusSpinBox, ui->perAirfieldSpinBox})
        connect(spinBox, QOverload<int>::of(&QSpinBox::valueChanged), this, &AirfieldsDialog::requestChanged);
    for (QRadioButton *button : {ui->nearRadioButton, ui->replaceRadioButton})
        connect(button, &QRadioButton::toggled, this, &AirfieldsDialog::requestChanged);
    requestChanged();
}

AirfieldsDialog::~AirfieldsDialog()
{
    delete ui;
}

bool AirfieldsDialog::replacesTable() const
{
    return ui->replaceRadioButton->isChecked();
}

void AirfieldsDialog::browse(QLineEdit *edit)
{
    const QString fileName = QFileDialog::getOpenFileName(this, QString(), edit->text(), tr(csvFilter));
    if (!fileName.isEmpty())
        edit->setText(fileName);
}

// What is shown belongs to the request it was worked out for: a change
// takes it away, and OK waits for the next "Show channels".
void AirfieldsDialog::requestChanged()
{
    const bool near = ui->nearRadioButton->isChecked();
    ui->identsEdit->setEnabled(!near);
    ui->positionEdit->setEnabled(near);
    ui->radiusSpinBox->setEnabled(near);
    shown = ImportResult();
    ui->previewTable->setRowCount(0);
    ui->summaryLabel->clear();
    ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(false);
}

QString AirfieldsDialog::readRequest(AirfieldOptions &options) const
{
    options.frequenciesFile = ui->frequenciesFileEdit->text().trimmed();
    options.airportsFile = ui->airportsFileEdit->text().trimmed();
    if (options.frequenciesFile.isEmpty())
        return tr("Choose OurAirports' frequencies file (airport-frequencies.csv).");
    if (ui->nearRadioButton->isChecked()) {
        options.near = parseGeoPoint(ui->positionEdit->text());
        if (!options.near)
            return tr("Give the position as latitude, longitude in degrees, such as 50.03, 8.57.");
        options.radiusKm = ui->radiusSpinBox->value();
    } else {
        options.idents = ui->identsEdit->text().split(QRegularExpression(listSeparators), Qt::SkipEmptyParts);
    }
    options.types = ui->typesEdit->text().split(QRegularExpression(listSeparators), Qt::SkipEmptyParts);
    if (ui->perAirfieldSpinBox->value() > 0)
        options.perAirfield = ui->perAirfieldSpinBox->value();
    options.maxChannels = replacesTable() ? replaceRoom : fillRoom;
    return QString();
}

void AirfieldsDialog::showChannels()
{
    requestChanged();
    AirfieldOptions options;
    const QString missing = readRequest(options);
    if (!missing.isEmpty()) {
        ui->summaryLabel->setText(missing);
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    shown = importAirfields(options);
    QGuiApplication::restoreOverrideCursor();
    showResult();
}

void AirfieldsDialog::showResult()
{
    if (shown.outcome == ImportOutcome::RequestNotRight) {
        ui->summaryLabel->setText(problemText(shown.problem));
        return;
    }
    if (shown.outcome != ImportOutcome::Done) {
        ui->summaryLabel->setText(shown.messages.join(QLatin1Char('\n')));
        return;
    }
    QString summary = shown.summary;
    if (shown.messages.size() == 1)
        summary += tr("; 1 row skipped, listed once the channels are placed");
    else if (shown.messages.size() > 1)
        summary += tr("; %1 rows skipped, listed once the channels are placed").arg(shown.messages.size());
    ui->summaryLabel->setText(summary);
    ui->previewTable->setRowCount(int(shown.channels.size()));
    for (int row = 0; row < shown.channels.size(); ++row) {
        ui->previewTable->setItem(row, 0, new QTableWidgetItem(shown.channels.at(row).name));
        ui->previewTable->setItem(row, 1, new QTableWidgetItem(shown.channels.at(row).frequency.text()));
    }
    ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(!shown.channels.isEmpty());
}

void AirfieldsDialog::takeChannels()
{
    if (shown.outcome != ImportOutcome::Done || shown.channels.isEmpty())
        return;
    settings.setValue(QLatin1String(SettingsKeys::airportFrequenciesFile), ui->frequenciesFileEdit->text().trimmed());
    settings.setValue(QLatin1String(SettingsKeys::airportsFile), ui->airportsFileEdit->text().trimmed());
    accept();
}
