#include "KeptAirfieldData.h"

#include "AirfieldDownload.h"
#include "Console.h"
#include "ExitCodes.h"
#include "Interrupt.h"
#include "ProgramFolders.h"

#include <QEventLoop>
#include <QSettings>
#include <QTimer>

#include <cstdio>

namespace {

// How often a download looks whether Ctrl+C came.
constexpr int interruptPollMilliseconds = 100;
constexpr double bytesPerMegabyte = 1 << 20;

QString megabytes(qint64 bytes)
{
    return QString::number(double(bytes) / bytesPerMegabyte, 'f', 1);
}

void showProgress(const QString &file, qint64 received, qint64 total)
{
    const QString amount = total > 0 ? QStringLiteral("%1 of %2 MB").arg(megabytes(received), megabytes(total))
                                     : QStringLiteral("%1 MB").arg(megabytes(received));
    std::fputs(QStringLiteral("\r\033[Kdownloading %1: %2").arg(file, amount).toUtf8().constData(), stderr);
    std::fflush(stderr);
}

} // namespace

namespace KeptAirfieldData {

QString dataFolder()
{
    return ProgramFolders::dataFolder();
}

int download()
{
    const QSettings settings{QLatin1String(ProgramFolders::organisation), QLatin1String(ProgramFolders::application)};
    const QUrl address = ourAirportsAddress(settings.value(QLatin1String(ourAirportsAddressSetting)).toString());
    AirfieldDownload fetch(dataFolder(), address);
    DownloadResult result;
    QEventLoop loop;
    QObject::connect(&fetch, &AirfieldDownload::finished, &loop, [&](const DownloadResult &ended) {
        result = ended;
        loop.quit();
    });
    const bool terminal = Console::errorIsTerminal();
    if (terminal)
        QObject::connect(&fetch, &AirfieldDownload::progress, &loop, showProgress);
    QTimer interruptPoll;
    QObject::connect(&interruptPoll, &QTimer::timeout, &fetch, [&fetch] {
        if (Interrupt::requested())
            fetch.cancel();
    });
    interruptPoll.start(interruptPollMilliseconds);
    fetch.start();
    if (fetch.isRunning())
        loop.exec();
    if (terminal)
        std::fputs("\r\033[K", stderr);

    const AirfieldData data(dataFolder());
    if (result.outcome == DownloadOutcome::Done) {
        Console::err(QStringLiteral("vkrtool: airfield data of %1 downloaded into %2").arg(data.dateText(), data.folder()));
        return ExitCode::success;
    }
    const QString kept = data.isKept()
        ? QStringLiteral("the airfield data of %1 stays in use").arg(data.dateText())
        : QStringLiteral("no airfield data is kept: name OurAirports' files with --frequencies and --airports");
    Console::fail(QStringLiteral("could not download %1 from %2: %3; %4.")
                      .arg(result.file, address.toDisplayString(), result.reason, kept));
    return result.outcome == DownloadOutcome::Cancelled ? Interrupt::exitCode() : ExitCode::cannotUse;
}

} // namespace KeptAirfieldData
