#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "AboutDialog.h"
#include "ChannelRules.h"
#include "LazyImageIcon.h"
#include "QtCompat.h"
#include "RadioThread.h"
#include "SettingsKeys.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
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
    , radio(nullptr)
    , channelCount(ChannelRules::largestMemory)
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
    // The radio's thread goes first: a job that runs is stopped (a write
    // without its closing byte) and nothing it posts can reach the widgets
    // that go next. It closes the port as it ends.
    if (radio)
        radio->shutDown();
    delete ui;
}

void MainWindow::connectSignals()
{
    connect(ui->actionOpen, &QAction::triggered, this, &MainWindow::open);
    connect(ui->actionSave, &QAction::triggered, this, &MainWindow::save);
    connect(ui->actionSave_as, &QAction::triggered, this, &MainWindow::saveAs);
    connect(ui->actionRead_from, &QAction::triggered, this, &MainWindow::loadFreqsFromVkr);
    connect(ui->actionWrite_to, &QAction::triggered, this, &MainWindow::saveFreqsToVkr);
    // A transfer starts on a whole click: a press dragged off the button and
    // let go elsewhere starts nothing.
    connect(ui->loadFromDeviceButton, &QAbstractButton::clicked, this, &MainWindow::loadFreqsFromVkr);
    connect(ui->writeToDeviceButton, &QAbstractButton::clicked, this, &MainWindow::saveFreqsToVkr);
    connect(ui->toolButtonOpen, &QAbstractButton::released, this, &MainWindow::open);
    connect(ui->toolButtonSave, &QAbstractButton::released, this, &MainWindow::save);
    connect(ui->autoButton, &QAbstractButton::released, this, &MainWindow::searchVKR);
    connect(ui->actionAbout, &QAction::triggered, this, &MainWindow::about);
    connect(ui->actionRestore_backup, &QAction::triggered, this, &MainWindow::restoreBackup);
    connect(ui->cancelButton, &QAbstractButton::clicked, this, &MainWindow::cancelTransfer);
    cancelShortcut = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    cancelShortcut->setEnabled(false);
    connect(cancelShortcut, &QShortcut::activated, this, &MainWindow::cancelTransfer);
    connect(ui->actionCHIRP_file, &QAction::triggered, this, &MainWindow::importChirp);
    connect(ui->actionAirfields, &QAction::triggered, this, &MainWindow::importAirfields);
    connect(ui->actionPrint_card, &QAction::triggered, this, &MainWindow::printCard);
    connect(ui->actionExport_card_as_PDF, &QAction::triggered, this, &MainWindow::exportCard);
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

// Closing the window in the middle of a write would leave the radio half
// written: the user is asked first.
void MainWindow::closeEvent(QCloseEvent *event)
{
    if (activity != Activity::Reading && activity != Activity::Writing) {
        event->accept();
        return;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Transfer running"),
                    QStringLiteral("The radio is being read or written. Stop the transfer and close the window?"),
                    QMessageBox::NoButton, this);
    QPushButton *stopAndClose = box.addButton(QStringLiteral("Stop and close"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Keep working"), QMessageBox::RejectRole);
    box.exec();
    if (box.clickedButton() == stopAndClose)
        event->accept();
    else
        event->ignore();
}
