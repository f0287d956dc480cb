#pragma once

#include "GreatCircle.h"
#include "ImportResult.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>

#include <functional>

class QIODevice;

// The two tables of OurAirports' public-domain data that give channels:
// airports.csv (ident, name, type, latitude_deg, longitude_deg: where each
// airfield lies, what it is called, what kind it is) and airport-frequencies.csv
// (airport_ident, type, frequency_mhz: what it transmits on). Columns are
// found by header name; the files' other columns are ignored. Idents are
// taken in upper case, so that they match whatever their case.

// What an airfield is, by airports.csv's type: heliports, seaplane bases
// and balloon ports are searched only when asked for, closed airfields
// never; every other type (small_airport, medium_airport, large_airport)
// is an airport.
enum class AirfieldKind { Airport, Heliport, SeaplaneBase, BalloonPort, Closed };

struct Airfield {
    QByteArray ident;                         // "EDDF", in upper case
    QString name;                             // empty when the airports file was not read
    AirfieldKind kind = AirfieldKind::Airport; // an airport too when the file has no type column
    GeoPoint position;
    double distanceKm = 0;     // from the point searched around
    double bearingDegrees = 0; // from that point, true
};

struct AirfieldFrequency {
    qint64 recordNumber = 0; // in the frequencies file, for messages
    QByteArray type;         // "TWR", "ATIS", ..., in upper case
    QByteArray megahertz;    // as the file gives it: "121.65", "118.0083"
    QByteArray description;  // "LANGEN RADAR", may be empty
};

using FrequenciesByIdent = QHash<QByteArray, QVector<AirfieldFrequency>>;

// Decides whether an airfield is wanted (its ident, kind and position
// given), and may fill in its distance.
using AirfieldFilter = std::function<bool(Airfield &airfield, const GeoPoint &position)>;

namespace OurAirports {

// The airfields of an airports file that `keep` accepts, in file order.
// Records whose position is not a number are reported and skipped.
ImportOutcome readAirports(QIODevice &device, const QString &fileName, const AirfieldFilter &keep,
                           QVector<Airfield> &airfields, QStringList &messages);

// The frequencies of the airfields in `idents` (upper case), in file order, by ident;
// an ident of the set not in the file gets no entry.
ImportOutcome readFrequencies(QIODevice &device, const QString &fileName, const QSet<QByteArray> &idents,
                              FrequenciesByIdent &frequencies, QStringList &messages);
// The same for every airfield of the file: cheaper than a set of them all.
ImportOutcome readAllFrequencies(QIODevice &device, const QString &fileName, FrequenciesByIdent &frequencies,
                                 QStringList &messages);

// Every column the two readers look at, required or not: a file that
// lacks one is not the one OurAirports publishes.
QByteArrayList airportsColumns();
QByteArrayList frequenciesColumns();

} // namespace OurAirports
