// Start-up time of the program (process start to its window shown with the
// 100-row channel table and the event loop idle) against a minimal Qt
// program showing an empty main window, both measured in the same run,
// alternating, so machine noise hits both alike.
//
// usage: bench-startup [runs]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

double runOnce(const QString &program, const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    process.start(program, QStringList());
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        QTextStream(stderr) << "bench-startup: " << program << " failed\n";
        std::exit(1);
    }
    return clock.nsecsElapsed() / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString(argv[1]).toInt()) : 21;
    const QString folder = QCoreApplication::applicationDirPath();
    const QString minimal = folder + "/bench-startup-minimal";
    const QString tool = folder + "/bench-startup-tool";

    QTemporaryDir settings;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains("DISPLAY") && !environment.contains("QT_QPA_PLATFORM"))
        environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", settings.path());
    environment.insert("VKR_SERIAL_PORTS", ""); // no port probing in the way

    runOnce(minimal, environment); // warm the file cache for both
    runOnce(tool, environment);
    std::vector<double> minimalTimes, toolTimes;
    for (int k = 0; k < runs; ++k) {
        minimalTimes.push_back(runOnce(minimal, environment));
        toolTimes.push_back(runOnce(tool, environment));
    }
    const double reference = median(minimalTimes);
    const double measured = median(toolTimes);
    QTextStream out(stdout);
    out << "start-up, median of " << runs << " runs each (platform "
        << environment.value("QT_QPA_PLATFORM", "xcb") << ")\n";
    out << "  minimal Qt program:  " << QString::number(reference, 'f', 1) << " ms\n";
    out << "  VKR Frequency Tool:  " << QString::number(measured, 'f', 1) << " ms\n";
    out << "  ratio:               " << QString::number(measured / reference, 'f', 2)
        << " (target at most 1.30)\n";
    return 0;
}
