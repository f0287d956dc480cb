// Child process of the file command tests: loads the channel file named on
// the command line through the open dialog, fills the table, then saves
// while the disk "fills up" - a file-size limit far below the new file's
// size, with the limit's signal ignored so writes fail the way they do on a
// full disk. Prints what the user was shown, one line each:
//   loaded: <status>   status: <status>   box: <title> | <text>
#include "FileDialogDriver.h"
#include "FirstScan.h"
#include "MainWindow.h"
#include "TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QStatusBar>
#include <QTableWidget>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr rlim_t fileSizeLimit = 64; // bytes; the saved table needs far more

void print(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

bool limitFileSize()
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return false;
    limit.rlim_cur = fileSizeLimit;
    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    TestEnvironment environment;
    QApplication application(argc, argv);
    if (argc != 2)
        return 2;
    const QString fileName = QString::fromLocal8Bit(argv[1]);
    FileDialogDriver::useWidgetFileDialogs();

    MainWindow window;
    window.show();
    if (!waitForFirstScan(window))
        return 5;

    {
        const auto answer = FileDialogDriver::answerWithFile(fileName);
        window.findChild<QAction *>(QStringLiteral("actionOpen"))->trigger();
        if (!answer->answered())
            return 3;
    }
    print(QStringLiteral("loaded: ") + window.statusBar()->currentMessage());

    // Every row filled, pasted as from a spreadsheet.
    auto *table = window.findChild<QTableWidget *>(QStringLiteral("frequencyTable"));
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row)
        rows << QStringLiteral("CH%1\t121.500").arg(row);
    table->setCurrentCell(0, 1);
    QApplication::clipboard()->setText(rows.join(QLatin1Char('\n')));
    window.findChild<QAction *>(QStringLiteral("actionPaste"))->trigger();

    if (!limitFileSize())
        return 4;
    FileDialogDriver::SeenBox box;
    const auto boxAnswer = FileDialogDriver::answerBoxWithOk(&box);
    window.findChild<QAction *>(QStringLiteral("actionSave"))->trigger();
    print(QStringLiteral("status: ") + window.statusBar()->currentMessage());
    if (box.shown)
        print(QStringLiteral("box: ") + box.title + QStringLiteral(" | ") + box.text);
    return 0;
}
