#pragma once

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

// Runs a program as the unprivileged user "nobody", for tests of what a
// user without rights sees (a folder or a port that refuses access). Under
// root, which may open anything, it goes through setpriv with every group
// and capability dropped; under any other user it runs as that user, who
// lacks the same rights. The program is copied into a temporary folder
// that anyone may enter, so that nobody can start it whatever the
// permissions of the folders above the build folder.
struct NobodyRun {
    bool finished = false; // started and ended normally, by its own exit
    int exitCode = -1;
    QByteArray output;     // standard output
    QByteArray errors;     // standard error
};

inline NobodyRun runAsNobody(const QString &program, const QStringList &arguments)
{
    NobodyRun run;
    QTemporaryDir folder;
    const QString copy = folder.filePath(QFileInfo(program).fileName());
    if (!folder.isValid() || chmod(QFile::encodeName(folder.path()).constData(), 0755) != 0
        || !QFile::copy(program, copy) || chmod(QFile::encodeName(copy).constData(), 0755) != 0)
        return run;

    QProcess process;
    process.setWorkingDirectory(folder.path());
    if (geteuid() == 0) {
        process.start(QStringLiteral("setpriv"),
                      QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups", "--inh-caps=-all", copy}
                          + arguments);
    } else {
        process.start(copy, arguments);
    }
    run.finished = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.output = process.readAllStandardOutput();
    run.errors = process.readAllStandardError();
    return run;
}
