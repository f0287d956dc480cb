// The channel card made through the window as a user makes it, its PDF read
// back with poppler's tools as any reader would see it.
#include "FileContent.h"
#include "FileDialogDriver.h"
#include "FirstScan.h"
#include "MainWindow.h"
#include "PdfFile.h"
#include "TestMain.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QPageSetupDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace FileDialogDriver;

namespace {

// A channel file of 100 channels, each in use but those listed as empty,
// and the lines of its card: names with a space or a letter beyond ASCII,
// frequencies on both rasters (every fourth an 8.33 kHz channel).
struct Club {
    QByteArray file;
    QStringList card;
};

Club hundredChannels(const QList<int> &empty = {})
{
    Club club;
    for (int i = 0; i < 100; ++i) {
        if (empty.contains(i)) {
            club.file += ";\r\n";
            continue;
        }
        const bool is833 = i % 4 == 1;
        const int kilohertz = 118000 + 175 * i + (is833 ? 5 : 0);
        const QString name = i % 10 == 3 ? QString::fromUtf8("ÜB%1").arg(i) : QStringLiteral("CH%1 %2").arg(i).arg(QChar('A' + i % 26));
        const QString frequency = QStringLiteral("%1.%2").arg(kilohertz / 1000).arg(kilohertz % 1000, 3, 10, QLatin1Char('0'));
        club.file += (name + QLatin1Char(';') + frequency).toUtf8() + "\r\n";
        club.card << QStringLiteral("%1 %2 %3").arg(i).arg(name, frequency) + (is833 ? " 8.33" : "");
    }
    return club;
}

QString storedSetting(const char *key)
{
    return QSettings(QStringLiteral("Corvane"), QStringLiteral("VKRFrequencyTool")).value(key).toString();
}

// Chooses the paper as a user does: Ctrl+P, "Page setup" in the preview,
// the paper in its list, OK; then closes the preview without printing. The
// preview's page count once the paper was set, or -1 when a step failed.
int choosePaperInPreview(MainWindow &window, const QString &paper)
{
    int pages = -1;
    ModalAnswerer<QPageSetupDialog> setup([&paper](QPageSetupDialog *dialog) {
        auto *sizes = dialog->findChild<QComboBox *>(QStringLiteral("pageSizeCombo"));
        auto *buttons = dialog->findChild<QDialogButtonBox *>();
        if (!sizes || !buttons || sizes->findText(paper, Qt::MatchStartsWith) < 0)
            return dialog->reject();
        sizes->setCurrentIndex(sizes->findText(paper, Qt::MatchStartsWith));
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    ModalAnswerer<QPrintPreviewDialog> preview([&](QPrintPreviewDialog *dialog) {
        for (QAction *action : dialog->findChildren<QAction *>()) {
            if (action->text() == QLatin1String("Page setup"))
                action->trigger();
        }
        auto *view = dialog->findChild<QPrintPreviewWidget *>();
        if (setup.answered() && view) {
            view->updatePreview();
            pages = view->pageCount();
        }
        dialog->reject();
    });
    QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
    return preview.answered() ? pages : -1;
}

} // namespace

class ChannelCardTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void exportCard_data();
    void exportCard();
    void emptyTable_data();
    void emptyTable();
    void exportDialog_data();
    void exportDialog();

private:
    std::unique_ptr<MainWindow> openWindow(const QByteArray &channelFile);
    void exportThroughDialog(MainWindow &window, const QString &typedName);

    std::unique_ptr<QTemporaryDir> folder;
    QString dialogTitle;  // of the last export dialog
    QString dialogFolder; // the folder it started in
};

void ChannelCardTest::initTestCase()
{
    useWidgetFileDialogs();
}

void ChannelCardTest::init()
{
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    QSettings(QStringLiteral("Corvane"), QStringLiteral("VKRFrequencyTool")).clear();
}

// The window with the channels loaded from "club.csv" through File > Open.
std::unique_ptr<MainWindow> ChannelCardTest::openWindow(const QByteArray &channelFile)
{
    const QString fileName = folder->filePath(QStringLiteral("club.csv"));
    if (!writeContent(fileName, channelFile))
        return nullptr;
    auto window = std::make_unique<MainWindow>();
    window->show();
    if (!waitForFirstScan(*window))
        return nullptr;
    const auto answer = answerWithFile(fileName);
    window->findChild<QAction *>(QStringLiteral("actionOpen"))->trigger();
    window->activateWindow(); // as it is again for the user once the dialog closed
    if (!answer->answered() || window->statusBar()->currentMessage() != QLatin1String("File loaded")
        || !QTest::qWaitForWindowActive(window.get()))
        return nullptr;
    return window;
}

// File > Export card as PDF..., the name typed into the save dialog.
void ChannelCardTest::exportThroughDialog(MainWindow &window, const QString &typedName)
{
    dialogTitle = dialogFolder = QStringLiteral("(no dialog)");
    ModalAnswerer<QFileDialog> answer([&](QFileDialog *dialog) {
        dialogTitle = dialog->windowTitle();
        dialogFolder = dialog->directory().absolutePath();
        chooseFile(dialog, typedName);
    });
    window.findChild<QAction *>(QStringLiteral("actionExport_card_as_PDF"))->trigger();
}

void ChannelCardTest::exportCard_data()
{
    QTest::addColumn<QString>("paper"); // chosen in the print preview; empty: never chosen
    QTest::addColumn<QList<int>>("empty");
    QTest::addColumn<QString>("pageSize"); // in points, as pdfinfo reports it
    QTest::addColumn<bool>("onePage");

    QTest::newRow("A5 until another paper is chosen") << QString() << QList<int>{} << "420 x 595" << true;
    QTest::newRow("empty channels left out, numbers kept") << QString() << QList<int>{0, 7, 8, 50, 99}
                                                           << "420 x 595" << true;
    QTest::newRow("A4") << "A4" << QList<int>{} << "595 x 842" << true;
    QTest::newRow("Letter") << "Letter" << QList<int>{} << "612 x 792" << true;
    QTest::newRow("Half Letter") << "Statement" << QList<int>{} << "396 x 612" << true;
    QTest::newRow("A6 needs more pages") << "A6" << QList<int>{} << "297 x 420" << false;
}

// Every channel in use on the card, in channel order, each page headed by
// the file's base name and the date; the text is text and its fonts embedded.
void ChannelCardTest::exportCard()
{
    QFETCH(QString, paper);
    QFETCH(QList<int>, empty);
    QFETCH(QString, pageSize);
    QFETCH(bool, onePage);
    const Club club = hundredChannels(empty);
    auto window = openWindow(club.file);
    QVERIFY(window);

    int previewPages = 0;
    if (!paper.isEmpty()) {
        previewPages = choosePaperInPreview(*window, paper);
        QVERIFY2(previewPages > 0, "the paper could not be chosen in the print preview");
        QCOMPARE(storedSetting("CardPaper"), paper);
    }

    const QString fileName = folder->filePath(QStringLiteral("card.pdf"));
    exportThroughDialog(*window, fileName);
    QCOMPARE(dialogTitle, QStringLiteral("Export card"));
    QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("Card exported"));

    QCOMPARE(PdfFile::pageSize(fileName), pageSize);
    QCOMPARE(PdfFile::fontsNotEmbedded(fileName), QStringList());
    const QVector<QStringList> pages = PdfFile::pages(fileName);
    QCOMPARE(pages.size() == 1, onePage);
    if (!paper.isEmpty())
        QCOMPARE(pages.size(), previewPages); // the preview shows the card as exported
    QStringList lines;
    const QString date = QDate::currentDate().toString(Qt::ISODate);
    for (int page = 0; page < pages.size(); ++page) {
        const QString heading = pages.size() == 1 ? QStringLiteral("club, %1").arg(date)
                                                  : QStringLiteral("club, %1 (%2/%3)").arg(date).arg(page + 1).arg(pages.size());
        QCOMPARE(pages[page].value(0), heading);
        lines += pages[page].mid(1);
    }
    QCOMPARE(lines, club.card);
}

void ChannelCardTest::emptyTable_data()
{
    QTest::addColumn<bool>("print");
    QTest::newRow("Export card as PDF") << false;
    QTest::newRow("Print card (Ctrl+P)") << true;
}

// A table without a channel in use makes no card: a box says why, and
// neither the save dialog nor the print preview opens.
void ChannelCardTest::emptyTable()
{
    QFETCH(bool, print);
    auto window = openWindow(QByteArray());
    QVERIFY(window);

    SeenBox box;
    const auto boxAnswer = answerBoxWithOk(&box);
    if (print)
        QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
    else
        window->findChild<QAction *>(QStringLiteral("actionExport_card_as_PDF"))->trigger();
    QVERIFY(box.shown);
    QCOMPARE(box.title, QStringLiteral("Channel card"));
    QCOMPARE(box.text, QStringLiteral("No channel in the table has a name or a frequency: "
                                      "there is nothing to put on a card."));
    QCOMPARE(folderEntries(folder->path()), QStringList{"club.csv"});
}

void ChannelCardTest::exportDialog_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("no suffix") << "card" << "card.pdf";
    QTest::newRow("another suffix") << "card.v2" << "card.v2.pdf";
    QTest::newRow("folder that does not exist") << "missing/card.pdf" << "";
}

// The name typed gets ".pdf" where it lacks it. The first export dialog
// starts beside the channel file, later ones in the folder of the last
// export. A file that cannot be written is reported, nothing left behind.
void ChannelCardTest::exportDialog()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    const QString cards = folder->filePath(QStringLiteral("cards"));
    QVERIFY(QDir().mkpath(cards));
    auto window = openWindow(hundredChannels().file);
    QVERIFY(window);

    SeenBox box;
    const auto boxAnswer = answerBoxWithOk(&box);
    exportThroughDialog(*window, cards + QLatin1Char('/') + typed);
    QCOMPARE(dialogFolder, folder->path());
    if (written.isEmpty()) {
        QCOMPARE(box.title, QStringLiteral("Export error"));
        QCOMPARE(box.text, QStringLiteral("The card could not be saved as %1.")
                               .arg(QDir::toNativeSeparators(cards + QLatin1Char('/') + typed)));
        QCOMPARE(folderEntries(cards), QStringList());
        return;
    }
    QVERIFY(!box.shown);
    QCOMPARE(folderEntries(cards), QStringList{written});
    QVERIFY(contentOf(cards + QLatin1Char('/') + written).startsWith("%PDF-"));

    QCOMPARE(storedSetting("CardDirectory"), cards); // for the next run
    // Ctrl+Shift+P, then Enter: the dialog starts there, a name proposed.
    ModalAnswerer<QFileDialog> enter([&](QFileDialog *dialog) {
        dialogFolder = dialog->directory().absolutePath();
        if (!QTest::qWaitForWindowActive(dialog)) // the key goes where the focus is, as for the user
            return dialog->reject();
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus && dialog->isAncestorOf(focus) ? focus : dialog, Qt::Key_Return);
    });
    window->activateWindow(); // as it is again for the user once the first dialog closed
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(enter.answered());
    QCOMPARE(dialogFolder, cards);
    const QString proposed = QStringLiteral("club %1.pdf").arg(QDate::currentDate().toString(Qt::ISODate));
    QCOMPARE(folderEntries(cards), (QStringList{written, proposed}));
    QVERIFY(contentOf(cards + QLatin1Char('/') + proposed).startsWith("%PDF-"));
}

VKR_TEST_MAIN(ChannelCardTest)
#include "tst_channel_card.moc"
