// Linked into both start-up subjects: once the event loop runs with every
// shown window exposed and nothing left to do, the process ends.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

namespace {

bool allWindowsExposed()
{
    const auto windows = QGuiApplication::topLevelWindows();
    bool anyVisible = false;
    for (QWindow *window : windows) {
        if (!window->isVisible())
            continue;
        anyVisible = true;
        if (!window->isExposed())
            return false;
    }
    return anyVisible;
}

void exitWhenIdle()
{
    // A zero-time timer fires only when the loop has no other work pending.
    QTimer::singleShot(0, [] {
        if (allWindowsExposed())
            QCoreApplication::exit(0);
        else
            exitWhenIdle();
    });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(exitWhenIdle)
