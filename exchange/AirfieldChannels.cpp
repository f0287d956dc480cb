#include "AirfieldChannels.h"

#include "ImportFiles.h"
#include "NamedColumns.h"
#include "OurAirports.h"
#include "QtCompat.h"
#include "UniqueNames.h"

#include <QFile>

#include <algorithm>

namespace {

QString usageProblem(const AirfieldOptions &options)
{
    if (options.idents.isEmpty() == !options.near)
        return QStringLiteral("name the airfields or give --near, one of the two");
    if (options.near && options.airportsFile.isEmpty())
        return QStringLiteral("--near needs --airports");
    if (options.near && !isOnGlobe(*options.near))
        return QStringLiteral("--near: latitude -90 to 90, longitude -180 to 180");
    if (!(options.radiusKm >= 0))
        return QStringLiteral("--radius-km must be 0 or more");
    if (options.maxChannels < 1 || options.maxChannels > ChannelRules::largestMemory)
        return QStringLiteral("--channels must be 1 to %1").arg(ChannelRules::largestMemory);
    return QString();
}

QByteArrayList distinctUpperCase(const QStringList &texts)
{
    QByteArrayList upper;
    for (const QString &text : texts) {
        const QByteArray item = text.trimmed().toUpper().toUtf8();
        if (!upper.contains(item))
            upper << item;
    }
    return upper;
}

// The airfields whose channels are wanted, in channel order: as named
// (with their names when the airports file is given), or those within the
// radius, nearest first.
bool findAirfields(const AirfieldOptions &options, QVector<Airfield> &airfields, ImportResult &result)
{
    const QByteArrayList named = distinctUpperCase(options.idents);
    for (const QByteArray &ident : named)
        airfields.append({ident, QString(), 0});
    if (options.airportsFile.isEmpty())
        return true;
    QFile file(options.airportsFile);
    if (!openInput(file, result))
        return false;
    const auto keep = [&](Airfield &airfield, const GeoPoint &position) {
        if (!options.near)
            return named.contains(airfield.ident);
        airfield.distanceKm = greatCircleKm(*options.near, position);
        return airfield.distanceKm <= options.radiusKm;
    };
    QVector<Airfield> found;
    result.outcome = OurAirports::readAirports(file, options.airportsFile, keep, found, result.messages);
    if (options.near) {
        const auto nearer = [](const Airfield &a, const Airfield &b) { return a.distanceKm < b.distanceKm; };
        std::stable_sort(found.begin(), found.end(), nearer);
        airfields = found;
    } else {
        for (Airfield &airfield : airfields) {
            const auto same = [&airfield](const Airfield &other) { return other.ident == airfield.ident; };
            const auto match = std::find_if(found.cbegin(), found.cend(), same);
            airfield.name = match == found.cend() ? QString() : match->name;
        }
    }
    return result.outcome == ImportOutcome::Done;
}

// An airfield's frequencies of the given types in that order, or all of
// them in file order when no type is given.
QVector<AirfieldFrequency> inTypeOrder(const QVector<AirfieldFrequency> &frequencies, const QByteArrayList &types)
{
    if (types.isEmpty())
        return frequencies;
    QVector<AirfieldFrequency> ordered;
    for (const QByteArray &type : types) {
        for (const AirfieldFrequency &frequency : frequencies) {
            if (frequency.type.toUpper() == type)
                ordered.append(frequency);
        }
    }
    return ordered;
}

QString airfieldLabel(const Airfield &airfield)
{
    const QString ident = QtCompat::utf8UpToZero(airfield.ident);
    return airfield.name.isEmpty() ? ident : QStringLiteral("%1 (%2)").arg(ident, airfield.name);
}

void collectChannels(const AirfieldOptions &options, const QVector<Airfield> &airfields,
                     const FrequenciesByIdent &frequencies, ImportResult &result)
{
    const QByteArrayList types = distinctUpperCase(options.types);
    int leftOut = 0;
    for (const Airfield &airfield : airfields) {
        for (const AirfieldFrequency &found : inTypeOrder(frequencies.value(airfield.ident), types)) {
            const QString megahertz = QtCompat::utf8UpToZero(found.megahertz);
            const QString frequency = ChannelRules::channelFrequencyFor(megahertz);
            if (frequency.isEmpty()) {
                result.messages << recordMessage(options.frequenciesFile, found.recordNumber,
                                                 QStringLiteral("%1 %2: \"%3\" is not an air-band channel, skipped")
                                                     .arg(airfieldLabel(airfield), QtCompat::utf8UpToZero(found.type), megahertz));
            } else if (result.channels.size() == options.maxChannels) {
                ++leftOut;
            } else {
                const QString name = ChannelRules::nameFrom(QtCompat::utf8UpToZero(airfield.ident + ' ' + found.type));
                result.channels.append({name, frequency});
            }
        }
    }
    if (leftOut > 0)
        result.messages << QStringLiteral("channels beyond the first %1 left out: %2").arg(options.maxChannels).arg(leftOut);
    makeNamesUnique(result.channels);
}

} // namespace

ImportResult importAirfields(const AirfieldOptions &options)
{
    ImportResult result;
    const QString problem = usageProblem(options);
    if (!problem.isEmpty()) {
        result.fail(ImportOutcome::UsageError, problem);
        return result;
    }
    QVector<Airfield> airfields;
    if (!findAirfields(options, airfields, result))
        return result;

    QSet<QByteArray> idents;
    for (const Airfield &airfield : qAsConst(airfields))
        idents.insert(airfield.ident);
    QFile file(options.frequenciesFile);
    if (!openInput(file, result))
        return result;
    FrequenciesByIdent frequencies;
    result.outcome = OurAirports::readFrequencies(file, options.frequenciesFile, idents, frequencies, result.messages);
    if (result.outcome != ImportOutcome::Done)
        return result;
    // Airfields found by distance need not have any frequency; named ones
    // must be in the file.
    for (const Airfield &airfield : qAsConst(airfields)) {
        if (!options.near && !frequencies.contains(airfield.ident))
            result.fail(ImportOutcome::DataNotRight,
                        QStringLiteral("%1 is not in %2").arg(QtCompat::utf8UpToZero(airfield.ident), options.frequenciesFile));
    }
    if (result.outcome != ImportOutcome::Done)
        return result;
    collectChannels(options, airfields, frequencies, result);
    finishImport(result, options.outputFile);
    return result;
}
