#include "Console.h"

#include <cstdio>

#include <unistd.h>

namespace Console {

void out(const QString &line)
{
    outBytes((line + QLatin1Char('\n')).toUtf8());
}

void outBytes(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void err(const QString &line)
{
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

void fail(const QString &sentence)
{
    err(QStringLiteral("vkrtool: ") + sentence);
}

bool errorIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace Console
