// How the window's actions and buttons reach its slots, and the about box.
#include "MainWindow.h"
#include "ModalAnswerer.h"
#include "TestMain.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>
#include <QToolButton>
#include <QtTest>

// Names the window's private slots, so a test can find the connections
// made to them.
class MainWindowTestAccess
{
public:
    // Removes one connection from the sender's signal to the named slot;
    // false when there was none.
    static bool disconnectSlot(QObject *sender, MainWindow *window, const QString &slot)
    {
        if (auto *action = qobject_cast<QAction *>(sender))
            return disconnectFrom(action, &QAction::triggered, window, slot);
        return disconnectFrom(qobject_cast<QAbstractButton *>(sender), &QAbstractButton::clicked, window, slot);
    }

private:
    template<typename Sender, typename Signal>
    static bool disconnectFrom(Sender *sender, Signal signal, MainWindow *window, const QString &slot)
    {
        if (slot == "open")
            return QObject::disconnect(sender, signal, window, &MainWindow::open);
        if (slot == "save")
            return QObject::disconnect(sender, signal, window, &MainWindow::save);
        if (slot == "saveAs")
            return QObject::disconnect(sender, signal, window, &MainWindow::saveAs);
        if (slot == "about")
            return QObject::disconnect(sender, signal, window, &MainWindow::about);
        if (slot == "searchVKR")
            return QObject::disconnect(sender, signal, window, &MainWindow::searchVKR);
        if (slot == "loadFreqsFromVkr")
            return QObject::disconnect(sender, signal, window, &MainWindow::loadFreqsFromVkr);
        if (slot == "saveFreqsToVkr")
            return QObject::disconnect(sender, signal, window, &MainWindow::saveFreqsToVkr);
        if (slot == "printCard")
            return QObject::disconnect(sender, signal, window, &MainWindow::printCard);
        if (slot == "exportCard")
            return QObject::disconnect(sender, signal, window, &MainWindow::exportCard);
        return false;
    }
};

class WiringTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void connections_data();
    void connections();
    void aboutBox();
    void aboutBoxIsFreshEachTime();
    void aboutBoxBlocksTheMainWindow();
    void closingBeforeDiscoveryLeavesNoPort();

private:
    MainWindow *window = nullptr;
};

void WiringTest::init()
{
    window = new MainWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void WiringTest::cleanup()
{
    delete window;
    window = nullptr;
}

void WiringTest::connections_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("slot");

    QTest::newRow("actionOpen") << "actionOpen" << "open";
    QTest::newRow("actionSave") << "actionSave" << "save";
    QTest::newRow("actionSave_as") << "actionSave_as" << "saveAs";
    QTest::newRow("actionRead_from") << "actionRead_from" << "loadFreqsFromVkr";
    QTest::newRow("actionWrite_to") << "actionWrite_to" << "saveFreqsToVkr";
    QTest::newRow("loadFromDeviceButton") << "loadFromDeviceButton" << "loadFreqsFromVkr";
    QTest::newRow("writeToDeviceButton") << "writeToDeviceButton" << "saveFreqsToVkr";
    QTest::newRow("toolButtonOpen") << "toolButtonOpen" << "open";
    QTest::newRow("toolButtonSave") << "toolButtonSave" << "save";
    QTest::newRow("autoButton") << "autoButton" << "searchVKR";
    QTest::newRow("actionAbout") << "actionAbout" << "about";
    QTest::newRow("actionPrint_card") << "actionPrint_card" << "printCard";
    QTest::newRow("actionExport_card_as_PDF") << "actionExport_card_as_PDF" << "exportCard";
}

// Each sender reaches its slot through exactly one connection and reaches no
// other slot of the window; buttons through clicked(), so that a press
// dragged off the button does nothing.
void WiringTest::connections()
{
    QFETCH(QString, sender);
    QFETCH(QString, slot);
    QObject *object = window->findChild<QObject *>(sender);
    QVERIFY(object);
    const bool isAction = qobject_cast<QAction *>(object) != nullptr;
    if (!isAction) {
        QVERIFY(!QObject::disconnect(object, SIGNAL(released()), window, nullptr));
        QVERIFY(!QObject::disconnect(object, SIGNAL(pressed()), window, nullptr));
    }
    QVERIFY(MainWindowTestAccess::disconnectSlot(object, window, slot));
    QVERIFY2(!QObject::disconnect(object, isAction ? SIGNAL(triggered()) : SIGNAL(clicked()), window, nullptr),
             "a second or a different slot is connected");
}

void WiringTest::aboutBox()
{
    QPointer<QDialog> seen;
    bool logoLeftItOpen = false;
    ModalAnswerer<QDialog> answer([&](QDialog *dialog) {
        seen = dialog;
        QCOMPARE(QString(dialog->metaObject()->className()), QString("AboutDialog"));
        QCOMPARE(dialog->objectName(), QString("AboutDialog"));
        QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
        QCOMPARE(dialog->parent(), nullptr);
        QCOMPARE(dialog->size(), QSize(400, 369));
        QCOMPARE(dialog->windowTitle(), QString("About VKR Frequency Tool"));
        QCOMPARE(dialog->findChild<QLabel *>("label")->text(), QString("VKR Frequency Tool"));
        QVERIFY(dialog->findChild<QLabel *>("label")->font().bold());
        QCOMPARE(dialog->findChild<QLabel *>("label")->font().pointSize(), 14);
        QVERIFY(dialog->findChild<QLabel *>("label_2")->text().contains("Version 1.4"));
        QCOMPARE(dialog->findChild<QLabel *>("label_3")->text(),
                 QString("<html><head/><body><p><span style=\" font-size:10pt;\">This tool allows easy "
                         "administration of the frequency  <br/> memory for the radios of the VKR627 "
                         "series. </span></p></body></html>"));
        auto *logo = dialog->findChild<QPushButton *>("pushButton");
        QVERIFY(!logo->icon().isNull());
        QVERIFY(logo->isFlat());
        QCOMPARE(logo->iconSize(), QSize(300, 120));
        QVERIFY(logo->text().isEmpty());
        QTest::mouseClick(logo, Qt::LeftButton);
        QCoreApplication::processEvents();
        logoLeftItOpen = dialog->isVisible();
        auto *buttons = dialog->findChild<QDialogButtonBox *>("buttonBox");
        QCOMPARE(buttons->standardButtons(), QDialogButtonBox::Ok);
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    window->findChild<QAction *>("actionAbout")->trigger();
    QVERIFY(answer.answered());
    QVERIFY(logoLeftItOpen);
    QVERIFY(seen.isNull()); // destroyed when the slot returned
}

void WiringTest::aboutBoxIsFreshEachTime()
{
    for (int showing = 0; showing < 2; ++showing) {
        QSize sizeWhenShown;
        ModalAnswerer<QDialog> answer([&](QDialog *dialog) {
            sizeWhenShown = dialog->size();
            dialog->resize(250, 250); // a changed box must not come back
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        window->findChild<QAction *>("actionAbout")->trigger();
        QVERIFY(answer.answered());
        QCOMPARE(sizeWhenShown, QSize(400, 369));
    }
}

void WiringTest::aboutBoxBlocksTheMainWindow()
{
    QTableWidget *table = window->findChild<QTableWidget *>("frequencyTable");
    const QRect name = table->visualItemRect(table->item(0, 1));
    bool blocked = false;
    ModalAnswerer<QDialog> answer([&](QDialog *dialog) {
        QCOMPARE(QApplication::activeModalWidget(), dialog);
        // Through the window system, as a user's click and keys arrive.
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          table->viewport()->mapTo(window, name.center()));
        QTest::keyClick(window->windowHandle(), Qt::Key_A);
        QCoreApplication::processEvents();
        blocked = table->item(0, 1)->text().isEmpty() && !table->findChild<QLineEdit *>();
        dialog->accept();
    });
    window->findChild<QAction *>("actionAbout")->trigger();
    QVERIFY(answer.answered());
    QVERIFY(blocked);
    QVERIFY(table->item(0, 1)->text().isEmpty());
}

void WiringTest::closingBeforeDiscoveryLeavesNoPort()
{
    auto *early = new MainWindow;
    early->show();
    early->close();
    // The port belongs to the radio's thread, which the first scan makes.
    QVERIFY(early->findChild<QThread *>() == nullptr);
    delete early;
}

VKR_TEST_MAIN(WiringTest)
#include "tst_wiring.moc"
