#include "ProgressBoard.h"

#include "Console.h"
#include "ToolRadio.h"

#include <algorithm>
#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace {

// Columns of the terminal: longer lines are cut, since a wrapped line
// would throw off the redraw.
int terminalWidth()
{
#ifdef Q_OS_WIN
    CONSOLE_SCREEN_BUFFER_INFO console;
    if (::GetConsoleScreenBufferInfo(::GetStdHandle(STD_ERROR_HANDLE), &console))
        return console.srWindow.Right - console.srWindow.Left + 1;
#else
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
#endif
    return 80;
}

} // namespace

ProgressBoard::ProgressBoard(int ports)
    : visible(Console::errorIsTerminal())
    , lines(size_t(std::max(ports, 0)))
{
}

ProgressBoard::~ProgressBoard()
{
    clear();
}

Session::JobObserver ProgressBoard::radioFound(int port, const QString &label, int channelCount)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        Line &line = lines[size_t(port)];
        line.searching = false;
        line.shown = true;
        line.label = label;
        line.total = channelCount;
    }
    Session::JobObserver observer;
    observer.phaseStarted = [this, port](Session::Phase phase) {
        std::lock_guard<std::mutex> lock(mutex);
        Line &line = lines[size_t(port)];
        line.action = phaseAction(phase);
        line.done = 0;
        line.clock.start();
    };
    observer.progress = [this, port](Session::Phase, int row) {
        std::lock_guard<std::mutex> lock(mutex);
        lines[size_t(port)].done = row + 1;
    };
    return observer;
}

void ProgressBoard::portDone(int port)
{
    std::lock_guard<std::mutex> lock(mutex);
    lines[size_t(port)].searching = false;
    lines[size_t(port)].shown = false;
}

QString ProgressBoard::textOf(const Line &line) const
{
    if (line.action.isEmpty() || line.done <= 0)
        return QStringLiteral("%1: %2").arg(line.label, line.action.isEmpty() ? QStringLiteral("found") : line.action);
    const qint64 elapsed = line.clock.elapsed();
    return QStringLiteral("%1: %2 channel %3 of %4, %5 s elapsed, about %6 s left")
        .arg(line.label, line.action)
        .arg(line.done)
        .arg(line.total)
        .arg(elapsed / 1000)
        .arg(elapsed * (line.total - line.done) / line.done / 1000);
}

void ProgressBoard::draw()
{
    if (!visible)
        return;
    QStringList texts;
    {
        std::lock_guard<std::mutex> lock(mutex);
        const auto searching = std::count_if(lines.cbegin(), lines.cend(), [](const Line &l) { return l.searching; });
        if (searching > 0)
            texts << QStringLiteral("looking for radios on %1 of %2 ports").arg(searching).arg(lines.size());
        for (const Line &line : lines) {
            if (line.shown)
                texts << textOf(line);
        }
    }
    clear();
    const int width = terminalWidth() - 1;
    QByteArray screen;
    for (const QString &text : texts)
        screen += "\033[K" + text.left(width).toUtf8() + '\n';
    std::fputs(screen.constData(), stderr);
    std::fflush(stderr);
    drawn = texts.size();
}

void ProgressBoard::clear()
{
    if (!visible || drawn == 0)
        return;
    // Up to the board's first line, and everything below it away.
    std::fprintf(stderr, "\033[%dA\033[J", drawn);
    std::fflush(stderr);
    drawn = 0;
}
