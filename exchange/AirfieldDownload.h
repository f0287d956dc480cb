#pragma once

#include "AirfieldData.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// How a download of the airfield data ended. In every case but Done the
// files kept before stay as they were.
enum class DownloadOutcome {
    Done,
    Cancelled,
    NoConnection, // no network, the server not found, not answering or its TLS refused
    ServerRefused, // the server answered with an error: 404 Not Found
    NotTheData,   // not OurAirports' CSV: an HTML page, other columns, no record
    CutShort,     // fewer bytes than announced, or a last record without its line end
    NotSaved,     // the data folder did not take the files
};

struct DownloadResult {
    DownloadOutcome outcome = DownloadOutcome::Done;
    QString file;   // the file it ended with: "airports.csv"
    QString reason; // why, in one clause: "the server answered 404 Not Found"
};

// Downloads OurAirports' airports.csv and airport-frequencies.csv from an
// address (ourAirportsAddress()), one after the other, into the data kept
// in a data folder (AirfieldData). Each file is held until it has come
// whole and reads as the CSV expected (its columns, at least one record,
// a line end after the last); only when both have are they saved, each
// under a temporary name renamed over the old one, and the date noted.
// Widget-free: the caller shows progress and offers Cancel.
class AirfieldDownload : public QObject
{
    Q_OBJECT
public:
    AirfieldDownload(const QString &dataFolder, const QUrl &address, QObject *parent = nullptr);
    ~AirfieldDownload() override;

    // Starts the download and returns; finished() follows.
    void start();
    // Stops a download under way; finished() with Cancelled follows, maybe
    // before this returns.
    void cancel();
    bool isRunning() const;

signals:
    // Bytes of `file` received so far, of `total` (-1 while not known).
    void progress(const QString &file, qint64 received, qint64 total);
    void finished(const DownloadResult &result);

private:
    void fetch(int index);
    void replyFinished(QNetworkReply *reply);
    DownloadResult save();
    void end(const DownloadResult &result);

    AirfieldData data;
    QUrl address;
    QNetworkAccessManager *network;
    QPointer<QNetworkReply> reply;
    QByteArray bodies[2];
    bool cancelled = false;
};

Q_DECLARE_METATYPE(DownloadResult)
