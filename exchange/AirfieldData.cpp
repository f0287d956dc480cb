#include "AirfieldData.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr char subfolder[] = "/airfields";
// Holds the time of the last download, ISO 8601 in UTC.
constexpr char stampName[] = "downloaded";

} // namespace

QUrl ourAirportsAddress(const QString &configured)
{
    QString address = qEnvironmentVariable(ourAirportsAddressVariable);
    if (address.isEmpty())
        address = configured.trimmed();
    if (address.isEmpty())
        address = QLatin1String(defaultOurAirportsAddress);
    if (!address.endsWith(QLatin1Char('/')))
        address += QLatin1Char('/');
    return QUrl(address);
}

AirfieldData::AirfieldData(const QString &dataFolder)
    : dataFolder(dataFolder)
{
}

QString AirfieldData::folder() const
{
    return dataFolder + QLatin1String(subfolder);
}

QString AirfieldData::airportsPath() const
{
    return folder() + QLatin1Char('/') + QLatin1String(airportsName);
}

QString AirfieldData::frequenciesPath() const
{
    return folder() + QLatin1Char('/') + QLatin1String(frequenciesName);
}

QString AirfieldData::stampFile() const
{
    return folder() + QLatin1Char('/') + QLatin1String(stampName);
}

bool AirfieldData::isKept() const
{
    return QFileInfo(airportsPath()).isFile() && QFileInfo(frequenciesPath()).isFile();
}

QDateTime AirfieldData::downloaded() const
{
    if (!isKept())
        return QDateTime();
    QFile stamp(stampFile());
    if (stamp.open(QIODevice::ReadOnly)) {
        const QDateTime time = QDateTime::fromString(QString::fromLatin1(stamp.readAll().trimmed()), Qt::ISODate);
        if (time.isValid())
            return time;
    }
    return QFileInfo(airportsPath()).lastModified();
}

QString AirfieldData::dateText() const
{
    const QDateTime time = downloaded();
    return time.isValid() ? time.toLocalTime().date().toString(Qt::ISODate) : QString();
}

bool AirfieldData::noteDownloaded(const QDateTime &time, QString *why) const
{
    QSaveFile stamp(stampFile());
    const QByteArray text = time.toUTC().toString(Qt::ISODate).toLatin1() + '\n';
    if (stamp.open(QIODevice::WriteOnly) && stamp.write(text) == text.size() && stamp.commit())
        return true;
    if (why)
        *why = stamp.errorString();
    return false;
}
