#include "Progress.h"

#include "Console.h"

#include <cstdio>

Progress::Progress(const QString &action, int total)
    : action(action)
    , total(total)
    , visible(Console::errorIsTerminal())
{
    clock.start();
}

Progress::~Progress()
{
    if (visible)
        std::fputs("\r\033[K", stderr); // clear the line for what follows
}

void Progress::show(int done)
{
    if (!visible || done <= 0)
        return;
    const qint64 elapsed = clock.elapsed() / 1000;
    const qint64 left = clock.elapsed() * (total - done) / done / 1000;
    const QString line = QStringLiteral("\r\033[K%1 channel %2 of %3, %4 s elapsed, about %5 s left")
                             .arg(action)
                             .arg(done)
                             .arg(total)
                             .arg(elapsed)
                             .arg(left);
    std::fputs(line.toUtf8().constData(), stderr);
    std::fflush(stderr);
}
