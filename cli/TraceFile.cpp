#include "TraceFile.h"

#include "Console.h"
#include "ExitCodes.h"
#include "Interrupt.h"
#include "OutputTarget.h"
#include "QuotedText.h"

#include <memory>

namespace TraceFile {

namespace {

std::unique_ptr<Link::WireTrace> trace;
QString tracePath;

} // namespace

int open(const QString &path, const QStringList &inputs, const QStringList &commandLine)
{
    const OutputTarget target(path);
    if (target.isStandardOutput()) {
        Console::fail(QStringLiteral("--trace wants a file: standard output carries the results."));
        return ExitCode::usage;
    }
    if (const int failed = target.check(inputs))
        return failed;
    trace = std::make_unique<Link::WireTrace>();
    tracePath = path;
    QStringList words;
    for (const QString &word : commandLine)
        words << QuotedText::escaped(word);
    const QStringList heading{
        QStringLiteral("vkrtool %1 (VKR Frequency Tool), Qt %2").arg(QStringLiteral(VKR_VERSION), QLatin1String(qVersion())),
        QStringLiteral("command: %1").arg(words.join(QLatin1Char(' '))),
    };
    bool opened = false;
    {
        // A FIFO opens only once something reads it.
        const Interrupt::BlockingWait wait(QStringLiteral("opening the trace %1").arg(QuotedText::escaped(path)));
        opened = trace->open(path, heading);
    }
    if (opened)
        return ExitCode::success;
    Console::fail(QStringLiteral("cannot write the trace %1: %2; nothing was done.")
                      .arg(QuotedText::escaped(path), trace->error()));
    trace.reset();
    return ExitCode::cannotUse;
}

Link::WireTrace *current()
{
    return trace.get();
}

int close(int exitCode)
{
    if (!trace)
        return exitCode;
    const bool written = trace->close();
    const QString why = trace->error();
    trace.reset();
    if (written)
        return exitCode;
    Console::fail(QStringLiteral("could not write the trace %1: %2.").arg(QuotedText::escaped(tracePath), why));
    return ExitCode::withOutputLost(exitCode);
}

} // namespace TraceFile
