// The main window as it stands after start-up: every widget, action and
// menu with its class, geometry, texts, icons and state; and the images the
// window draws on.
#include "AboutDialog.h"
#include "EditorStyles.h"
#include "MainWindow.h"
#include "TestMain.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTextDocument>
#include <QFile>
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
#include <QtEndian>
#include <QtTest>

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
    QCOMPARE(mainWindow->size(), QSize(508, 481));
    QCOMPARE(mainWindow->minimumSize(), QSize(508, 481));
    QCOMPARE(mainWindow->maximumSize(), QSize(508, 481));
    QCOMPARE(mainWindow->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(mainWindow->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    QVERIFY(!mainWindow->autoFillBackground());
    QVERIFY(!mainWindow->testAttribute(Qt::WA_SetWindowIcon));
    QCOMPARE(mainWindow->centralWidget()->objectName(), QString("centralWidget"));
    QCOMPARE(mainWindow->menuBar()->objectName(), QString("menuBar"));
    QCOMPARE(mainWindow->statusBar()->objectName(), QString("statusBar"));
    QCOMPARE(mainWindow->menuBar()->geometry().width(), 508);

    // The user cannot make the window larger or smaller.
    mainWindow->resize(700, 600);
    QCOMPARE(mainWindow->size(), QSize(508, 481));
}

void WidgetTreeTest::widgets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("frequencyTable") << "frequencyTable" << "QTableWidget" << QRect(20, 60, 321, 381);
    QTest::newRow("comPortComboBox") << "comPortComboBox" << "QComboBox" << QRect(346, 60, 106, 22); // room for "ttyUSB0" or "/dev/pts/3"
    QTest::newRow("VKRInfo") << "VKRInfo" << "QLabel" << QRect(380, 99, 121, 22);
    QTest::newRow("loadFromDeviceButton") << "loadFromDeviceButton" << "QToolButton" << QRect(380, 180, 80, 48);
    QTest::newRow("writeToDeviceButton") << "writeToDeviceButton" << "QToolButton" << QRect(380, 250, 80, 48);
    QTest::newRow("progressBar") << "progressBar" << "QProgressBar" << QRect(350, 420, 141, 16);
    QTest::newRow("toolButtonOpen") << "toolButtonOpen" << "QToolButton" << QRect(20, 10, 40, 40);
    QTest::newRow("toolButtonSave") << "toolButtonSave" << "QToolButton" << QRect(70, 10, 40, 40);
    QTest::newRow("autoButton") << "autoButton" << "QPushButton" << QRect(457, 59, 47, 24);
}

void WidgetTreeTest::widgets()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QRect, geometry);
    auto *widget = mainWindow->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(QString(widget->metaObject()->className()), className);
    QCOMPARE(widget->parentWidget()->objectName(), QString("centralWidget"));
    QCOMPARE(widget->geometry(), geometry);
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
    QCOMPARE(table->columnWidth(0), 40);
    QCOMPARE(table->columnWidth(1), 160);
    QCOMPARE(table->columnWidth(2), 100);
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
    QTest::newRow("about box") << true << QString();
    QTest::newRow("main window at start") << false << QString();
    for (const char *text :
         {"No device", "connecting...", "alive", "read", "VKR627A", "VKR627S", "VKR627-II", "VKR627"})
        QTest::newRow(text) << false << text;
}

// Every label and push button text has the room its font needs (DejaVu Sans
// here, as on most Linux machines), inside its window.
void WidgetTreeTest::textsFit()
{
    QFETCH(bool, aboutBox);
    QFETCH(QString, deviceText);
    AboutDialog dialog(nullptr);
    QWidget *window = aboutBox ? static_cast<QWidget *>(&dialog) : mainWindow;
    if (!deviceText.isEmpty()) {
        child<QLabel>("VKRInfo")->setStyleSheet(EditorStyle::green);
        child<QLabel>("VKRInfo")->setText(deviceText);
    }
    int checked = 0;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        auto *label = qobject_cast<QLabel *>(widget);
        auto *button = qobject_cast<QPushButton *>(widget);
        const QString text = label ? label->text() : button ? button->text() : QString();
        if (text.isEmpty())
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
    QVERIFY(checked >= (aboutBox ? 4 : 2));
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

    QTest::newRow("actionOpen") << "actionOpen" << "Open" << "menuVKR_Frequency_Tool";
    QTest::newRow("actionSave") << "actionSave" << "Save" << "menuVKR_Frequency_Tool";
    QTest::newRow("actionSave_as") << "actionSave_as" << "Save as" << "menuVKR_Frequency_Tool";
    QTest::newRow("actionRead_from") << "actionRead_from" << "Read from" << "menuVKR";
    QTest::newRow("actionWrite_to") << "actionWrite_to" << "Write to" << "menuVKR";
    QTest::newRow("actionAbout") << "actionAbout" << "About" << "menuHelp";
}

void WidgetTreeTest::actions()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, menu);
    auto *action = mainWindow->findChild<QAction *>(name);
    QVERIFY(action);
    QCOMPARE(action->parent(), mainWindow);
    QCOMPARE(action->text(), text);
    QVERIFY(!action->icon().isNull());
    QVERIFY(action->shortcut().isEmpty());
    QVERIFY(action->statusTip().isEmpty());
    QVERIFY(!action->isCheckable());
    QVERIFY(mainWindow->findChild<QMenu *>(menu)->actions().contains(action));
    if (name == "actionOpen")
        QVERIFY(action->isIconVisibleInMenu());
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

void WidgetTreeTest::menus()
{
    QStringList bar;
    for (QAction *entry : mainWindow->menuBar()->actions())
        bar << entry->menu()->objectName() + "=" + entry->text();
    QCOMPARE(bar, QStringList({"menuVKR_Frequency_Tool=File", "menuVKR=VKR", "menuHelp=Help"}));

    const auto names = [this](const char *menu) {
        QStringList result;
        for (QAction *action : child<QMenu>(menu)->actions())
            result << (action->isSeparator() ? QString("separator")
                                             : action->menu() ? action->menu()->objectName() : action->objectName());
        return result;
    };
    QCOMPARE(names("menuVKR_Frequency_Tool"),
             QStringList({"actionOpen", "actionSave", "actionSave_as", "separator", "menuImport", "separator",
                          "actionRestore_backup", "separator", "actionPrint_card", "actionExport_card_as_PDF"}));
    QCOMPARE(child<QMenu>("menuImport")->title(), QString("Import"));
    QCOMPARE(names("menuImport"), QStringList({"actionCHIRP_file", "actionAirfields"}));
    QCOMPARE(child<QAction>("actionCHIRP_file")->text(), QString("CHIRP file..."));
    QCOMPARE(child<QAction>("actionAirfields")->text(), QString("Airfields..."));
    QCOMPARE(names("menuVKR"), QStringList({"actionRead_from", "actionWrite_to"}));
    QCOMPARE(names("menuHelp"), QStringList({"actionAbout"}));
    for (const char *menu : {"menuVKR_Frequency_Tool", "menuVKR", "menuHelp"})
        QCOMPARE(child<QMenu>(menu)->parent(), mainWindow->menuBar());
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
                                 "void cancelTransfer()", "void setNameValidColor()", "void importChirp()",
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
