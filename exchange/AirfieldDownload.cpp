#include "AirfieldDownload.h"

#include "CsvReader.h"
#include "NamedColumns.h"
#include "OurAirports.h"

#include <QBuffer>
#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>

namespace {

constexpr int fileCount = 2;
const char *const fileNames[fileCount] = {AirfieldData::airportsName, AirfieldData::frequenciesName};
// A server that sends nothing for this long is taken for none.
constexpr int silenceMilliseconds = 30000;
// Many times what either file holds: a body beyond it is something else.
constexpr qint64 largestBody = qint64(200) << 20;
constexpr int firstHttpError = 400;

QByteArrayList columnsOf(int file)
{
    return file == 0 ? OurAirports::airportsColumns() : OurAirports::frequenciesColumns();
}

QString quotedNames(const QByteArrayList &names)
{
    QStringList quoted;
    for (const QByteArray &name : names)
        quoted << QLatin1Char('"') + QString::fromLatin1(name) + QLatin1Char('"');
    return quoted.join(QStringLiteral(", "));
}

// Why a body is not the file expected; empty when it is.
DownloadResult checkBody(QByteArray &body, const QByteArrayList &columns)
{
    if (body.trimmed().startsWith('<'))
        return {DownloadOutcome::NotTheData, QString(), QStringLiteral("an HTML page came, not the CSV file")};
    QBuffer device(&body);
    device.open(QIODevice::ReadOnly);
    QByteArrayList missing;
    qint64 records = 0;
    bool lastLineEnd = true;
    CsvReader::read(device, [&](const CsvRecord &record) {
        if (record.number() > 1) {
            ++records;
            lastLineEnd = record.endsInLineEnd();
            return true;
        }
        for (const QByteArray &column : columns) {
            if (findColumn(record, column) < 0)
                missing << column;
        }
        return missing.isEmpty();
    });
    if (!missing.isEmpty() || body.isEmpty())
        return {DownloadOutcome::NotTheData, QString(),
                QStringLiteral("it is not the CSV file expected: no column %1").arg(quotedNames(missing.isEmpty() ? columns : missing))};
    if (records == 0)
        return {DownloadOutcome::NotTheData, QString(), QStringLiteral("it holds no record")};
    if (!lastLineEnd)
        return {DownloadOutcome::CutShort, QString(), QStringLiteral("its last record has no line end")};
    return {};
}

} // namespace

AirfieldDownload::AirfieldDownload(const QString &dataFolder, const QUrl &address, QObject *parent)
    : QObject(parent)
    , data(dataFolder)
    , address(address)
    , network(new QNetworkAccessManager(this))
{
    qRegisterMetaType<DownloadResult>();
}

AirfieldDownload::~AirfieldDownload()
{
    if (reply) {
        reply->disconnect(this);
        reply->abort();
    }
}

void AirfieldDownload::start()
{
    if (isRunning())
        return;
    cancelled = false;
    fetch(0);
}

void AirfieldDownload::cancel()
{
    if (!reply)
        return;
    cancelled = true;
    reply->abort();
}

bool AirfieldDownload::isRunning() const
{
    return !reply.isNull();
}

void AirfieldDownload::fetch(int file)
{
    const QString name = QLatin1String(fileNames[file]);
    QNetworkRequest request(address.resolved(QUrl(name)));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(silenceMilliseconds);
    bodies[file].clear();
    reply = network->get(request);
    reply->setProperty("file", file);
    connect(reply, &QNetworkReply::downloadProgress, this,
            [this, name](qint64 received, qint64 total) { emit progress(name, received, total); });
    connect(reply, &QNetworkReply::readyRead, this, [this, file] {
        bodies[file] += reply->readAll();
        if (bodies[file].size() > largestBody)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this] { replyFinished(reply); });
}

void AirfieldDownload::replyFinished(QNetworkReply *done)
{
    done->deleteLater();
    const int file = done->property("file").toInt();
    const QString name = QLatin1String(fileNames[file]);
    QByteArray &body = bodies[file];
    body += done->readAll();
    const auto failed = [&](DownloadOutcome outcome, const QString &reason) { end({outcome, name, reason}); };
    const int status = done->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant length = done->header(QNetworkRequest::ContentLengthHeader);
    if (cancelled)
        return failed(DownloadOutcome::Cancelled, QStringLiteral("the download was cancelled"));
    if (body.size() > largestBody)
        return failed(DownloadOutcome::NotTheData, QStringLiteral("it is larger than %1 MB").arg(largestBody >> 20));
    if (status >= firstHttpError)
        return failed(DownloadOutcome::ServerRefused,
                      QStringLiteral("the server answered %1 %2")
                          .arg(status)
                          .arg(done->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()));
    if (done->error() == QNetworkReply::OperationCanceledError)
        return failed(DownloadOutcome::NoConnection, QStringLiteral("nothing came for %1 s").arg(silenceMilliseconds / 1000));
    // A length was announced: what came of it, however the connection ended
    // (Qt tells a server that closed early either way).
    const bool announcedMore = length.isValid() && length.toLongLong() != body.size();
    if (announcedMore && (done->error() == QNetworkReply::NoError || done->error() == QNetworkReply::RemoteHostClosedError))
        return failed(DownloadOutcome::CutShort,
                      QStringLiteral("%1 of the %2 bytes announced came").arg(body.size()).arg(length.toLongLong()));
    if (done->error() == QNetworkReply::RemoteHostClosedError && !body.isEmpty())
        return failed(DownloadOutcome::CutShort, QStringLiteral("the connection ended after %1 bytes").arg(body.size()));
    if (done->error() != QNetworkReply::NoError)
        return failed(DownloadOutcome::NoConnection, done->errorString());
    const DownloadResult check = checkBody(body, columnsOf(file));
    if (check.outcome != DownloadOutcome::Done)
        return failed(check.outcome, check.reason);
    if (file + 1 < fileCount)
        return fetch(file + 1);
    reply = nullptr;
    end(save());
}

// Both files written under temporary names first, then renamed over the
// old ones: a disk that fills up leaves the old pair.
DownloadResult AirfieldDownload::save()
{
    const auto notSaved = [this](const QString &name, const QString &why) {
        return DownloadResult{DownloadOutcome::NotSaved, name,
                              QStringLiteral("it could not be saved in %1: %2").arg(data.folder(), why)};
    };
    if (!QDir().mkpath(data.folder()))
        return notSaved(QString(), QStringLiteral("the folder could not be made"));
    QSaveFile airports(data.airportsPath());
    QSaveFile frequencies(data.frequenciesPath());
    QSaveFile *const files[fileCount] = {&airports, &frequencies};
    for (int k = 0; k < fileCount; ++k) {
        // The explicit flush: commit() would not notice a last flush that
        // failed, and put a truncated file in place.
        if (!files[k]->open(QIODevice::WriteOnly) || files[k]->write(bodies[k]) != bodies[k].size() || !files[k]->flush())
            return notSaved(QLatin1String(fileNames[k]), files[k]->errorString());
    }
    for (int k = 0; k < fileCount; ++k) {
        if (!files[k]->commit())
            return notSaved(QLatin1String(fileNames[k]), files[k]->errorString());
    }
    QString why;
    if (!data.noteDownloaded(QDateTime::currentDateTime(), &why))
        return notSaved(QString(), why);
    return {};
}

void AirfieldDownload::end(const DownloadResult &result)
{
    reply = nullptr;
    for (QByteArray &body : bodies)
        body.clear();
    emit finished(result);
}
