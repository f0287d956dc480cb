#pragma once

#include <QDateTime>
#include <QString>
#include <QUrl>

// Where OurAirports publishes airports.csv and airport-frequencies.csv, the
// address the two names are appended to.
constexpr char defaultOurAirportsAddress[] = "https://davidmegginson.github.io/ourairports-data/";
// The environment variable that overrides every other address (a mirror,
// or a test's own server).
constexpr char ourAirportsAddressVariable[] = "VKR_OURAIRPORTS_URL";
// The key of the address in the program's settings, read by the window
// and vkrtool alike.
constexpr char ourAirportsAddressSetting[] = "OurAirportsAddress";

// The address to download from: the environment variable when set, else
// `configured` (the setting) when not empty, else OurAirports' own. It
// ends in "/", so that the file names go after it.
QUrl ourAirportsAddress(const QString &configured = QString());

// OurAirports' two files as the program keeps them: in the folder
// "airfields" of its data folder (ProgramFolders::dataFolder()), with
// the time they were downloaded.
class AirfieldData
{
public:
    static constexpr char airportsName[] = "airports.csv";
    static constexpr char frequenciesName[] = "airport-frequencies.csv";

    explicit AirfieldData(const QString &dataFolder);

    QString folder() const;
    QString airportsPath() const;
    QString frequenciesPath() const;
    // Both files are there.
    bool isKept() const;
    // When they were downloaded; for files put there by other means, when
    // the airports file was last changed. Invalid when none are kept.
    QDateTime downloaded() const;
    // The local date of downloaded(), "2026-12-08" (the window says
    // "Airfield data of 2026-12-08"); empty when none are kept.
    QString dateText() const;

    // Records when the files were downloaded; false, with the system's
    // reason in `why` when given, when that cannot be written.
    bool noteDownloaded(const QDateTime &time, QString *why = nullptr) const;

private:
    QString stampFile() const;

    QString dataFolder;
};
