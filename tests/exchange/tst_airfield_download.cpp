// OurAirports' two files downloaded from a server of the test's own on
// 127.0.0.1: the data kept is replaced only by both files whole and read
// as the CSV expected; every failure, and a cancel, leaves the data kept
// before as it was, its date too, and says why.
#include "AirfieldDownload.h"
#include "FileContent.h"
#include "LocalHttpServer.h"
#include "TestMain.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(DownloadOutcome)

namespace {

const QByteArray airports = "\"id\",\"ident\",\"type\",\"name\",\"latitude_deg\",\"longitude_deg\"\n"
                            "1,\"EDDF\",\"large_airport\",\"Frankfurt, Main\",50.0333,8.5706\n";
const QByteArray frequencies = "\"id\",\"airport_ident\",\"type\",\"description\",\"frequency_mhz\"\n"
                               "1,\"EDDF\",\"TWR\",\"TOWER\",119.9\n";
const QByteArray oldAirports = "ident,type,name,latitude_deg,longitude_deg\nEDDS,medium_airport,Stuttgart,48.69,9.22\n";
const QByteArray oldFrequencies = "airport_ident,type,description,frequency_mhz\nEDDS,TWR,TOWER,118.8\n";
const QString airportsName = QStringLiteral("airports.csv");
const QString frequenciesName = QStringLiteral("airport-frequencies.csv");

QByteArray csv(const QByteArray &body)
{
    return LocalHttpServer::answer("200 OK", body);
}

} // namespace

class AirfieldDownloadTest : public QObject
{
    Q_OBJECT

private slots:
    void download_data();
    void download();
};

void AirfieldDownloadTest::download_data()
{
    QTest::addColumn<QByteArray>("airportsAnswer");    // empty: no answer, the test cancels
    QTest::addColumn<QByteArray>("frequenciesAnswer");
    QTest::addColumn<bool>("serverDown");
    QTest::addColumn<DownloadOutcome>("outcome");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason"); // a part of it

    QTest::newRow("complete") << csv(airports) << csv(frequencies) << false << DownloadOutcome::Done << QString()
                              << QString();
    QTest::newRow("cut short: fewer bytes than announced")
        << LocalHttpServer::answer("200 OK", airports).replace("Content-Length: 116", "Content-Length: 150")
        << csv(frequencies) << false << DownloadOutcome::CutShort << airportsName << "116 of the 150 bytes announced came";
    QTest::newRow("cut short: no length announced, the last record without its line end")
        << csv(airports) << LocalHttpServer::answer("200 OK", frequencies.chopped(4), "text/csv", false) << false
        << DownloadOutcome::CutShort << frequenciesName << "its last record has no line end";
    QTest::newRow("404 for the second file: the first is not kept either")
        << csv(airports) << LocalHttpServer::answer("404 Not Found", "<html>Not found</html>", "text/html") << false
        << DownloadOutcome::ServerRefused << frequenciesName << "the server answered 404 Not Found";
    QTest::newRow("an HTML page instead of CSV")
        << LocalHttpServer::answer("200 OK", "\n<!DOCTYPE html><html>Sign in to this network</html>", "text/html")
        << csv(frequencies) << false << DownloadOutcome::NotTheData << airportsName << "an HTML page came, not the CSV file";
    QTest::newRow("other columns") << csv(airports) << csv("name,frequency\nTOWER,118.1\n") << false
                                   << DownloadOutcome::NotTheData << frequenciesName
                                   << "no column \"airport_ident\", \"type\", \"frequency_mhz\", \"description\"";
    QTest::newRow("a header alone") << csv(airports) << csv(frequencies.left(frequencies.indexOf('\n') + 1)) << false
                                    << DownloadOutcome::NotTheData << frequenciesName << "it holds no record";
    QTest::newRow("no server") << QByteArray() << QByteArray() << true << DownloadOutcome::NoConnection << airportsName
                               << "refused";
    QTest::newRow("cancelled while the server is silent") << QByteArray() << QByteArray() << false
                                                          << DownloadOutcome::Cancelled << airportsName << "cancelled";
}

void AirfieldDownloadTest::download()
{
    QFETCH(QByteArray, airportsAnswer);
    QFETCH(QByteArray, frequenciesAnswer);
    QFETCH(bool, serverDown);
    QFETCH(DownloadOutcome, outcome);
    QFETCH(QString, file);
    QFETCH(QString, reason);
    QTemporaryDir dataFolder;
    const AirfieldData data(dataFolder.path());
    QVERIFY(QDir().mkpath(data.folder()));
    QVERIFY(writeContent(data.airportsPath(), oldAirports) && writeContent(data.frequenciesPath(), oldFrequencies));
    QVERIFY(data.noteDownloaded(QDateTime(QDate(2026, 1, 2), QTime(12, 0))));
    LocalHttpServer server;
    QVERIFY(server.isListening());
    server.answers.insert("/airports.csv", airportsAnswer);
    server.answers.insert("/airport-frequencies.csv", frequenciesAnswer);
    if (airportsAnswer.isEmpty())
        server.answers.clear();
    const QString address = server.address();
    if (serverDown)
        server.close();

    AirfieldDownload download(dataFolder.path(), QUrl(address));
    QSignalSpy finished(&download, &AirfieldDownload::finished);
    QSignalSpy progress(&download, &AirfieldDownload::progress);
    download.start();
    if (outcome == DownloadOutcome::Cancelled) {
        QTRY_VERIFY(server.requested.contains("/airports.csv"));
        download.cancel();
    }
    QVERIFY(finished.count() == 1 || finished.wait(30000));
    const DownloadResult result = finished.first().first().value<DownloadResult>();
    QVERIFY2(result.reason.contains(reason), qPrintable(result.reason));
    QCOMPARE(result.outcome, outcome);
    QCOMPARE(result.file, file);
    QVERIFY(!download.isRunning());
    const bool done = outcome == DownloadOutcome::Done;
    QCOMPARE(contentOf(data.airportsPath()), done ? airports : oldAirports);
    QCOMPARE(contentOf(data.frequenciesPath()), done ? frequencies : oldFrequencies);
    QCOMPARE(data.dateText(), done ? QDate::currentDate().toString(Qt::ISODate) : QStringLiteral("2026-01-02"));
    if (done)
        QCOMPARE(progress.last(), QVariantList({frequenciesName, qint64(frequencies.size()), qint64(frequencies.size())}));
    // No temporary file is left behind.
    QCOMPARE(QDir(data.folder()).entryList(QDir::Files).size(), 3);
}

VKR_TEST_MAIN(AirfieldDownloadTest)
#include "tst_airfield_download.moc"
