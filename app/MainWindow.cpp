#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "AboutDialog.h"
#include "ChannelDelegate.h"
#include "LazyImageIcon.h"
#include "ManualDialog.h"
#include "QtCompat.h"
#include "RadioEndCaption.h"
#include "RadioThread.h"
#include "SettingsKeys.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
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
    , currentDirectory(QLatin1String(""))
    , settings(QLatin1String(SettingsKeys::organisation), QLatin1String(SettingsKeys::application))
    , delegate(nullptr)
    , radioEndCaption(nullptr)
    , hiddenRecordsLabel(nullptr)
    , deviceTone(EditorStyle::black)
    , showingRecords(false)
    , hiddenRecordCount(0)
{
    QtCompat::useUtf8(settings);
    ui->setupUi(this);
    ui->actionAbout->setIcon(lazyImageIcon(QStringLiteral(":/images/Corvane_Logo-transparent.png")));
    ui->progressBar->hide();
    delegate = new ChannelDelegate(ui->frequencyTable);
    radioEndCaption = new RadioEndCaption(ui->frequencyTable->viewport());
    hiddenRecordsLabel = new QLabel(this);
    hiddenRecordsLabel->setObjectName(QStringLiteral("hiddenRecordsLabel"));
    statusBar()->addPermanentWidget(hiddenRecordsLabel);
    // A message is read whole: the label beside it yields while it shows.
    connect(statusBar(), &QStatusBar::messageChanged, this, &MainWindow::showHiddenRecords);
    showHiddenRecords();
    setupRadioState();
    connectSignals();
    setupFrequencyTable();
    ui->centralWidget->installEventFilter(this);
    fitToFont();
    resizeToDesign();
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
    // An editor still open loses its focus as the widgets go: nothing is
    // committed any more.
    delegate->commit = nullptr;
    disconnect(&sheet, nullptr, this, nullptr);
    // The widgets go after this destructor, in QWidget's, and tell of it
    // (a header resized, a scroll bar moved): none of that may reach the
    // window's own members any more.
    const QList<QObject *> children = findChildren<QObject *>();
    for (QObject *child : children)
        disconnect(child, nullptr, this, nullptr);
    delete ui;
}

void MainWindow::connectSignals()
{
    // A cell being edited is left, with what it holds, before any command of
    // the menus runs (a click on a button takes the focus, which does the same).
    for (QMenu *menu : ui->menuBar->findChildren<QMenu *>()) {
        for (QAction *action : menu->actions())
            connect(action, &QAction::triggered, ui->frequencyTable, [this] { endCellEdit(); });
    }
    connect(ui->actionOpen, &QAction::triggered, this, &MainWindow::open);
    connect(ui->actionSave, &QAction::triggered, this, &MainWindow::save);
    connect(ui->actionSave_as, &QAction::triggered, this, &MainWindow::saveAs);
    connect(ui->actionRead_from, &QAction::triggered, this, &MainWindow::loadFreqsFromVkr);
    connect(ui->actionWrite_to, &QAction::triggered, this, &MainWindow::saveFreqsToVkr);
    // Buttons act on a completed click: a press dragged off the button and
    // released elsewhere does nothing.
    connect(ui->loadFromDeviceButton, &QAbstractButton::clicked, this, &MainWindow::loadFreqsFromVkr);
    connect(ui->writeToDeviceButton, &QAbstractButton::clicked, this, &MainWindow::saveFreqsToVkr);
    connect(ui->toolButtonOpen, &QAbstractButton::clicked, this, &MainWindow::open);
    connect(ui->toolButtonSave, &QAbstractButton::clicked, this, &MainWindow::save);
    connect(ui->autoButton, &QAbstractButton::clicked, this, &MainWindow::searchVKR);
    connect(ui->actionAbout, &QAction::triggered, this, &MainWindow::about);
    connect(ui->actionQuit, &QAction::triggered, this, &QWidget::close);
    connect(ui->actionShort_manual, &QAction::triggered, this, &MainWindow::showManual);
    connect(ui->actionRestore_backup, &QAction::triggered, this, &MainWindow::restoreBackup);
    connect(ui->cancelButton, &QAbstractButton::clicked, this, &MainWindow::cancelTransfer);
    cancelShortcut = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    cancelShortcut->setEnabled(false);
    connect(cancelShortcut, &QShortcut::activated, this, &MainWindow::cancelTransfer);
    connect(ui->actionCHIRP_file, &QAction::triggered, this, &MainWindow::importChirp);
    connect(ui->actionAirfields, &QAction::triggered, this, &MainWindow::importAirfields);
    connect(ui->actionPrint_card, &QAction::triggered, this, &MainWindow::printCard);
    connect(ui->actionExport_card_as_PDF, &QAction::triggered, this, &MainWindow::exportCard);
    // A port name longer than the list's width widens it.
    connect(ui->comPortComboBox->model(), &QAbstractItemModel::rowsInserted, this, &MainWindow::fitToFont);
    connectEditActions();
}

void MainWindow::connectEditActions()
{
    // Second keys that one shortcut in the form cannot hold.
    ui->actionRedo->setShortcuts({ui->actionRedo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    ui->actionInsert_row_above->setShortcuts(
        {ui->actionInsert_row_above->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Plus)});

    connect(ui->actionUndo, &QAction::triggered, &sheet, &ChannelSheet::undo);
    connect(ui->actionRedo, &QAction::triggered, &sheet, &ChannelSheet::redo);
    connect(&sheet, &ChannelSheet::historyChanged, this, [this] {
        ui->actionUndo->setEnabled(sheet.canUndo());
        ui->actionRedo->setEnabled(sheet.canRedo());
        const QString undo = sheet.undoText();
        const QString redo = sheet.redoText();
        ui->actionUndo->setText(undo.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(undo));
        ui->actionRedo->setText(redo.isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(redo));
    });
    connect(&sheet, &ChannelSheet::cleanChanged, this, &MainWindow::showFileName);
    ui->actionUndo->setEnabled(false);
    ui->actionRedo->setEnabled(false);

    // The keys of the operations on cells work where the table has the focus:
    // Delete on the port list must not clear a row.
    for (QAction *action : {ui->actionCut, ui->actionCopy, ui->actionPaste, ui->actionInsert_row_above,
                            ui->actionDelete_rows, ui->actionMove_up, ui->actionMove_down, ui->actionClear}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        ui->frequencyTable->addAction(action);
    }
    connect(ui->actionCut, &QAction::triggered, this, &MainWindow::cutRows);
    connect(ui->actionCopy, &QAction::triggered, this, &MainWindow::copyRows);
    connect(ui->actionPaste, &QAction::triggered, this, &MainWindow::pasteRows);
    connect(ui->actionInsert_row_above, &QAction::triggered, this, &MainWindow::insertRowsAbove);
    connect(ui->actionDelete_rows, &QAction::triggered, this, &MainWindow::deleteRows);
    connect(ui->actionMove_up, &QAction::triggered, this, [this] { moveRows(true); });
    connect(ui->actionMove_down, &QAction::triggered, this, [this] { moveRows(false); });
    connect(ui->actionClear, &QAction::triggered, this, &MainWindow::clearSelectedCells);
    connect(ui->actionSort_by_name, &QAction::triggered, this, [this] { sortRows(true); });
    connect(ui->actionSort_by_frequency, &QAction::triggered, this, [this] { sortRows(false); });
}

void MainWindow::endCellEdit()
{
    QWidget *focus = QApplication::focusWidget();
    if (focus && focus != ui->frequencyTable && ui->frequencyTable->isAncestorOf(focus))
        ui->frequencyTable->setFocus(Qt::OtherFocusReason);
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

// Beside the window, so that it can stay open while the user works.
void MainWindow::showManual()
{
    if (!manual) {
        manual = new ManualDialog(this);
        manual->setAttribute(Qt::WA_DeleteOnClose);
    }
    manual->show();
    manual->raise();
    manual->activateWindow();
}

// Closing the window in the middle of a transfer would leave the radio half
// written, and unsaved work would be lost: the user is asked first. A
// transfer the user stops is let end before the window asks about unsaved
// changes, so that nothing half read can be saved, and the window closes
// once it has.
void MainWindow::closeEvent(QCloseEvent *event)
{
    if (activity == Activity::Reading || activity == Activity::Writing) {
        event->ignore();
        if (closeAfterTransfer)
            return; // stopping already
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Transfer running"),
                        QStringLiteral("The radio is being read or written. Stop the transfer and close the window?"),
                        QMessageBox::NoButton, this);
        QPushButton *stopAndClose = box.addButton(QStringLiteral("Stop and close"), QMessageBox::AcceptRole);
        box.addButton(QStringLiteral("Keep working"), QMessageBox::RejectRole);
        box.exec();
        if (box.clickedButton() == stopAndClose && (activity == Activity::Reading || activity == Activity::Writing)) {
            closeAfterTransfer = true;
            cancelTransfer();
        } else if (box.clickedButton() == stopAndClose) {
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection); // it ended meanwhile
        }
        return;
    }
    if (maySetTableAside())
        event->accept();
    else
        event->ignore();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (!delegate)
        return; // still being built
    if (event->type() == QEvent::PaletteChange) {
        styleAllRows();
        if (!ui->VKRInfo->styleSheet().isEmpty())
            ui->VKRInfo->setStyleSheet(EditorStyle::labelStyleSheet(deviceTone, palette()));
    } else if (event->type() == QEvent::FontChange) {
        fitToFont();
    }
}

// The table: Enter on a cell that is not being edited goes down a row, as
// after an edit; the status bar follows the focus. The central area: a text
// that changed makes room for itself before the layout is worked out.
bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->centralWidget && event->type() == QEvent::LayoutRequest)
        fitDeviceLabel();
    if (watched == radioStateLabel && event->type() == QEvent::Resize && !writtenLine.isEmpty())
        showRadioState();
    if (watched == ui->frequencyTable) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            const QModelIndex current = ui->frequencyTable->currentIndex();
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && current.isValid()) {
                const QModelIndex below = current.sibling(current.row() + 1, current.column());
                if (below.isValid())
                    ui->frequencyTable->setCurrentIndex(below);
                return true;
            }
        } else if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            showCurrentCellFault();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
