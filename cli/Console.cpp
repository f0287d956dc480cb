#include "Console.h"

#include "Interrupt.h"
#include "Messages.h"
#include "QuotedText.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

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

bool isOpen(int descriptor)
{
    return ::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF;
}

} // namespace

void guardStandardStreams()
{
    for (int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (isOpen(descriptor))
            continue;
        // open() takes the lowest free descriptor: this one. Read-only, so
        // that a write to standard output fails with EBADF, as it would have.
        ::open("/dev/null", O_RDONLY);
        if (descriptor == STDOUT_FILENO)
            outputClosed = true;
    }
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
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace Console
