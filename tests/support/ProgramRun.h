#pragma once

#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

// A program run to its end, as a user runs it, with some environment
// variables of the caller's choosing; what it printed, both streams joined.
struct ProgramRun {
    int exitCode = -1; // -1 when it crashed or outlived its time
    QString output;
};

inline ProgramRun runProgram(const QString &program, const QStringList &arguments,
                             const QMap<QString, QString> &environment, int patience = 60000)
{
    QProcess process;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (auto it = environment.cbegin(); it != environment.cend(); ++it)
        variables.insert(it.key(), it.value());
    process.setProcessEnvironment(variables);
    process.start(program, arguments);
    ProgramRun run;
    if (process.waitForFinished(patience) && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    else
        process.kill();
    run.output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    return run;
}
