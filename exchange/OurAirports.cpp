#include "OurAirports.h"

#include "NamedColumns.h"
#include "QtCompat.h"

#include <charconv>

namespace {

const ColumnNames airportColumns{{"ident", "latitude_deg", "longitude_deg"}, {"name", "type"}};
enum AirportField { AirportIdent, Latitude, Longitude, AirportName, AirportType };

const ColumnNames frequencyColumns{{"airport_ident", "type", "frequency_mhz"}, {"description"}};
enum FrequencyField { FrequencyIdent, Type, Megahertz, Description };

// A decimal number in degrees, spaces around allowed. Read in place, as
// the standard library reads numbers, without a locale: every airport of a
// file passes here, so copies would show.
bool readDegrees(const QByteArray &field, double &degrees)
{
    const char *begin = field.constData();
    const char *end = begin + field.size();
    while (begin < end && *begin == ' ')
        ++begin;
    while (end > begin && end[-1] == ' ')
        --end;
    const std::from_chars_result read = std::from_chars(begin, end, degrees);
    return begin < end && read.ec == std::errc() && read.ptr == end;
}

// Idents are compared without regard to case: the files hold a few in
// lower case ("lhkk").
QByteArray identOf(const QByteArray &field)
{
    return field.trimmed().toUpper();
}

AirfieldKind kindOf(const QByteArray &type)
{
    const QByteArray name = type.trimmed().toLower();
    if (name == "closed")
        return AirfieldKind::Closed;
    if (name == "heliport")
        return AirfieldKind::Heliport;
    if (name == "seaplane_base")
        return AirfieldKind::SeaplaneBase;
    if (name == "balloonport")
        return AirfieldKind::BalloonPort;
    return AirfieldKind::Airport;
}

// The rows of the airfields in `idents`, or of every airfield without it.
ImportOutcome readFrequencyRows(QIODevice &device, const QString &fileName, const QSet<QByteArray> *idents,
                                FrequenciesByIdent &frequencies, QStringList &messages)
{
    const auto handleRecord = [&](qint64 recordNumber, const NamedFields &fields) {
        const QByteArray ident = identOf(fields.at(FrequencyIdent));
        if (!idents || idents->contains(ident))
            frequencies[ident].append({recordNumber, fields.at(Type).trimmed().toUpper(), fields.at(Megahertz),
                                       fields.at(Description)});
    };
    return readNamedColumns(device, fileName, frequencyColumns, handleRecord, messages);
}

} // namespace

namespace OurAirports {

ImportOutcome readAirports(QIODevice &device, const QString &fileName, const AirfieldFilter &keep,
                           QVector<Airfield> &airfields, QStringList &messages)
{
    const auto handleRecord = [&](qint64 recordNumber, const NamedFields &fields) {
        GeoPoint position;
        if (!readDegrees(fields.at(Latitude), position.latitude) || !readDegrees(fields.at(Longitude), position.longitude)) {
            messages << recordMessage(fileName, recordNumber, QStringLiteral("position is not a number, skipped"));
            return;
        }
        Airfield airfield;
        airfield.ident = identOf(fields.at(AirportIdent));
        airfield.kind = kindOf(fields.at(AirportType));
        airfield.position = position;
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
    return readFrequencyRows(device, fileName, &idents, frequencies, messages);
}

ImportOutcome readAllFrequencies(QIODevice &device, const QString &fileName, FrequenciesByIdent &frequencies,
                                 QStringList &messages)
{
    return readFrequencyRows(device, fileName, nullptr, frequencies, messages);
}

QByteArrayList airportsColumns()
{
    return airportColumns.required + airportColumns.optional;
}

QByteArrayList frequenciesColumns()
{
    return frequencyColumns.required + frequencyColumns.optional;
}

} // namespace OurAirports
