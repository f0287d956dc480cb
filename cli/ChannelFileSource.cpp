#include "ChannelFileSource.h"

#include "Console.h"
#include "ExitCodes.h"
#include "FileAccess.h"
#include "Interrupt.h"
#include "Messages.h"
#include "QuotedText.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

bool isStandardInput(const QString &fileName)
{
    return fileName == QLatin1String(standardInputName);
}

// Why a named file cannot be read, or empty when it can.
QString unreadable(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        return QStringLiteral("it does not exist");
    if (info.isDir())
        return QStringLiteral("it is a folder");
    if (const int error = FileAccess::mayRead(fileName))
        return systemReason(error);
    return QString();
}

void failUnreadable(const QString &fileName, const QString &reason)
{
    Console::fail(QStringLiteral("cannot use the channel file %1: %2; check the name and its permissions.")
                      .arg(fileLabel(fileName), reason));
}

} // namespace

QString fileLabel(const QString &fileName)
{
    return isStandardInput(fileName) ? QStringLiteral("standard input") : QuotedText::escaped(fileName);
}

int checkInputs(const QStringList &fileNames)
{
    if (fileNames.count(QLatin1String(standardInputName)) > 1) {
        Console::fail(QStringLiteral("standard input (\"-\") can be read only once; name a file for the other."));
        return ExitCode::usage;
    }
    for (const QString &fileName : fileNames) {
        if (isStandardInput(fileName))
            continue;
        const QString reason = unreadable(fileName);
        if (!reason.isEmpty()) {
            failUnreadable(fileName, reason);
            return ExitCode::cannotUse;
        }
    }
    return ExitCode::success;
}

bool loadChannelFile(const QString &fileName, CsvTable &table)
{
    // Standard input, or a FIFO, may keep the run waiting for its writer.
    const Interrupt::BlockingWait wait(QStringLiteral("reading %1").arg(fileLabel(fileName)));
    if (isStandardInput(fileName)) {
        QFile input;
        if (input.open(stdin, QIODevice::ReadOnly) && table.read(input))
            return true;
        failUnreadable(fileName, input.errorString());
        return false;
    }
    if (table.read(fileName))
        return true;
    const QString reason = unreadable(fileName);
    failUnreadable(fileName, reason.isEmpty() ? QStringLiteral("it could not be read") : reason);
    return false;
}

QStringList problemLines(const QString &fileName, const QVector<ChannelProblem> &problems)
{
    const QString label = fileLabel(fileName);
    QStringList lines;
    for (const ChannelProblem &problem : problems) {
        // A list that is no file has no lines; a problem of the whole file
        // no channel either.
        const QString where = problem.line > 0 ? QStringLiteral("%1:%2").arg(label, QString::number(problem.line)) : label;
        lines << (problem.channel < 0
                      ? QStringLiteral("%1: %2").arg(where, problem.text)
                      : QStringLiteral("%1: channel %2: %3").arg(where, QString::number(problem.channel), problem.text));
    }
    return lines;
}

QString problemsSentence(const QString &fileName, const QVector<ChannelProblem> &problems, const QString &advice)
{
    const QString pronoun = problems.size() == 1 ? QStringLiteral("it") : QStringLiteral("them");
    return QStringLiteral("%1 has %2%3.")
        .arg(fileLabel(fileName), countOf(problems.size(), "problem", "problems"), QString(advice).arg(pronoun));
}

bool reportProblems(const QString &fileName, const QVector<ChannelProblem> &problems, const QString &advice)
{
    for (const QString &line : problemLines(fileName, problems))
        Console::out(line);
    if (problems.isEmpty())
        return false;
    Console::fail(problemsSentence(fileName, problems, advice));
    return true;
}
