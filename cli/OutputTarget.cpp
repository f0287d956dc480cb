#include "OutputTarget.h"

#include "ChannelCsv.h"
#include "Console.h"
#include "ExitCodes.h"
#include "FileAccess.h"
#include "Interrupt.h"
#include "Messages.h"
#include "QuotedText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <optional>

#include <unistd.h>

QString firstThatMayWait(const QStringList &fileNames)
{
    for (const QString &name : fileNames) {
        const QFileInfo info(name);
        if (!name.isEmpty() && info.exists() && !info.isFile() && !info.isDir())
            return name;
    }
    return QString();
}

OutputTarget::OutputTarget(const QString &fileName)
    : name(fileName)
    , standardOutput(fileName.isEmpty() || fileName == QLatin1String("-"))
{
}

int OutputTarget::check(const QStringList &inputs) const
{
    if (standardOutput) {
        if (!Console::outputWasClosed())
            return ExitCode::success;
        Console::fail(QStringLiteral("standard output is closed, so the result has nowhere to go; name a file "
                                     "with -o, or redirect standard output."));
        return ExitCode::cannotUse;
    }
    for (const QString &input : inputs) {
        if (input.isEmpty() || input == QLatin1String("-") || !FileAccess::sameFile(input, name))
            continue;
        Console::fail(QStringLiteral("the output %1 is the input %2: it would be overwritten before it is read; "
                                     "name another output file.")
                          .arg(QuotedText::shown(name), QuotedText::shown(input)));
        return ExitCode::usage;
    }
    const QFileInfo target(name);
    QString problem;
    if (target.isDir()) {
        problem = QStringLiteral("it is a folder");
    } else if (target.exists()) {
        if (const int error = FileAccess::mayWrite(name))
            problem = systemReason(error);
    } else {
        const QString folder = target.absolutePath();
        if (!QFileInfo(folder).isDir())
            problem = QStringLiteral("the folder %1 does not exist").arg(QuotedText::shown(folder));
        else if (const int error = FileAccess::mayCreateIn(folder))
            problem = QStringLiteral("the folder %1 may not be written: %2")
                          .arg(QuotedText::shown(folder), systemReason(error));
    }
    if (problem.isEmpty())
        return ExitCode::success;
    Console::fail(QStringLiteral("cannot write %1: %2; nothing was done.").arg(QuotedText::shown(name), problem));
    return ExitCode::cannotUse;
}

bool OutputTarget::write(const QByteArray &bytes) const
{
    if (standardOutput) {
        Console::outBytes(bytes);
        return Console::outputWorks(); // a failure is said once, as the program ends
    }
    QString why;
    const QString mayWait = firstThatMayWait({name});
    std::optional<Interrupt::BlockingWait> wait;
    if (!mayWait.isEmpty())
        wait.emplace(QStringLiteral("writing %1").arg(QuotedText::shown(name)), Interrupt::BlockingWait::Kind::Results);
    if (ChannelCsv::saveBytes(name, bytes, &why))
        return true;
    Console::fail(QStringLiteral("could not write %1: %2.").arg(QuotedText::shown(name), why));
    return false;
}
