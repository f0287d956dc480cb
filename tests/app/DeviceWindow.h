#pragma once

#include "ExpectedStyles.h"
#include "KeyTyping.h"
#include "MainWindow.h"
#include "PostedMessages.h"
#include "SerialPorts.h"
#include "VirtualRadio.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSerialPort>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTextDocumentFragment>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <memory>

namespace DeviceTest {

// Generous bound for a scan: an identified radio costs 5 s of quiet time.
constexpr int scanPatience = 30000;
// And for a transfer: a safe write of 100 channels reads the memory twice
// (about 20 s each) and writes it once.
constexpr int transferPatience = 120000;

// Names the ports the window will scan, as a user's machine would list them.
inline void setPortList(const QStringList &names)
{
    qputenv(Link::portListVariable, names.join(QDir::listSeparator()).toLocal8Bit());
}

inline QStringList portsOf(const std::vector<std::unique_ptr<VirtualRadio>> &radios)
{
    QStringList names;
    for (const auto &radio : radios)
        names.append(radio->portName());
    return names;
}

// Keeps the event loop turning until the condition holds or the time is up.
inline bool waitUntil(const std::function<bool()> &condition, int timeout = scanPatience)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeout)
            return false;
        QTest::qWait(10);
    }
    return true;
}

// The main window, shown as the program shows it, with the widgets the
// device tests look at, found by their object names.
class DeviceWindow
{
public:
    DeviceWindow()
        : window(new MainWindow)
        , label(window->findChild<QLabel *>(QStringLiteral("VKRInfo")))
        , ports(window->findChild<QComboBox *>(QStringLiteral("comPortComboBox")))
        , autoButton(window->findChild<QPushButton *>(QStringLiteral("autoButton")))
        , readButton(window->findChild<QToolButton *>(QStringLiteral("loadFromDeviceButton")))
        , writeButton(window->findChild<QToolButton *>(QStringLiteral("writeToDeviceButton")))
        , table(window->findChild<QTableWidget *>(QStringLiteral("frequencyTable")))
        , statusBar(window->findChild<QStatusBar *>(QStringLiteral("statusBar")))
        , progressBar(window->findChild<QProgressBar *>(QStringLiteral("progressBar")))
        , cancelButton(window->findChild<QPushButton *>(QStringLiteral("cancelButton")))
        , radioState(window->findChild<QLabel *>(QStringLiteral("radioStateLabel")))
        , knownPorts(Link::serialPortNames())
        , posted(new PostedMessages(statusBar))
    {
        window->show();
    }

    // True once the scan that the window starts 100 ms after construction
    // has run to its end (it styles the label, and "Auto" works again).
    bool waitForFirstScan() const
    {
        return waitUntil([this] { return !label->styleSheet().isEmpty() && scanEnded(); });
    }
    bool scanEnded() const { return autoButton->isEnabled() && label->text() != QLatin1String("connecting..."); }

    // Presses "Auto" and waits for the scan to end.
    bool pressAuto() const
    {
        QTest::mouseClick(autoButton, Qt::LeftButton);
        return waitUntil([this] { return scanEnded(); });
    }

    // Picks a port from the open list with the mouse, as a user would, and
    // waits for its probe to end.
    bool choosePort(int index) const
    {
        ports->showPopup();
        QAbstractItemView *view = ports->view();
        const QRect item = view->visualRect(view->model()->index(index, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
        return waitUntil([this] { return ports->isEnabled() && label->text() != QLatin1String("connecting..."); });
    }

    // Clicks a transfer's button, or triggers its action, and waits until
    // the transfer ended (its Cancel button is shown while it runs).
    // lastMessage() is then the last the transfer posted: the status bar is
    // cleared first, as a message the same as the one shown is not posted
    // again.
    bool transfer(QObject *buttonOrAction) const
    {
        statusBar->clearMessage();
        posted->all.clear();
        QMetaObject::invokeMethod(buttonOrAction, qobject_cast<QAction *>(buttonOrAction) ? "trigger" : "click");
        return waitUntil([this] { return !cancelButton->isVisible(); }, transferPatience);
    }

    // Whether the window holds the port of that path open.
    bool isOnPort(const QString &path) const;
    // Whether it holds any port open that it was given when it was built,
    // or that its list names now.
    bool portOpen() const
    {
        QStringList names = knownPorts;
        for (int i = 0; i < ports->count(); ++i)
            names.append(ports->itemText(i));
        return std::any_of(names.cbegin(), names.cend(), [this](const QString &name) { return isOnPort(name); });
    }
    // The status bar's last message, as it was posted.
    QString lastMessage() const { return posted->last(); }
    // All a transfer posted, for the message of a failed check.
    QString postedMessages() const { return posted->all.join(QStringLiteral(" | ")); }

    // The status bar's line on whether the radio holds the table, as read.
    QString radioStateText() const { return QTextDocumentFragment::fromHtml(radioState->text()).toPlainText(); }
    bool writtenAndVerified() const { return radioStateText().startsWith(QLatin1String("Written and verified: ")); }

    bool buttonsEnabled() const { return readButton->isEnabled() && writeButton->isEnabled(); }
    bool buttonsDisabled() const { return !readButton->isEnabled() && !writeButton->isEnabled(); }

    // The cells a user edits, by row.
    QTableWidgetItem *nameEditor(int row) const { return table->item(row, 1); }
    QTableWidgetItem *frequencyEditor(int row) const { return table->item(row, 2); }
    QString number(int row) const { return table->item(row, 0) ? table->item(row, 0)->text() : QString(); }

    // Clicks a cell, opens its editor with F2 (what the cell holds comes
    // selected), types over it and leaves it with Enter.
    void typeInto(QTableWidgetItem *cell, const QString &text) const
    {
        table->scrollToItem(cell);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, table->visualItemRect(cell).center());
        QTest::keyClick(table, Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(table->indexWidget(table->model()->index(cell->row(), cell->column())));
        if (!editor)
            return;
        if (text.isEmpty())
            QTest::keyClick(editor, Qt::Key_Delete);
        else
            typeText(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }

    std::unique_ptr<MainWindow> window;
    QLabel *label;
    QComboBox *ports;
    QPushButton *autoButton;
    QToolButton *readButton;
    QToolButton *writeButton;
    QTableWidget *table;
    QStatusBar *statusBar;
    QProgressBar *progressBar;
    QPushButton *cancelButton;
    QLabel *radioState;
    QStringList knownPorts;
    PostedMessages *posted; // from the window's start; owned by its status bar
};

// True when no one holds the port open: the window's QSerialPort locks a
// port while it is open, so a second open succeeds only after it closed.
inline bool portIsFree(const QString &name)
{
    QSerialPort probe;
    probe.setPortName(name);
    const bool opened = probe.open(QIODevice::ReadWrite);
    probe.close();
    return opened;
}

// The serial library keeps a lock file naming the process that opened a
// port until it closes it. The lock is looked at, not the device: the device
// of a radio unplugged is gone at once, and its name may already be another
// program's terminal.
inline bool DeviceWindow::isOnPort(const QString &path) const
{
    QString device = path;
    if (device.startsWith(QLatin1String("/dev/")))
        device.remove(0, 5);
    const QString name = QStringLiteral("/LCK..") + device.replace(QLatin1Char('/'), QLatin1Char('_'));
    for (const char *folder : {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp", "/tmp", "/var/tmp",
                               "/var/lock/lockdev", "/run/lock"}) {
        QFile lock(QLatin1String(folder) + name);
        if (lock.open(QIODevice::ReadOnly) && lock.readLine().trimmed().toLongLong() == QCoreApplication::applicationPid())
            return true;
    }
    return false;
}

// Number of connections to a signal. QObject::receivers is protected; a
// pointer to it, taken through a derived class, may be used on any object.
struct SignalReceivers : QObject {
    static int count(const QObject *sender, const char *signal)
    {
        return (sender->*(&SignalReceivers::receivers))(signal);
    }
};

// How often a byte sequence occurs in what a radio heard.
inline int timesHeard(const VirtualRadio &radio, const QByteArray &sequence)
{
    return radio.received().count(sequence);
}

} // namespace DeviceTest
