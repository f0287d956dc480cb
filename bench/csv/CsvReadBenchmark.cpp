// Reading a large channel file with CsvTable::read, against `wc -l` on the
// same file in the same run (the cost of merely scanning the bytes for line
// ends). The benchmark makes its own files: 5 million lines (about 100 MB)
// and a tenth of that, so that the step from one to the other shows whether
// the reading time grows in proportion to the input. Each read runs in a
// child process of its own so that its peak memory can be measured alone.
//
// usage: bench-csv [lines] [runs]     (defaults: 5000000 lines, 3 runs)
#include "CsvTable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <vector>

namespace {

QTextStream out(stdout);

[[noreturn]] void failWith(const QString &message)
{
    QTextStream(stderr) << "bench-csv: " << message << "\n";
    std::exit(1);
}

// Peak resident memory of this process so far, in bytes.
qint64 peakMemory()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}

// Child mode: read the file once and report time, rows and memory.
int readOnce(const QString &fileName)
{
    const qint64 before = peakMemory();
    CsvTable table;
    QElapsedTimer clock;
    clock.start();
    if (!table.read(fileName))
        failWith("could not read " + fileName);
    const qint64 nanoseconds = clock.nsecsElapsed();
    std::printf("%lld %u %lld %lld\n", static_cast<long long>(nanoseconds), table.rowCount(),
                static_cast<long long>(before), static_cast<long long>(peakMemory()));
    return 0;
}

// A channel file of the given number of lines: mostly ASCII records, some
// with UTF-8 names and some from a Windows-1252 tool, blank lines and a
// third field here and there, as real files have.
QString makeFile(const QString &folder, qint64 lines)
{
    const QString fileName = folder + QStringLiteral("/channels-%1.csv").arg(lines);
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        failWith("cannot write " + fileName);
    QByteArray block;
    for (qint64 k = 0; k < lines; ++k) {
        const int kind = int(k % 20);
        const QByteArray frequency = QByteArray::number(118 + k % 19) + '.'
            + QByteArray::number(k % 40 * 25).rightJustified(3, '0');
        if (kind == 0)
            block += "K\xC3\x96LN" + QByteArray::number(k % 1000) + ';' + frequency + "\r\n";
        else if (kind == 1)
            block += "M\xDCNCHEN;" + frequency + "\r\n";
        else if (kind == 2)
            block += "\r\n";
        else if (kind == 3)
            block += "\"TWR " + QByteArray::number(k % 100) + "\";" + frequency + ";note\r\n";
        else
            block += "CH" + QByteArray::number(k) + ';' + frequency + "\r\n";
        if (block.size() > (1 << 20)) {
            file.write(block);
            block.clear();
        }
    }
    file.write(block);
    if (!file.flush())
        failWith("cannot write " + fileName);
    return fileName;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct ReadFigures {
    double seconds = 0;
    double bytesPerInputByte = 0;
    unsigned rows = 0;
};

ReadFigures readInChild(const QString &fileName, qint64 fileSize)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--read"), fileName});
    if (!child.waitForFinished(600000) || child.exitCode() != 0)
        failWith("reading child failed");
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 4)
        failWith("unexpected child output");
    ReadFigures figures;
    figures.seconds = fields.at(0).toLongLong() / 1e9;
    figures.rows = fields.at(1).toUInt();
    figures.bytesPerInputByte = double(fields.at(3).toLongLong() - fields.at(2).toLongLong()) / double(fileSize);
    return figures;
}

double countLines(const QString &fileName)
{
    QProcess wc;
    QElapsedTimer clock;
    clock.start();
    wc.start(QStringLiteral("wc"), {QStringLiteral("-l"), fileName});
    if (!wc.waitForFinished(600000) || wc.exitCode() != 0)
        failWith("wc -l failed");
    return clock.nsecsElapsed() / 1e9;
}

struct SizeFigures {
    qint64 lines = 0;
    qint64 bytes = 0;
    unsigned rows = 0;
    double readSeconds = 0;
    double wcSeconds = 0;
    double bytesPerInputByte = 0;
};

SizeFigures measure(const QString &folder, qint64 lines, int runs)
{
    SizeFigures figures;
    figures.lines = lines;
    const QString fileName = makeFile(folder, lines);
    figures.bytes = QFile(fileName).size();
    countLines(fileName); // the file is in the page cache for both from here on
    std::vector<double> readTimes, wcTimes, memory;
    for (int run = 0; run < runs; ++run) {
        wcTimes.push_back(countLines(fileName));
        const ReadFigures read = readInChild(fileName, figures.bytes);
        readTimes.push_back(read.seconds);
        memory.push_back(read.bytesPerInputByte);
        figures.rows = read.rows;
    }
    figures.readSeconds = median(readTimes);
    figures.wcSeconds = median(wcTimes);
    figures.bytesPerInputByte = median(memory);
    QFile::remove(fileName);
    return figures;
}

void report(const SizeFigures &figures)
{
    out << "  " << figures.lines << " lines, " << QString::number(figures.bytes / 1e6, 'f', 1) << " MB, "
        << figures.rows << " rows:\n"
        << "    CsvTable::read " << QString::number(figures.readSeconds * 1e3, 'f', 1) << " ms, wc -l "
        << QString::number(figures.wcSeconds * 1e3, 'f', 1) << " ms, ratio "
        << QString::number(figures.readSeconds / figures.wcSeconds, 'f', 2) << "\n"
        << "    peak memory of the read: " << QString::number(figures.bytesPerInputByte, 'f', 2)
        << " bytes per input byte\n";
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--read"))
        return readOnce(arguments.at(2));

    const qint64 lines = arguments.size() > 1 ? std::max(10LL, arguments.at(1).toLongLong()) : 5000000;
    const int runs = arguments.size() > 2 ? std::max(1, arguments.at(2).toInt()) : 3;
    QTemporaryDir folder;
    if (!folder.isValid())
        failWith("no temporary folder");

    out << "channel file loading, median of " << runs << " runs each\n";
    out.flush();
    const SizeFigures small = measure(folder.path(), lines / 10, runs);
    report(small);
    out.flush();
    const SizeFigures large = measure(folder.path(), lines, runs);
    report(large);
    out << "  10x the input: " << QString::number(large.readSeconds / small.readSeconds, 'f', 2)
        << "x the reading time (proportional: about 10), wc -l "
        << QString::number(large.wcSeconds / small.wcSeconds, 'f', 2) << "x\n";
    return 0;
}
