#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Where a subcommand's result goes: a file (-o, or convert's OUT) or
// standard output ("-" or no name). Checked before any work is done, so
// that a missing folder is said at once rather than after a read of the
// radio, and written the one way every output is written.
class OutputTarget
{
public:
    explicit OutputTarget(const QString &fileName);

    bool isStandardOutput() const { return standardOutput; }
    const QString &fileName() const { return name; }

    // Before anything is read: the exit code (0 when it may go ahead), the
    // reason printed. An output that names one of the `inputs` is a usage
    // error; a folder that is missing or may not be written, a target that
    // is a folder, or a closed standard output cannot be used.
    int check(const QStringList &inputs = QStringList()) const;

    // Writes the whole result: complete or not at all for a regular file
    // (ChannelCsv::saveBytes), straight onto any other target (a device, a
    // FIFO). False, with the system's reason printed, when it fails.
    bool write(const QByteArray &bytes) const;

private:
    QString name;
    bool standardOutput;
};

// The first of the named files that may hold the run until another
// program acts at its other end (a FIFO, a device, a socket); empty when
// all are regular files or missing.
QString firstThatMayWait(const QStringList &fileNames);
