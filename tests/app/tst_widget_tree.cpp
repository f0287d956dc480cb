// The main window as it stands after start-up: every widget, action and
// menu with its class, geometry, texts, icons and state; and the images the
// window draws on.
#include "AboutDialog.h"
#include "EditorStyles.h"
#include "MainWindow.h"
#include "ModalAnswerer.h"
#include "TestMain.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTextDocument>
#include <QFile>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMetaMethod>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <QToolButton>
#include <QProcess>
#include <QSignalSpy>
#include <QScrollBar>
#include <QtEndian>
#include <QtTest>

// Connects a radio of the given channel count, as discovery does.
class MainWindowTestAccess
{
public:
    static void setRadio(MainWindow &window, int channels) { window.setRadioChannelCount(channels, 1); }
};

class WidgetTreeTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void window();
    void widgets_data();
    void widgets();
    void texts_data();
    void texts();
    void tableHeaders();
    void labelFont();
    void textsFit_data();
    void textsFit();
    void states();
    void actions_data();
    void actions();
    void saveAsSharesTheSaveIcon();
    void aboutActionShowsTheLogo();
    void menus();
    void slotTable();
    void images_data();
    void images();

private:
    template<typename T>
    T *child(const char *name)
    {
        return mainWindow->findChild<T *>(QLatin1String(name));
    }
    MainWindow *mainWindow = nullptr;
};

void WidgetTreeTest::init()
{
    mainWindow = new MainWindow;
    mainWindow->show();
    QVERIFY(QTest::qWaitForWindowExposed(mainWindow));
}

void WidgetTreeTest::cleanup()
{
    delete mainWindow;
    mainWindow = nullptr;
}

void WidgetTreeTest::window()
{
    QCOMPARE(mainWindow->objectName(), QString("MainWindow"));
    QCOMPARE(QString(mainWindow->metaObject()->className()), QString("MainWindow"));
    QCOMPARE(mainWindow->windowTitle(), QString("VKR Frequency Tool"));
    // 508 wide, and tall enough for the central area's 441 px of design
    // between this platform's menu and status bars.
    QCOMPARE(mainWindow->width(), 508);
    QCOMPARE(mainWindow->centralWidget()->geometry(), QRect(0, mainWindow->menuBar()->height(), 508, 441));
    QVERIFY(!mainWindow->autoFillBackground());
    QVERIFY(!mainWindow->testAttribute(Qt::WA_SetWindowIcon));
    QCOMPARE(mainWindow->centralWidget()->objectName(), QString("centralWidget"));
    QCOMPARE(mainWindow->menuBar()->objectName(), QString("menuBar"));
    QCOMPARE(mainWindow->statusBar()->objectName(), QString("statusBar"));
    QCOMPARE(mainWindow->menuBar()->geometry().width(), 508);

    // The user can make it larger, and smaller down to what its widgets need.
    mainWindow->resize(900, 700);
    QCOMPARE(mainWindow->size(), QSize(900, 700));
    mainWindow->resize(100, 100);
    QCOMPARE(mainWindow->size(), mainWindow->minimumSizeHint());
    QVERIFY(mainWindow->width() < 508);
    mainWindow->showMaximized();
    QTRY_VERIFY(mainWindow->isMaximized());
}

// Where each widget stands at the design size, within 2 px of the form's
// old fixed places; and in a window 392 px wider and 207 px taller, where
// the table takes the room and the controls beside it keep their places.
void WidgetTreeTest::widgets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QSize>("growth");

    const struct {
        const char *name;
        const char *className;
        QRect geometry;
    } widgets[] = {
        {"frequencyTable", "QTableWidget", QRect(20, 60, 321, 381)},
        {"comPortComboBox", "QComboBox", QRect(346, 60, 106, 22)}, // room for "ttyUSB0" or "/dev/pts/3"
        {"VKRInfo", "QLabel", QRect(380, 99, 121, 22)},
        {"loadFromDeviceButton", "QToolButton", QRect(380, 180, 80, 48)},
        {"writeToDeviceButton", "QToolButton", QRect(380, 250, 80, 48)},
        {"progressBar", "QProgressBar", QRect(350, 420, 141, 16)},
        {"toolButtonOpen", "QToolButton", QRect(20, 10, 40, 40)},
        {"toolButtonSave", "QToolButton", QRect(70, 10, 40, 40)},
        {"autoButton", "QPushButton", QRect(457, 59, 47, 24)},
    };
    for (const auto &widget : widgets) {
        QTest::newRow(widget.name) << widget.name << widget.className << widget.geometry << QSize();
        const bool right = widget.geometry.x() > 340;
        QRect grown = widget.geometry;
        if (QString(widget.name) == "frequencyTable")
            grown.setSize(grown.size() + QSize(392, 207));
        else if (right)
            grown.translate(392, QString(widget.name) == "progressBar" ? 207 : 0);
        QTest::newRow(QByteArray(widget.name) + " in a larger window") << widget.name << widget.className << grown
                                                                        << QSize(392, 207);
    }
}

void WidgetTreeTest::widgets()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QRect, geometry);
    QFETCH(QSize, growth);
    auto *widget = mainWindow->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(QString(widget->metaObject()->className()), className);
    QCOMPARE(widget->window(), mainWindow);
    child<QProgressBar>("progressBar")->show(); // as during a transfer
    mainWindow->resize(mainWindow->size() + growth);
    QTRY_VERIFY(!widget->geometry().isEmpty());
    QCoreApplication::sendPostedEvents();
    const QRect shown(widget->mapTo(mainWindow->centralWidget(), QPoint(0, 0)), widget->size());
    const QByteArray what = QString("%1,%2 %3x%4").arg(shown.x()).arg(shown.y()).arg(shown.width()).arg(shown.height()).toUtf8();
    for (int edge : {shown.left() - geometry.left(), shown.top() - geometry.top(), shown.right() - geometry.right(),
                     shown.bottom() - geometry.bottom()})
        QVERIFY2(qAbs(edge) <= 2, what.constData());
}

// Tooltips of the load and file buttons are rich text; the write button's
// and the Auto button's are plain.
void WidgetTreeTest::texts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");

    QTest::newRow("loadFromDeviceButton") << "loadFromDeviceButton" << ""
        << "<html><head/><body><p>Load frequencies from device</p></body></html>";
    QTest::newRow("writeToDeviceButton") << "writeToDeviceButton" << "" << "Write frequencies to device";
    QTest::newRow("toolButtonOpen") << "toolButtonOpen" << "Open File"
        << "<html><head/><body><p>Open frequency CSV file</p></body></html>";
    QTest::newRow("toolButtonSave") << "toolButtonSave" << "Save File"
        << "<html><head/><body><p>Save frequency CSV file</p></body></html>";
    QTest::newRow("autoButton") << "autoButton" << "Auto" << "Scan COM ports for device";
}

void WidgetTreeTest::texts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    auto *button = mainWindow->findChild<QAbstractButton *>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), text);
    QCOMPARE(button->toolTip(), toolTip);
    QCOMPARE(Qt::mightBeRichText(button->toolTip()), toolTip.startsWith("<html>"));
}

void WidgetTreeTest::tableHeaders()
{
    auto *table = child<QTableWidget>("frequencyTable");
    QCOMPARE(table->columnCount(), 3);
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QString("MEM"));
    QCOMPARE(table->horizontalHeaderItem(1)->text(), QString("Name"));
    QCOMPARE(table->horizontalHeaderItem(2)->text(), QString("Channel"));
    QVERIFY(table->verticalHeader()->isHidden());
    QVERIFY(!table->horizontalHeader()->isHidden());
    QVERIFY(!table->autoFillBackground());
    // The columns fill the table, at least the designed 300 px; a header
    // that needs more than its column's design takes it from another column.
    QCOMPARE(table->horizontalHeader()->length(), table->viewport()->width());
    QVERIFY(table->horizontalHeader()->length() >= 300);
    for (int column = 0; column < 3; ++column)
        QVERIFY(table->columnWidth(column) >= table->horizontalHeader()->sectionSizeHint(column));
    // In a larger window the name column takes the room.
    mainWindow->resize(1500, 1100);
    QVERIFY(QTest::qWaitFor([table] { return table->columnWidth(1) > 400; }));
    QCOMPARE(table->horizontalHeader()->length(), table->viewport()->width());
}

void WidgetTreeTest::labelFont()
{
    auto *label = child<QLabel>("VKRInfo");
    QCOMPARE(label->text(), QString("No device"));
    QCOMPARE(label->font().pointSize(), 12);
    QCOMPARE(label->alignment(), Qt::AlignLeading | Qt::AlignLeft | Qt::AlignVCenter);
}

void WidgetTreeTest::textsFit_data()
{
    QTest::addColumn<bool>("aboutBox");
    QTest::addColumn<QString>("deviceText"); // shown in VKRInfo as discovery shows it; empty: as started
    QTest::addColumn<int>("radioChannels");  // of the radio connected; 0: none
    QTest::addColumn<QString>("display");    // run again in a process of its own with these settings
    QTest::newRow("about box") << true << QString() << 0 << QString();
    QTest::newRow("main window at start") << false << QString() << 0 << QString();
    for (const char *text :
         {"No device", "connecting...", "alive", "read", "VKR627A", "VKR627S", "VKR627-II", "VKR627"})
        QTest::newRow(text) << false << text << 0 << QString();
    QTest::newRow("20-channel radio") << false << "VKR627S" << 20 << QString();
    for (const char *display : {"QT_FONT_DPI=120", "QT_FONT_DPI=144", "QT_SCALE_FACTOR=1.5", "QT_SCALE_FACTOR=2",
                                "QT_FONT_DPI=144 QT_SCALE_FACTOR=2"})
        QTest::newRow(display) << false << QString() << 0 << display;
}

// Every label, push button and column header has the room its text needs
// in the fonts installed (the test runs with two sets), inside its window,
// at font resolutions from 96 to 144 dpi and at scale factors up to 2.
void WidgetTreeTest::textsFit()
{
    QFETCH(bool, aboutBox);
    QFETCH(QString, deviceText);
    QFETCH(int, radioChannels);
    QFETCH(QString, display);
    // The font set the run is meant for is the one in use (a family that
    // more than one foundry makes is named with its foundry in brackets).
    for (const QString &family : qEnvironmentVariable("VKR_EXPECTED_FONTS").split(',', Qt::SkipEmptyParts))
        QVERIFY2(QFontInfo(QFont(family)).family().section(" [", 0, 0) == family, qPrintable(family + " is missing"));
    if (!display.isEmpty()) {
        if (qEnvironmentVariableIsSet("VKR_TEXTS_FIT_DISPLAY"))
            QSKIP("already running with other display settings");
        QProcess again;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("VKR_TEXTS_FIT_DISPLAY", display);
        for (const QString &setting : display.split(' '))
            environment.insert(setting.section('=', 0, 0), setting.section('=', 1));
        again.setProcessEnvironment(environment);
        again.setProcessChannelMode(QProcess::MergedChannels);
        again.start(QCoreApplication::applicationFilePath(), {"textsFit"});
        QVERIFY(again.waitForFinished(60000));
        const QByteArray output = again.readAll();
        QVERIFY2(again.exitCode() == 0 && output.contains("Totals: 1") && !output.contains("FAIL"), output.constData());
        return;
    }
    AboutDialog dialog(nullptr);
    QWidget *window = aboutBox ? static_cast<QWidget *>(&dialog) : mainWindow;
    if (aboutBox) {
        dialog.setWindowModality(Qt::NonModal); // shown without a modal loop
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    }
    if (!deviceText.isEmpty()) {
        child<QLabel>("VKRInfo")->setStyleSheet("color: green");
        child<QLabel>("VKRInfo")->setText(deviceText);
    }
    QTableWidget *table = child<QTableWidget>("frequencyTable");
    if (radioChannels) {
        MainWindowTestAccess::setRadio(*mainWindow, radioChannels);
        table->scrollToItem(table->item(radioChannels, 0));
    }
    QCoreApplication::sendPostedEvents();
    int checked = 0;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        auto *label = qobject_cast<QLabel *>(widget);
        auto *button = qobject_cast<QPushButton *>(widget);
        const QString text = label ? label->text() : button ? button->text() : QString();
        if (text.isEmpty() || !widget->isVisibleTo(window))
            continue;
        ++checked;
        const QByteArray what = (widget->objectName() + " " + text).toUtf8();
        QSize needed = widget->sizeHint();
        if (label && label->wordWrap())
            needed = QSize(0, label->heightForWidth(label->width()));
        QSize room = widget->size();
        if (button) {
            // The style asks for wider buttons than the text needs; the text
            // is cut only where it leaves the rectangle its label is drawn in.
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = text;
            room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).size();
            needed = button->fontMetrics().size(Qt::TextShowMnemonic, text);
        }
        QVERIFY2(needed.width() <= room.width() && needed.height() <= room.height(), what.constData());
        QVERIFY2(window->rect().contains(QRect(widget->mapTo(window, QPoint(0, 0)), widget->size())), what.constData());
    }
    QVERIFY(checked >= (aboutBox ? 4 : 2 + (radioChannels ? 1 : 0)));
    if (aboutBox)
        return;
    const QHeaderView *header = table->horizontalHeader();
    for (int column = 0; column < header->count(); ++column)
        QVERIFY(header->sectionSizeHint(column) <= header->sectionSize(column));
    QVERIFY(!table->horizontalScrollBar()->isVisible()); // nothing covers the last row shown
}

void WidgetTreeTest::states()
{
    QVERIFY(!child<QToolButton>("loadFromDeviceButton")->isEnabled());
    QVERIFY(!child<QToolButton>("writeToDeviceButton")->isEnabled());
    // Like their buttons, the menu entries need a radio.
    QVERIFY(!child<QAction>("actionRead_from")->isEnabled());
    QVERIFY(!child<QAction>("actionWrite_to")->isEnabled());
    QVERIFY(!child<QAction>("actionRestore_backup")->isEnabled());
    QVERIFY(child<QPushButton>("cancelButton")->isHidden());
    QVERIFY(child<QToolButton>("toolButtonOpen")->isEnabled());
    QVERIFY(child<QPushButton>("autoButton")->isEnabled());
    auto *progress = child<QProgressBar>("progressBar");
    QVERIFY(progress->isHidden());
    QCOMPARE(progress->value(), 24);
    QCOMPARE(child<QComboBox>("comPortComboBox")->count(), 0);
    QVERIFY(mainWindow->statusBar()->currentMessage().isEmpty());
    QCOMPARE(child<QToolButton>("loadFromDeviceButton")->iconSize(), QSize(80, 48));
    QCOMPARE(child<QToolButton>("writeToDeviceButton")->iconSize(), QSize(80, 48));
    QCOMPARE(child<QToolButton>("toolButtonOpen")->iconSize(), QSize(32, 32));
    QCOMPARE(child<QToolButton>("toolButtonSave")->iconSize(), QSize(32, 32));
    for (const char *name : {"loadFromDeviceButton", "writeToDeviceButton", "toolButtonOpen", "toolButtonSave"})
        QVERIFY2(!child<QToolButton>(name)->icon().isNull(), name);
}

void WidgetTreeTest::actions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("keys"); // the shortcuts, in portable form
    QTest::addColumn<bool>("hasIcon");

    const struct {
        const char *name, *text, *menu, *keys;
        bool hasIcon;
    } actions[] = {
        {"actionOpen", "&Open", "menuVKR_Frequency_Tool", "Ctrl+O", true},
        {"actionSave", "&Save", "menuVKR_Frequency_Tool", "Ctrl+S", true},
        {"actionSave_as", "Save &as", "menuVKR_Frequency_Tool", "Ctrl+Shift+S", true},
        {"actionQuit", "&Quit", "menuVKR_Frequency_Tool", "Ctrl+Q", false},
        {"actionUndo", "&Undo", "menuEdit", "Ctrl+Z", false},
        {"actionRedo", "&Redo", "menuEdit", "Ctrl+Shift+Z Ctrl+Y", false},
        {"actionCut", "Cu&t", "menuEdit", "Ctrl+X", false},
        {"actionCopy", "&Copy", "menuEdit", "Ctrl+C", false},
        {"actionPaste", "&Paste", "menuEdit", "Ctrl+V", false},
        {"actionInsert_row_above", "&Insert row above", "menuEdit", "Ctrl+Shift++ Ctrl++", false},
        {"actionDelete_rows", "&Delete rows", "menuEdit", "Ctrl+-", false},
        {"actionMove_up", "Mo&ve up", "menuEdit", "Ctrl+Shift+Up", false},
        {"actionMove_down", "Move do&wn", "menuEdit", "Ctrl+Shift+Down", false},
        {"actionClear", "C&lear", "menuEdit", "Del", false},
        {"actionSort_by_name", "Sort by &name", "menuEdit", "", false},
        {"actionSort_by_frequency", "Sort by &frequency", "menuEdit", "", false},
        {"actionRead_from", "&Read from", "menuVKR", "Ctrl+R", true},
        {"actionWrite_to", "&Write to", "menuVKR", "Ctrl+Shift+W", true},
        {"actionPrint_card", "Print card...", "menuVKR_Frequency_Tool", "Ctrl+P", false},
        {"actionExport_card_as_PDF", "Export card as PDF...", "menuVKR_Frequency_Tool", "Ctrl+Shift+P", false},
        {"actionShort_manual", "Short &manual", "menuHelp", "F1", false},
        {"actionAbout", "&About", "menuHelp", "", true},
    };
    for (const auto &action : actions)
        QTest::newRow(action.name) << action.name << action.text << action.menu << action.keys << action.hasIcon;
}

// Each action in its menu, with its text and shortcuts; a shortcut pressed
// in the window triggers it once (any dialog it opens is closed again).
void WidgetTreeTest::actions()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, menu);
    QFETCH(QString, keys);
    QFETCH(bool, hasIcon);
    auto *action = mainWindow->findChild<QAction *>(name);
    QVERIFY(action);
    QCOMPARE(action->parent(), mainWindow);
    QCOMPARE(action->text(), text);
    QCOMPARE(!action->icon().isNull(), hasIcon);
    QStringList shortcuts;
    for (const QKeySequence &shortcut : action->shortcuts())
        shortcuts << shortcut.toString(QKeySequence::PortableText);
    QCOMPARE(shortcuts.join(' '), keys);
    QVERIFY(action->statusTip().isEmpty());
    QVERIFY(!action->isCheckable());
    QVERIFY(mainWindow->findChild<QMenu *>(menu)->actions().contains(action));
    if (name == "actionOpen")
        QVERIFY(action->isIconVisibleInMenu());

    action->setEnabled(true); // undo and redo wait for something to undo
    mainWindow->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(mainWindow));
    child<QTableWidget>("frequencyTable")->setFocus(); // where the cells' keys work
    for (const QKeySequence &shortcut : action->shortcuts()) {
        QSignalSpy triggered(action, &QAction::triggered);
        ModalAnswerer<QDialog> closeDialog([](QDialog *dialog) { dialog->reject(); }, 0);
        QTest::keySequence(mainWindow, shortcut);
        QCOMPARE(triggered.count(), 1);
        mainWindow->show();
    }
}

void WidgetTreeTest::saveAsSharesTheSaveIcon()
{
    QCOMPARE(child<QAction>("actionSave_as")->icon().cacheKey(), child<QAction>("actionSave")->icon().cacheKey());
    QCOMPARE(child<QToolButton>("toolButtonSave")->icon().cacheKey(), child<QAction>("actionSave")->icon().cacheKey());
}

// The logo is read when a picture of it is first needed, and is then the
// same picture an icon read at once would give.
void WidgetTreeTest::aboutActionShowsTheLogo()
{
    const QString logo(":/images/Corvane_Logo-transparent.png");
    const QIcon icon = child<QAction>("actionAbout")->icon();
    QCOMPARE(icon.availableSizes(), QList<QSize>({QSize(2126, 772)}));
    const QIcon direct{QPixmap(logo)};
    for (const QSize &size : {QSize(16, 16), QSize(300, 120)}) {
        QCOMPARE(icon.actualSize(size), direct.actualSize(size));
        QCOMPARE(icon.pixmap(size).toImage(), direct.pixmap(size).toImage());
        QCOMPARE(icon.pixmap(size, QIcon::Disabled).toImage(), direct.pixmap(size, QIcon::Disabled).toImage());
    }
}

// The menus, and Alt with each underlined letter opening its menu.
void WidgetTreeTest::menus()
{
    QStringList bar;
    for (QAction *entry : mainWindow->menuBar()->actions())
        bar << entry->menu()->objectName() + "=" + entry->text();
    QCOMPARE(bar, QStringList({"menuVKR_Frequency_Tool=&File", "menuEdit=&Edit", "menuVKR=&VKR", "menuHelp=&Help"}));

    const auto names = [this](const char *menu) {
        QStringList result;
        for (QAction *action : child<QMenu>(menu)->actions())
            result << (action->isSeparator() ? QString("separator")
                                             : action->menu() ? action->menu()->objectName() : action->objectName());
        return result;
    };
    QCOMPARE(names("menuVKR_Frequency_Tool"),
             QStringList({"actionOpen", "actionSave", "actionSave_as", "separator", "menuImport", "separator",
                          "actionRestore_backup", "separator", "actionPrint_card", "actionExport_card_as_PDF",
                          "separator", "actionQuit"}));
    QCOMPARE(child<QMenu>("menuImport")->title(), QString("&Import"));
    QCOMPARE(names("menuImport"), QStringList({"actionCHIRP_file", "actionAirfields"}));
    QCOMPARE(child<QAction>("actionCHIRP_file")->text(), QString("CHIRP file..."));
    QCOMPARE(child<QAction>("actionAirfields")->text(), QString("&Airfields..."));
    QCOMPARE(names("menuEdit"),
             QStringList({"actionUndo", "actionRedo", "separator", "actionCut", "actionCopy", "actionPaste", "separator",
                          "actionInsert_row_above", "actionDelete_rows", "actionMove_up", "actionMove_down",
                          "actionClear", "separator", "actionSort_by_name", "actionSort_by_frequency"}));
    QCOMPARE(names("menuVKR"), QStringList({"actionRead_from", "actionWrite_to"}));
    QCOMPARE(names("menuHelp"), QStringList({"actionShort_manual", "actionAbout"}));

    const QList<QPair<Qt::Key, const char *>> mnemonics = {
        {Qt::Key_V, "menuVKR"}, {Qt::Key_F, "menuVKR_Frequency_Tool"}, {Qt::Key_E, "menuEdit"}, {Qt::Key_H, "menuHelp"}};
    for (const auto &mnemonic : mnemonics) {
        auto *menu = child<QMenu>(mnemonic.second);
        QCOMPARE(menu->parent(), mainWindow->menuBar());
        QTest::keyClick(mainWindow, mnemonic.first, Qt::AltModifier);
        QTRY_VERIFY2(menu->isVisible(), mnemonic.second);
        QTest::keyClick(menu, Qt::Key_Escape);
        QTest::keyClick(mainWindow->menuBar(), Qt::Key_Escape);
        QTRY_VERIFY(!menu->isVisible());
        mainWindow->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(mainWindow));
    }
}

// The window's own slots, in the order of its meta-object.
void WidgetTreeTest::slotTable()
{
    const QMetaObject *meta = mainWindow->metaObject();
    QStringList slotLines;
    for (int k = meta->methodOffset(); k < meta->methodCount(); ++k) {
        const QMetaMethod method = meta->method(k);
        QCOMPARE(method.access(), QMetaMethod::Private);
        QVERIFY(method.methodType() != QMetaMethod::Signal);
        QString line = QString::fromLatin1(method.typeName()) + " " + QString::fromLatin1(method.methodSignature());
        if (!method.parameterNames().isEmpty())
            line += " " + QString::fromLatin1(method.parameterNames().join(','));
        slotLines << line;
    }
    QCOMPARE(slotLines, QStringList({"void open()", "void save()", "bool saveAs()", "void about()",
                                 "void setFreqValidColor()", "void searchVKR()",
                                 "void comPortChanged(int) currIndex", "void loadFreqsFromVkr()",
                                 "void saveFreqsToVkr()", "void dirEntered(QString) dir", "void restoreBackup()",
                                 "void cancelTransfer()", "void importChirp()",
                                 "void importAirfields()", "void printCard()", "void exportCard()"}));
}

// Every image is an 8-bit RGBA PNG of its stated size.
void WidgetTreeTest::images_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::newRow("open") << ":/images/open.png" << QSize(32, 32);
    QTest::newRow("save") << ":/images/save.png" << QSize(32, 32);
    QTest::newRow("read") << ":/images/VKR627down.png" << QSize(80, 42);
    QTest::newRow("write") << ":/images/VKR627up.png" << QSize(80, 42);
    QTest::newRow("logo") << ":/images/Corvane_Logo-transparent.png" << QSize(2126, 772);
}

void WidgetTreeTest::images()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(26);
    QCOMPARE(header.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    QCOMPARE(header.mid(12, 4), QByteArray("IHDR"));
    const auto bigEndian = [&header](int offset) {
        return static_cast<int>(qFromBigEndian<quint32>(header.constData() + offset));
    };
    QCOMPARE(QSize(bigEndian(16), bigEndian(20)), size);
    QCOMPARE(int(header.at(24)), 8); // bits per channel
    QCOMPARE(int(header.at(25)), 6); // colour type: RGB with alpha
    QVERIFY(!QImage(path).isNull());
}

VKR_TEST_MAIN(WidgetTreeTest)
#include "tst_widget_tree.moc"
