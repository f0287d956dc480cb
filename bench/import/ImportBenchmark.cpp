// Channels for every airfield within a radius (`vkrtool airfields --near`)
// from OurAirports files of the real files' size, made by the benchmark:
// 80,000 airports with all of airports.csv's columns and its quoting, and
// 30,000 frequency rows. Timed as a whole process each, with its peak
// memory, against `wc -l` of the same two files in the same run. The
// process is `vkrtool` when it has been built (cli/vkrtool in this build
// folder, or the program given with --vkrtool), and this benchmark calling
// the library's entry function (importAirfields) in every case.
//
// usage: bench-import [runs] [--vkrtool PROGRAM]     (default: 5 runs)
#include "AirfieldChannels.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int airportCount = 80000;
constexpr int frequencyRowCount = 30000;
// Three airports in eight have frequencies: 30,000 rows for 80,000.
constexpr int airportsWithFrequencies = 3;
constexpr int airportCycle = 8;
constexpr int defaultRuns = 5;
constexpr quint32 seed = 627;
// Frankfurt, and a radius that finds a few hundred airfields in the
// generated files, more than the 100 channels written.
const char nearPoint[] = "50.0,8.6";
constexpr double radiusKm = 800;
constexpr int writeBlockSize = 1 << 20;

QTextStream out(stdout);

[[noreturn]] void failWith(const QString &message)
{
    QTextStream(stderr) << "bench-import: " << message << "\n";
    std::exit(1);
}

class BlockWriter
{
public:
    explicit BlockWriter(const QString &fileName)
        : file(fileName)
    {
        if (!file.open(QIODevice::WriteOnly))
            failWith("cannot write " + fileName);
    }
    ~BlockWriter()
    {
        file.write(block);
        if (!file.flush())
            failWith("cannot write " + file.fileName());
    }
    void add(const QByteArray &line)
    {
        block += line;
        if (block.size() > writeBlockSize) {
            file.write(block);
            block.clear();
        }
    }

private:
    QFile file;
    QByteArray block;
};

QByteArray identOf(int airport)
{
    return 'X' + QByteArray::number(airport, 36).toUpper().rightJustified(4, '0');
}

QByteArray degrees(double value)
{
    return QByteArray::number(value, 'f', 6);
}

// airports.csv's columns and quoting: text quoted, numbers not, some names
// with commas and quotes, empty fields.
void makeAirports(const QString &fileName, QRandomGenerator &random)
{
    BlockWriter writer(fileName);
    writer.add("\"id\",\"ident\",\"type\",\"name\",\"latitude_deg\",\"longitude_deg\",\"elevation_ft\",\"continent\","
               "\"iso_country\",\"iso_region\",\"municipality\",\"scheduled_service\",\"gps_code\",\"iata_code\","
               "\"local_code\",\"home_link\",\"wikipedia_link\",\"keywords\"\n");
    for (int k = 0; k < airportCount; ++k) {
        const QByteArray ident = identOf(k);
        const QByteArray name = k % 10 == 0 ? "Field \"\"" + QByteArray::number(k) + "\"\", North"
                                            : "Airfield " + QByteArray::number(k);
        const double latitude = random.bounded(130.0) - 60;
        const double longitude = random.bounded(360.0) - 180;
        writer.add(QByteArray::number(k + 1) + ",\"" + ident + "\",\"small_airport\",\"" + name + "\"," + degrees(latitude)
                   + ',' + degrees(longitude) + ',' + QByteArray::number(random.bounded(3000)) + ",\"EU\",\"DE\",\"DE-HE\","
                   + "\"Town " + QByteArray::number(k % 977) + "\",\"no\",\"" + ident + "\",,\"" + ident
                   + "\",\"https://example.org/" + ident + "\",\"https://en.wikipedia.org/wiki/" + ident
                   + "\",\"strip, grass\"\n");
    }
}

// airport-frequencies.csv: designators, 8.33 kHz true frequencies, and a
// UHF value now and then.
void makeFrequencies(const QString &fileName)
{
    static const QByteArrayList types{"TWR", "GND", "ATIS", "APP", "CTAF", "UNIC"};
    static const QByteArrayList values{"118.1", "121.65", "118.0083", "122.805", "243", "119.0167", "129.975"};
    BlockWriter writer(fileName);
    writer.add("\"id\",\"airport_ref\",\"airport_ident\",\"type\",\"description\",\"frequency_mhz\"\n");
    for (int row = 0; row < frequencyRowCount; ++row) {
        const int airport = row / airportsWithFrequencies * airportCycle + row % airportsWithFrequencies;
        const QByteArray type = types.at(row % types.size());
        writer.add(QByteArray::number(row + 1) + ',' + QByteArray::number(airport + 1) + ",\"" + identOf(airport) + "\",\""
                   + type + "\",\"" + type + ", main\"," + values.at(row % values.size()) + '\n');
    }
}

// Child mode: the library's entry function, as vkrtool calls it.
int selectOnce(const QStringList &arguments)
{
    AirfieldOptions options;
    options.frequenciesFile = arguments.at(0);
    options.airportsFile = arguments.at(1);
    options.outputFile = arguments.at(2);
    options.near = parseGeoPoint(QString::fromLatin1(nearPoint));
    options.radiusKm = radiusKm;
    return int(importAirfields(options).outcome);
}

struct Measured {
    double seconds = 0;
    double peakMegabytes = 0;
};

// Runs a program to its end with its output discarded; its wall time and
// peak resident memory.
Measured runProgram(const QStringList &command)
{
    std::vector<QByteArray> words;
    for (const QString &word : command)
        words.push_back(QFile::encodeName(word));
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    QElapsedTimer clock;
    clock.start();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child)
        failWith("cannot run " + command.first());
    Measured measured{clock.nsecsElapsed() / 1e9, usage.ru_maxrss / 1024.0};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        failWith(command.join(' ') + " failed");
    return measured;
}

Measured median(std::vector<Measured> runs)
{
    const auto bySeconds = [](const Measured &a, const Measured &b) { return a.seconds < b.seconds; };
    std::sort(runs.begin(), runs.end(), bySeconds);
    return runs[runs.size() / 2];
}

void report(const QString &what, const Measured &measured, const Measured &reference)
{
    out << "  " << what.leftJustified(34) << QString::number(measured.seconds * 1e3, 'f', 1) << " ms, "
        << QString::number(measured.peakMegabytes, 'f', 1) << " MB peak";
    if (&measured != &reference)
        out << "; " << QString::number(measured.seconds / reference.seconds, 'f', 1) << "x the time, "
            << QString::number(measured.peakMegabytes / reference.peakMegabytes, 'f', 1) << "x the memory of wc -l";
    out << "\n";
    out.flush();
}

QByteArray contentOf(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QStringList arguments = application.arguments();
    if (arguments.size() == 5 && arguments.at(1) == QLatin1String("--select"))
        return selectOnce(arguments.mid(2));

    QString vkrtool = application.applicationDirPath() + QStringLiteral("/../../cli/vkrtool");
    const int vkrtoolOption = arguments.indexOf(QStringLiteral("--vkrtool"));
    if (vkrtoolOption > 0) {
        vkrtool = arguments.value(vkrtoolOption + 1);
        arguments.erase(arguments.begin() + vkrtoolOption, arguments.begin() + qMin(vkrtoolOption + 2, int(arguments.size())));
    }
    const bool withVkrtool = QFileInfo(vkrtool).isExecutable();
    const int runs = arguments.size() > 1 ? std::max(1, arguments.at(1).toInt()) : defaultRuns;

    QTemporaryDir folder;
    if (!folder.isValid())
        failWith("no temporary folder");
    const QString airports = folder.filePath(QStringLiteral("airports.csv"));
    const QString frequencies = folder.filePath(QStringLiteral("airport-frequencies.csv"));
    const QString fromLibrary = folder.filePath(QStringLiteral("library.csv"));
    const QString fromVkrtool = folder.filePath(QStringLiteral("vkrtool.csv"));
    QRandomGenerator random(seed);
    makeAirports(airports, random);
    makeFrequencies(frequencies);

    const QStringList wc{QStringLiteral("wc"), QStringLiteral("-l"), airports, frequencies};
    const QStringList library{application.applicationFilePath(), QStringLiteral("--select"), frequencies, airports,
                              fromLibrary};
    const QStringList tool{vkrtool, QStringLiteral("airfields"), QStringLiteral("--frequencies"), frequencies,
                           QStringLiteral("--airports"), airports, QStringLiteral("-o"), fromVkrtool,
                           QStringLiteral("--near"), QString::fromLatin1(nearPoint), QStringLiteral("--radius-km"),
                           QString::number(radiusKm)};
    runProgram(wc); // both files in the page cache from here on
    std::vector<Measured> wcRuns, libraryRuns, toolRuns;
    for (int run = 0; run < runs; ++run) {
        wcRuns.push_back(runProgram(wc));
        libraryRuns.push_back(runProgram(library));
        if (withVkrtool)
            toolRuns.push_back(runProgram(tool));
    }

    const int channels = int(contentOf(fromLibrary).count('\n'));
    out << "airfields --near " << nearPoint << " --radius-km " << radiusKm << " over " << airportCount << " airports ("
        << QString::number(QFileInfo(airports).size() / 1e6, 'f', 1) << " MB) and " << frequencyRowCount
        << " frequency rows (" << QString::number(QFileInfo(frequencies).size() / 1e6, 'f', 1) << " MB): "
        << channels << " channels; median of " << runs << " runs, each a whole process\n";
    const Measured reference = median(wcRuns);
    report(QStringLiteral("wc -l of both files"), reference, reference);
    report(QStringLiteral("importAirfields (library)"), median(libraryRuns), reference);
    if (withVkrtool) {
        report(QStringLiteral("vkrtool airfields --near"), median(toolRuns), reference);
        if (contentOf(fromVkrtool) != contentOf(fromLibrary))
            failWith("vkrtool and the library wrote different channel files");
    } else {
        out << "  (no vkrtool at " << QFileInfo(vkrtool).absoluteFilePath() << ": the library alone)\n";
    }
    return 0;
}
