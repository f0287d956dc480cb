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

// What the program gets besides its arguments: its standard input, and a
// file its standard output is redirected to (then `output` holds standard
// error alone).
struct ProgramStreams {
    QByteArray input;
    QString outputFile;
};

inline ProgramRun runProgram(const QString &program, const QStringList &arguments,
                             const QMap<QString, QString> &environment, int patience = 60000,
                             const ProgramStreams &streams = ProgramStreams())
{
    QProcess process;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (auto it = environment.cbegin(); it != environment.cend(); ++it)
        variables.insert(it.key(), it.value());
    process.setProcessEnvironment(variables);
    if (!streams.outputFile.isEmpty())
        process.setStandardOutputFile(streams.outputFile);
    process.start(program, arguments);
    process.write(streams.input);
    process.closeWriteChannel();
    ProgramRun run;
    if (process.waitForFinished(patience) && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    else
        process.kill();
    run.output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    return run;
}
