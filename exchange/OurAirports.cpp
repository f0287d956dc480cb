#include "OurAirports.h"

#include "NamedColumns.h"
#include "QtCompat.h"

namespace {

const ColumnNames airportColumns{{"ident", "latitude_deg", "longitude_deg"}, {"name"}};
enum AirportField { AirportIdent, Latitude, Longitude, AirportName };

const ColumnNames frequencyColumns{{"airport_ident", "type", "frequency_mhz"}, {"description"}};
enum FrequencyField { FrequencyIdent, Type, Megahertz, Description };

// Idents are compared without regard to case: the files hold a few in
// lower case ("lhkk").
QByteArray identOf(const QByteArray &field)
{
    return field.trimmed().toUpper();
}

} // namespace

namespace OurAirports {

ImportOutcome readAirports(QIODevice &device, const QString &fileName, const AirfieldFilter &keep,
                           QVector<Airfield> &airfields, QStringList &messages)
{
    const auto handleRecord = [&](qint64 recordNumber, const QVector<QByteArray> &fields) {
        bool latitudeRead = false;
        bool longitudeRead = false;
        const GeoPoint position{fields.at(Latitude).trimmed().toDouble(&latitudeRead),
                                fields.at(Longitude).trimmed().toDouble(&longitudeRead)};
        if (!latitudeRead || !longitudeRead) {
            messages << recordMessage(fileName, recordNumber, QStringLiteral("position is not a number, skipped"));
            return;
        }
        Airfield airfield{identOf(fields.at(AirportIdent)), QString(), 0};
        if (keep(airfield, position)) {
            airfield.name = QtCompat::utf8UpToZero(fields.at(AirportName));
            airfields.append(airfield);
        }
    };
    return readNamedColumns(device, fileName, airportColumns, handleRecord, messages);
}

ImportOutcome readFrequencies(QIODevice &device, const QString &fileName, const QSet<QByteArray> &idents,
                              FrequenciesByIdent &frequencies, QStringList &messages)
{
    const auto handleRecord = [&](qint64 recordNumber, const QVector<QByteArray> &fields) {
        const QByteArray ident = identOf(fields.at(FrequencyIdent));
        if (idents.contains(ident))
            frequencies[ident].append({recordNumber, fields.at(Type).trimmed().toUpper(), fields.at(Megahertz),
                                       fields.at(Description)});
    };
    return readNamedColumns(device, fileName, frequencyColumns, handleRecord, messages);
}

} // namespace OurAirports
