#pragma once

#include "GreatCircle.h"
#include "ImportResult.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>

#include <functional>

class QIODevice;

// The two tables of OurAirports' public-domain data that give channels:
// airports.csv (ident, name, latitude_deg, longitude_deg: where each
// airfield lies, what it is called) and airport-frequencies.csv
// (airport_ident, type, frequency_mhz: what it transmits on). Columns are
// found by header name; the files' other columns are ignored. Idents are
// taken in upper case, so that they match whatever their case.

struct Airfield {
    QByteArray ident;      // "EDDF", in upper case
    QString name;          // empty when the airports file was not read
    double distanceKm = 0; // from the point searched around
};

struct AirfieldFrequency {
    qint64 recordNumber = 0; // in the frequencies file, for messages
    QByteArray type;         // "TWR", "ATIS", ..., in upper case
    QByteArray megahertz;    // as the file gives it: "121.65", "118.0083"
    QByteArray description;  // "LANGEN RADAR", may be empty
};

using FrequenciesByIdent = QHash<QByteArray, QVector<AirfieldFrequency>>;

// Decides whether an airfield is wanted, and may fill in its distance.
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

} // namespace OurAirports
