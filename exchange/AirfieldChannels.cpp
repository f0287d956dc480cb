#include "AirfieldChannels.h"

#include "AirfieldNames.h"
#include "ImportFiles.h"
#include "NamedColumns.h"
#include "OurAirports.h"
#include "QtCompat.h"
#include "QuotedText.h"
#include "UniqueNames.h"

#include <QFile>

#include <algorithm>

namespace {

RequestProblem requestProblem(const AirfieldOptions &options)
{
    if (options.radiusKm && !options.near)
        return RequestProblem::RadiusWithoutPosition;
    if (options.idents.isEmpty() && !options.near)
        return RequestProblem::NeitherAirfieldsNorPosition;
    if (!options.idents.isEmpty() && options.near)
        return RequestProblem::AirfieldsAndPosition;
    if (options.near && !isOnGlobe(*options.near))
        return RequestProblem::PositionOffGlobe;
    if (options.near && !options.radiusKm)
        return RequestProblem::PositionWithoutRadius;
    if (options.radiusKm && !(*options.radiusKm >= 0))
        return RequestProblem::NegativeRadius;
    if (options.near && options.airportsFile.isEmpty())
        return RequestProblem::PositionWithoutAirports;
    if (options.maxChannels < 1 || options.maxChannels > RadioModels::largestMemory())
        return RequestProblem::ChannelCountOutOfRange;
    if (options.perAirfield && (*options.perAirfield < 1 || *options.perAirfield > RadioModels::largestMemory()))
        return RequestProblem::PerAirfieldOutOfRange;
    return RequestProblem::None;
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
        if (latitudeGapKm(*options.near, position) > *options.radiusKm)
            return false;
        airfield.distanceKm = greatCircleKm(*options.near, position);
        return airfield.distanceKm <= *options.radiusKm;
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

// An airfield's frequencies of the given types in that order; with no type
// given, those of the default order first, then the rest in file order.
QVector<AirfieldFrequency> inTypeOrder(const QVector<AirfieldFrequency> &frequencies, const QByteArrayList &types)
{
    const QByteArrayList order = types.isEmpty() ? distinctUpperCase(defaultTypeOrder()) : types;
    QVector<AirfieldFrequency> ordered;
    for (const QByteArray &type : order) {
        for (const AirfieldFrequency &frequency : frequencies) {
            if (frequency.type == type)
                ordered.append(frequency);
        }
    }
    if (types.isEmpty()) {
        for (const AirfieldFrequency &frequency : frequencies) {
            if (!order.contains(frequency.type))
                ordered.append(frequency);
        }
    }
    return ordered;
}

QString airfieldLabel(const Airfield &airfield)
{
    const QString ident = QuotedText::shown(QtCompat::utf8UpToZero(airfield.ident));
    return airfield.name.isEmpty() ? ident : QStringLiteral("%1 (%2)").arg(ident, QuotedText::shown(airfield.name));
}

struct Candidate {
    AirfieldFrequency found;
    Frequency frequency;
};

// An airfield's channels in type order, one per frequency; the rest reported.
QVector<Candidate> airfieldCandidates(const AirfieldOptions &options, const Airfield &airfield,
                                      const QVector<AirfieldFrequency> &ordered, QStringList &messages)
{
    QVector<Candidate> candidates;
    for (const AirfieldFrequency &found : ordered) {
        const QString megahertz = QtCompat::utf8UpToZero(found.megahertz);
        const QString type = QtCompat::utf8UpToZero(found.type);
        const Frequency frequency = ChannelRules::channelFrequencyFor(megahertz);
        const auto same = [&frequency](const Candidate &other) { return other.frequency == frequency; };
        const auto first = std::find_if(candidates.cbegin(), candidates.cend(), same);
        QString skipped;
        if (frequency.isEmpty())
            skipped = QStringLiteral("%1 %2: %3 is not an air-band channel, skipped")
                          .arg(airfieldLabel(airfield), QuotedText::shown(type), QuotedText::quoted(megahertz));
        else if (first != candidates.cend())
            skipped = QStringLiteral("%1 %2: %3 is already its %4 channel, skipped")
                          .arg(airfieldLabel(airfield), QuotedText::shown(type), frequency.text(),
                               QuotedText::shown(QtCompat::utf8UpToZero(first->found.type)));
        if (skipped.isEmpty())
            candidates.append({found, frequency});
        else
            messages << recordMessage(options.frequenciesFile, found.recordNumber, skipped);
    }
    return candidates;
}

void collectChannels(const AirfieldOptions &options, const QVector<Airfield> &airfields,
                     const FrequenciesByIdent &frequencies, ImportResult &result)
{
    const QByteArrayList types = distinctUpperCase(options.types);
    int leftOut = 0;
    int beyondPerAirfield = 0;
    int airfieldsListed = 0;
    for (const Airfield &airfield : airfields) {
        QVector<Candidate> candidates = airfieldCandidates(
            options, airfield, inTypeOrder(frequencies.value(airfield.ident), types), result.messages);
        if (options.perAirfield && candidates.size() > *options.perAirfield) {
            beyondPerAirfield += candidates.size() - *options.perAirfield;
            candidates.resize(*options.perAirfield);
        }
        QVector<AirfieldChannelKind> kinds;
        for (const Candidate &candidate : qAsConst(candidates))
            kinds.append({candidate.found.type, candidate.found.description});
        const QStringList names = airfieldChannelNames(airfield.ident, kinds);
        bool listed = false;
        for (int k = 0; k < candidates.size(); ++k) {
            if (result.channels.size() == options.maxChannels) {
                ++leftOut;
                continue;
            }
            result.channels.append({names.at(k), candidates.at(k).frequency});
            listed = true;
        }
        airfieldsListed += listed ? 1 : 0;
    }
    if (leftOut > 0)
        result.messages << QStringLiteral("channels beyond the first %1 left out: %2").arg(options.maxChannels).arg(leftOut);
    makeNamesUnique(result.channels);
    const auto counted = [](int count, const char *thing) {
        return QStringLiteral("%1 %2%3").arg(count).arg(QLatin1String(thing), count == 1 ? QString() : QStringLiteral("s"));
    };
    result.summary = QStringLiteral("%1 of %2").arg(counted(result.channels.size(), "channel"), counted(airfieldsListed, "airfield"));
    if (beyondPerAirfield > 0)
        result.summary += QStringLiteral("; %1 more beyond %2 per airfield left out").arg(beyondPerAirfield).arg(*options.perAirfield);
}

} // namespace

QStringList defaultTypeOrder()
{
    return {QStringLiteral("TWR"),  QStringLiteral("CTAF"), QStringLiteral("UNICOM"), QStringLiteral("UNIC"),
            QStringLiteral("A/G"),  QStringLiteral("INFO"), QStringLiteral("AFIS"),   QStringLiteral("RDO"),
            QStringLiteral("APP"),  QStringLiteral("ATIS"), QStringLiteral("GND")};
}

ImportResult importAirfields(const AirfieldOptions &options)
{
    ImportResult result;
    const RequestProblem problem = requestProblem(options);
    if (problem != RequestProblem::None) {
        result.refuse(problem);
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
