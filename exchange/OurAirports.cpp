#include "OurAirports.h"

#include "NamedColumns.h"
#include "QtCompat.h"

#include <charconv>

namespace {

const ColumnNames airportColumns{{"ident", "latitude_deg", "longitude_deg"}, {"name", "type"}};
enum AirportField { AirportIdent, Latitude, Longitude, AirportName, AirportType };

const ColumnNames frequencyColumns{{"airport_ident", "type", "frequency_mhz"}, {"description"}};
enum FrequencyField { FrequencyIdent, Type, Megahertz, Description };

// A field without the characters `around` at either end.
std::string_view trimmed(std::string_view field, std::string_view around)
{
    const size_t first = field.find_first_not_of(around);
    if (first == std::string_view::npos)
        return {};
    return field.substr(first, field.find_last_not_of(around) - first + 1);
}

// A decimal number in degrees, spaces around allowed. Read in place, as
// the standard library reads numbers, without a locale: every airport of a
// file passes here, so copies would show.
bool readDegrees(std::string_view field, double &degrees)
{
    field = trimmed(field, " ");
    const char *end = field.data() + field.size();
    const std::from_chars_result read = std::from_chars(field.data(), end, degrees);
    return !field.empty() && read.ec == std::errc() && read.ptr == end;
}

// Idents are compared without regard to case: the files hold a few in
// lower case ("lhkk").
QByteArray identOf(const QByteArray &field)
{
    return field.trimmed().toUpper();
}

// Compared in place, without regard to case: every airport of a file passes
// here, so a lowered copy of each type would show.
AirfieldKind kindOf(std::string_view type)
{
    type = trimmed(type, " \t\n\v\f\r");
    const auto is = [type](std::string_view kind) {
        return type.size() == kind.size() && qstrnicmp(type.data(), kind.data(), uint(kind.size())) == 0;
    };
    if (is("closed"))
        return AirfieldKind::Closed;
    if (is("heliport"))
        return AirfieldKind::Heliport;
    if (is("seaplane_base"))
        return AirfieldKind::SeaplaneBase;
    if (is("balloonport"))
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
        if (!readDegrees(fields.peek(Latitude), position.latitude)
            || !readDegrees(fields.peek(Longitude), position.longitude)) {
            messages << recordMessage(fileName, recordNumber, QStringLiteral("position is not a number, skipped"));
            return;
        }
        Airfield airfield;
        airfield.ident = identOf(fields.at(AirportIdent));
        airfield.kind = kindOf(fields.peek(AirportType));
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
