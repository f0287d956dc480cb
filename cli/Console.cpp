#include "Console.h"

#include "Interrupt.h"
#include "Messages.h"
#include "QuotedText.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

#ifdef Q_OS_WIN
#include <cstdlib>
#include <io.h>
#include <windows.h>
#endif

namespace Console {

namespace {

int outputErrno = 0; // the first failure of standard output, 0 while none
bool outputClosed = false; // the program was started with standard output closed
bool linesOnError = false; // standard output carries a document
QString failure;           // the first failure said

void noteOutputFailure(int error)
{
    if (outputErrno == 0)
        outputErrno = error != 0 ? error : EIO;
}

#ifdef Q_OS_WIN
bool isOpen(int descriptor)
{
    return ::_get_osfhandle(descriptor) >= 0;
}

constexpr char nullDevice[] = "NUL";

UINT consoleCodePage = 0; // the console's own, given back at the end

void restoreConsoleCodePage()
{
    ::SetConsoleOutputCP(consoleCodePage);
}

bool isConsole(DWORD standardHandle)
{
    DWORD mode;
    return ::GetConsoleMode(::GetStdHandle(standardHandle), &mode) != 0;
}

// Channel files keep their CR LF and JSON its bytes: no stream of the
// program turns LF into CR LF, or stops reading at a Ctrl+Z. A console
// shows the UTF-8 written to it as UTF-8, and takes the escapes that
// redraw the progress lines (Windows 10 and later).
void prepareWindowsStreams()
{
    for (int descriptor : {0, 1, 2})
        ::_setmode(descriptor, _O_BINARY);
    if (isConsole(STD_OUTPUT_HANDLE) || isConsole(STD_ERROR_HANDLE)) {
        consoleCodePage = ::GetConsoleOutputCP();
        ::SetConsoleOutputCP(CP_UTF8);
        std::atexit(restoreConsoleCodePage);
    }
    DWORD mode;
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (::GetConsoleMode(error, &mode))
        ::SetConsoleMode(error, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}
#else
bool isOpen(int descriptor)
{
    return ::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF;
}

constexpr char nullDevice[] = "/dev/null";
#endif

} // namespace

void guardStandardStreams()
{
    for (int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (isOpen(descriptor))
            continue;
        // open() takes the lowest free descriptor: this one. Read-only, so
        // that a write to standard output fails with EBADF, as it would have.
        ::open(nullDevice, O_RDONLY);
        if (descriptor == STDOUT_FILENO)
            outputClosed = true;
    }
#ifdef Q_OS_WIN
    prepareWindowsStreams();
#endif
}

void out(const QString &line)
{
    if (linesOnError)
        err(line);
    else
        outBytes((QuotedText::escaped(line) + QLatin1Char('\n')).toUtf8());
}

void outBytes(const QByteArray &bytes)
{
    if (outputErrno != 0)
        return;
    // A pipe nobody reads holds the write until a signal ends the program.
    const Interrupt::BlockingWait wait(QStringLiteral("writing to standard output"), Interrupt::BlockingWait::Kind::Results);
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size())
        || std::fflush(stdout) != 0)
        noteOutputFailure(errno);
}

void err(const QString &line)
{
    const QByteArray bytes = (QuotedText::escaped(line) + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

void fail(const QString &sentence)
{
    if (failure.isEmpty())
        failure = QuotedText::escaped(sentence);
    err(QStringLiteral("vkrtool: ") + sentence);
}

QString firstFailure()
{
    return failure;
}

void keepOutputForDocument()
{
    linesOnError = true;
}

bool outputWasClosed()
{
    return outputClosed;
}

bool outputWorks()
{
    return outputErrno == 0;
}

QString outputError()
{
    return systemReason(outputErrno);
}

bool closeOutput()
{
    errno = 0;
    if (std::fflush(stdout) != 0)
        noteOutputFailure(errno);
    // A descriptor that refuses writes (guardStandardStreams) closes fine;
    // a failure is only new when nothing failed before.
    errno = 0;
    if (std::fclose(stdout) != 0 && outputErrno == 0)
        noteOutputFailure(errno);
    return outputErrno == 0;
}

bool errorIsTerminal()
{
#ifdef Q_OS_WIN
    // A console that takes the escapes which redraw the progress: isatty()
    // is true for NUL too, and an old console shows the escapes as text.
    DWORD mode;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) && (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING);
#else
    return ::isatty(STDERR_FILENO) == 1;
#endif
}

} // namespace Console
