#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "AboutDialog.h"
#include "LazyImageIcon.h"
#include "QtCompat.h"
#include "SettingsKeys.h"

#include <QSerialPort>
#include <QTimer>

namespace {
constexpr int discoveryDelay = 100;    // ms: lets the window appear before the first scan
constexpr int statusMessageTime = 2000; // ms a status bar message stays
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
    , currentFileName()
    , csvTable()
    , serialPort(nullptr)
    , channelCount(100)
    , currentDirectory(QLatin1String(""))
    , firstChannelNumber(0)
    , settings(QLatin1String(SettingsKeys::organisation), QLatin1String(SettingsKeys::application))
{
    QtCompat::useUtf8(settings);
    ui->setupUi(this);
    ui->actionAbout->setIcon(lazyImageIcon(QStringLiteral(":/images/Corvane_Logo-transparent.png")));
    ui->progressBar->hide();
    connectSignals();
    setupFrequencyTable();
    QTimer::singleShot(discoveryDelay, this, &MainWindow::searchVKR);
    currentDirectory = settings.value(QLatin1String(SettingsKeys::currentDirectory), QString(QLatin1String(""))).toString();
}

MainWindow::~MainWindow()
{
    delete ui;
    if (serialPort && serialPort->isOpen())
        serialPort->close();
}

void MainWindow::connectSignals()
{
    connect(ui->actionOpen, &QAction::triggered, this, &MainWindow::open);
    connect(ui->actionSave, &QAction::triggered, this, &MainWindow::save);
    connect(ui->actionSave_as, &QAction::triggered, this, &MainWindow::saveAs);
    connect(ui->actionRead_from, &QAction::triggered, this, &MainWindow::loadFreqsFromVkr);
    connect(ui->actionWrite_to, &QAction::triggered, this, &MainWindow::saveFreqsToVkr);
    connect(ui->loadFromDeviceButton, &QAbstractButton::released, this, &MainWindow::loadFreqsFromVkr);
    connect(ui->writeToDeviceButton, &QAbstractButton::released, this, &MainWindow::saveFreqsToVkr);
    connect(ui->toolButtonOpen, &QAbstractButton::released, this, &MainWindow::open);
    connect(ui->toolButtonSave, &QAbstractButton::released, this, &MainWindow::save);
    connect(ui->autoButton, &QAbstractButton::released, this, &MainWindow::searchVKR);
    connect(ui->actionAbout, &QAction::triggered, this, &MainWindow::about);
    connect(ui->actionCHIRP_file, &QAction::triggered, this, &MainWindow::importChirp);
    connect(ui->actionAirfields, &QAction::triggered, this, &MainWindow::importAirfields);
}

void MainWindow::showStatusMessage(const QString &text)
{
    ui->statusBar->showMessage(text, statusMessageTime);
}

void MainWindow::about()
{
    AboutDialog dialog(nullptr);
    dialog.exec();
}
