#include "AirfieldChannels.h"

#include "AirfieldNames.h"
#include "AirfieldReport.h"
#include "ImportFiles.h"
#include "NamedColumns.h"
#include "QtCompat.h"
#include "QuotedText.h"

#include <QFile>
#include <QMap>

#include <algorithm>

namespace {

bool outOfMemoryRange(const std::optional<int> &count)
{
    return count && (*count < 1 || *count > RadioModels::largestMemory());
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

struct Candidate {
    AirfieldFrequency found;
    Frequency frequency;
};

// Works out the channels, airfield by airfield, and what is left out.
class Selection
{
public:
    Selection(const AirfieldOptions &options, AirfieldResult &result)
        : options(options)
        , result(result)
        , types(distinctUpperCase(options.types))
        , order(types.isEmpty() ? distinctUpperCase(defaultTypeOrder()) : types)
        , perAirfield(options.perAirfield ? options.perAirfield : options.nearest ? std::optional<int>(1) : std::nullopt)
    {
    }

    FrequenciesByIdent frequencies;

    void takeNamed(const QVector<Airfield> &airfields);
    void takeNearest(const QVector<Airfield> &airfields);
    void finish();

private:
    QVector<AirfieldFrequency> inTypeOrder(const QVector<AirfieldFrequency> &found) const;
    QVector<Candidate> channelsOf(const Airfield &airfield, QStringList *messages) const;
    bool isWanted(const Airfield &airfield) const;
    // Leaves the airfield out when it is closed, not asked for or gives no
    // channel; else lists its channels. True when it did give channels.
    bool take(const Airfield &airfield);
    void leaveOut(LeftOutReason reason, const Airfield &airfield);

    const AirfieldOptions &options;
    AirfieldResult &result;
    const QByteArrayList types;
    const QByteArrayList order; // of the types
    const std::optional<int> perAirfield;
    QVector<AirfieldChannelName> names;
    QMap<LeftOutReason, LeftOutAirfields> leftOut;
    int channelsLeftOut = 0;
    int beyondPerAirfield = 0;
    int airfieldsListed = 0;
};

// An airfield's frequencies of the given types in that order; with no type
// given, those of the default order first, then the rest in file order.
QVector<AirfieldFrequency> Selection::inTypeOrder(const QVector<AirfieldFrequency> &found) const
{
    QVector<AirfieldFrequency> ordered;
    for (const QByteArray &type : order) {
        for (const AirfieldFrequency &frequency : found) {
            if (frequency.type == type)
                ordered.append(frequency);
        }
    }
    if (types.isEmpty()) {
        for (const AirfieldFrequency &frequency : found) {
            if (!order.contains(frequency.type))
                ordered.append(frequency);
        }
    }
    return ordered;
}

// An airfield's channels in type order, one per frequency; the rest
// reported, when there is where to.
QVector<Candidate> Selection::channelsOf(const Airfield &airfield, QStringList *messages) const
{
    QVector<Candidate> candidates;
    for (const AirfieldFrequency &found : inTypeOrder(frequencies.value(airfield.ident))) {
        const QString megahertz = QtCompat::utf8UpToZero(found.megahertz);
        const QString type = QtCompat::utf8UpToZero(found.type);
        const Frequency frequency = ChannelRules::channelFrequencyFor(megahertz);
        const auto same = [&frequency](const Candidate &other) { return other.frequency == frequency; };
        const auto first = std::find_if(candidates.cbegin(), candidates.cend(), same);
        if (!frequency.isEmpty() && first == candidates.cend()) {
            candidates.append({found, frequency});
            continue;
        }
        if (!messages)
            continue;
        const QString skipped = frequency.isEmpty()
            ? QStringLiteral("%1 %2: %3 is not an air-band channel, skipped")
                  .arg(airfieldText(airfield), QuotedText::shown(type), QuotedText::quoted(megahertz))
            : QStringLiteral("%1 %2: %3 is already its %4 channel, skipped")
                  .arg(airfieldText(airfield), QuotedText::shown(type), frequency.text(),
                       QuotedText::shown(QtCompat::utf8UpToZero(first->found.type)));
        *messages << recordMessage(options.frequenciesFile, found.recordNumber, skipped);
    }
    return candidates;
}

// Airfields named are wanted whatever they are, but closed.
bool Selection::isWanted(const Airfield &airfield) const
{
    if (!options.near)
        return airfield.kind != AirfieldKind::Closed;
    switch (airfield.kind) {
    case AirfieldKind::Airport:
        return true;
    case AirfieldKind::Heliport:
        return options.heliports;
    case AirfieldKind::SeaplaneBase:
        return options.seaplaneBases;
    case AirfieldKind::BalloonPort:
        return options.balloonPorts;
    case AirfieldKind::Closed:
        break;
    }
    return false;
}

void Selection::leaveOut(LeftOutReason reason, const Airfield &airfield)
{
    LeftOutAirfields &airfields = leftOut[reason];
    if (airfields.count++ == 0) {
        airfields.reason = reason;
        airfields.nearest = airfield;
    }
}

bool Selection::take(const Airfield &airfield)
{
    static const QMap<AirfieldKind, LeftOutReason> reasons{{AirfieldKind::Closed, LeftOutReason::Closed},
                                                           {AirfieldKind::Heliport, LeftOutReason::Heliport},
                                                           {AirfieldKind::SeaplaneBase, LeftOutReason::SeaplaneBase},
                                                           {AirfieldKind::BalloonPort, LeftOutReason::BalloonPort}};
    if (!isWanted(airfield)) {
        leaveOut(reasons.value(airfield.kind), airfield);
        return false;
    }
    QVector<Candidate> candidates = channelsOf(airfield, &result.messages);
    if (candidates.isEmpty()) {
        leaveOut(LeftOutReason::NoUsableFrequency, airfield);
        return false;
    }
    if (perAirfield && candidates.size() > *perAirfield) {
        beyondPerAirfield += candidates.size() - *perAirfield;
        candidates.resize(*perAirfield);
    }
    QVector<AirfieldChannelKind> kinds;
    for (const Candidate &candidate : qAsConst(candidates))
        kinds.append({candidate.found.type, candidate.found.description});
    const QVector<AirfieldChannelName> airfieldNames = airfieldChannelNames(airfield.ident, kinds);
    const bool around = bool(options.near);
    bool listed = false;
    for (int k = 0; k < candidates.size(); ++k) {
        if (result.channels.size() == options.maxChannels) {
            ++channelsLeftOut;
            continue;
        }
        const AirfieldFrequency &found = candidates.at(k).found;
        result.channels.append({QString(), candidates.at(k).frequency});
        result.origins.append({airfield.ident, airfield.name, found.type, QtCompat::utf8UpToZero(found.description),
                               around ? std::optional<double>(airfield.distanceKm) : std::nullopt,
                               around ? std::optional<double>(airfield.bearingDegrees) : std::nullopt});
        names.append(airfieldNames.at(k));
        listed = true;
    }
    airfieldsListed += listed ? 1 : 0;
    return true;
}

void Selection::takeNamed(const QVector<Airfield> &airfields)
{
    for (const Airfield &airfield : airfields)
        take(airfield);
}

// Nearest first; within the radius, until N airfields gave channels. Past
// N, what is left out is the next airfield that would have been taken (and
// with a radius, every such one within it); past the radius before N, the
// next beyond it.
void Selection::takeNearest(const QVector<Airfield> &airfields)
{
    int taken = 0;
    for (const Airfield &airfield : airfields) {
        const bool beyondRadius = options.radiusKm && airfield.distanceKm > *options.radiusKm;
        const bool nearestFound = options.nearest && taken == *options.nearest;
        if (!beyondRadius && !nearestFound) {
            taken += take(airfield) ? 1 : 0;
            continue;
        }
        if (beyondRadius && nearestFound)
            return;
        if (!isWanted(airfield) || channelsOf(airfield, nullptr).isEmpty())
            continue;
        leaveOut(nearestFound ? LeftOutReason::BeyondNearest : LeftOutReason::BeyondRadius, airfield);
        if (beyondRadius || !options.radiusKm)
            return;
    }
}

void Selection::finish()
{
    const QStringList unique = uniqueChannelNames(names);
    for (int k = 0; k < result.channels.size(); ++k)
        result.channels[k].name = unique.at(k);
    for (const LeftOutAirfields &airfields : qAsConst(leftOut))
        result.leftOut.append(airfields);
    if (channelsLeftOut > 0)
        result.messages << QStringLiteral("channels beyond the first %1 left out: %2").arg(options.maxChannels).arg(channelsLeftOut);
    const auto counted = [](int count, const char *thing) {
        return QStringLiteral("%1 %2%3").arg(count).arg(QLatin1String(thing), count == 1 ? QString() : QStringLiteral("s"));
    };
    result.summary = QStringLiteral("%1 of %2").arg(counted(result.channels.size(), "channel"), counted(airfieldsListed, "airfield"));
    if (beyondPerAirfield > 0)
        result.summary += QStringLiteral("; %1 more beyond %2 per airfield left out").arg(beyondPerAirfield).arg(*perAirfield);
}

// The airfields named, with their names and kinds when the airports file
// is given.
bool readNamed(const AirfieldOptions &options, QVector<Airfield> &airfields, AirfieldResult &result)
{
    const QByteArrayList named = distinctUpperCase(options.idents);
    for (const QByteArray &ident : named) {
        airfields.append(Airfield());
        airfields.last().ident = ident;
    }
    if (options.airportsFile.isEmpty())
        return true;
    QFile file(options.airportsFile);
    if (!openInput(file, result))
        return false;
    const auto keep = [&named](const Airfield &airfield, const GeoPoint &) { return named.contains(airfield.ident); };
    QVector<Airfield> found;
    result.outcome = OurAirports::readAirports(file, options.airportsFile, keep, found, result.messages);
    for (Airfield &airfield : airfields) {
        const auto same = [&airfield](const Airfield &other) { return other.ident == airfield.ident; };
        const auto match = std::find_if(found.cbegin(), found.cend(), same);
        if (match != found.cend())
            airfield = *match;
    }
    return result.outcome == ImportOutcome::Done;
}

// The point searched around: the one given, or the airfield's position.
bool findCentre(const AirfieldOptions &options, AirfieldResult &result)
{
    if (options.near->point) {
        result.centre = options.near->point;
        return true;
    }
    QFile file(options.airportsFile);
    if (!openInput(file, result))
        return false;
    const QByteArray ident = options.near->airfield.trimmed().toUpper();
    const auto same = [&ident](const Airfield &airfield, const GeoPoint &) { return airfield.ident == ident; };
    QVector<Airfield> found;
    QStringList messages; // the file's records are reported once, when it is read for the search
    result.outcome = OurAirports::readAirports(file, options.airportsFile, same, found, messages);
    if (result.outcome != ImportOutcome::Done) {
        result.messages << messages;
        return false;
    }
    if (found.isEmpty()) {
        result.fail(ImportOutcome::DataNotRight,
                    QStringLiteral("%1 is not in %2").arg(QtCompat::utf8UpToZero(ident), options.airportsFile));
        return false;
    }
    result.centreAirfield = found.first();
    result.centre = found.first().position;
    return true;
}

// The airfields around the place, nearest first: every one of the airports
// file for the nearest N (found among them all), else those within the
// radius.
bool readAround(const AirfieldOptions &options, QVector<Airfield> &airfields, AirfieldResult &result)
{
    if (!findCentre(options, result))
        return false;
    QFile file(options.airportsFile);
    if (!openInput(file, result))
        return false;
    const GeoPoint centre = *result.centre;
    const bool all = bool(options.nearest);
    const auto keep = [&](Airfield &airfield, const GeoPoint &position) {
        if (!all && latitudeGapKm(centre, position) > *options.radiusKm)
            return false;
        airfield.distanceKm = greatCircleKm(centre, position);
        return all || airfield.distanceKm <= *options.radiusKm;
    };
    result.outcome = OurAirports::readAirports(file, options.airportsFile, keep, airfields, result.messages);
    if (result.outcome != ImportOutcome::Done)
        return false;
    for (Airfield &airfield : airfields)
        airfield.bearingDegrees = initialBearingDegrees(centre, airfield.position);
    const auto nearer = [](const Airfield &a, const Airfield &b) { return a.distanceKm < b.distanceKm; };
    std::stable_sort(airfields.begin(), airfields.end(), nearer);
    return true;
}

} // namespace

RequestProblem airfieldRequestProblem(const AirfieldOptions &options)
{
    if (options.radiusKm && !options.near)
        return RequestProblem::RadiusWithoutPosition;
    if (options.nearest && !options.near)
        return RequestProblem::NearestWithoutPosition;
    if (options.idents.isEmpty() && (!options.near || (!options.near->point && options.near->airfield.isEmpty())))
        return RequestProblem::NeitherAirfieldsNorPosition;
    if (!options.idents.isEmpty() && options.near)
        return RequestProblem::AirfieldsAndPosition;
    if (options.near && options.near->point && !isOnGlobe(*options.near->point))
        return RequestProblem::PositionOffGlobe;
    if (options.near && !options.radiusKm && !options.nearest)
        return RequestProblem::PositionWithoutRadius;
    if (options.radiusKm && !(*options.radiusKm >= 0))
        return RequestProblem::NegativeRadius;
    if (options.near && options.airportsFile.isEmpty())
        return RequestProblem::PositionWithoutAirports;
    if (options.maxChannels < 1 || options.maxChannels > RadioModels::largestMemory())
        return RequestProblem::ChannelCountOutOfRange;
    if (outOfMemoryRange(options.perAirfield))
        return RequestProblem::PerAirfieldOutOfRange;
    if (outOfMemoryRange(options.nearest))
        return RequestProblem::NearestOutOfRange;
    return RequestProblem::None;
}

QStringList defaultTypeOrder()
{
    return {QStringLiteral("TWR"),  QStringLiteral("CTAF"), QStringLiteral("UNICOM"), QStringLiteral("UNIC"),
            QStringLiteral("A/G"),  QStringLiteral("INFO"), QStringLiteral("AFIS"),   QStringLiteral("RDO"),
            QStringLiteral("APP"),  QStringLiteral("ATIS"), QStringLiteral("GND")};
}

AirfieldResult importAirfields(const AirfieldOptions &options)
{
    AirfieldResult result;
    const RequestProblem problem = airfieldRequestProblem(options);
    if (problem != RequestProblem::None) {
        result.refuse(problem);
        return result;
    }
    QVector<Airfield> airfields;
    if (!(options.near ? readAround(options, airfields, result) : readNamed(options, airfields, result)))
        return result;

    QFile file(options.frequenciesFile);
    if (!openInput(file, result))
        return result;
    Selection selection(options, result);
    if (options.nearest) {
        result.outcome = OurAirports::readAllFrequencies(file, options.frequenciesFile, selection.frequencies, result.messages);
    } else {
        QSet<QByteArray> idents;
        for (const Airfield &airfield : qAsConst(airfields))
            idents.insert(airfield.ident);
        result.outcome = OurAirports::readFrequencies(file, options.frequenciesFile, idents, selection.frequencies, result.messages);
    }
    if (result.outcome != ImportOutcome::Done)
        return result;
    // Airfields found around a place need not have any frequency; named
    // ones must be in the file, unless they are closed and left out anyway.
    for (const Airfield &airfield : qAsConst(airfields)) {
        if (!options.near && airfield.kind != AirfieldKind::Closed && !selection.frequencies.contains(airfield.ident))
            result.fail(ImportOutcome::DataNotRight,
                        QStringLiteral("%1 is not in %2").arg(QtCompat::utf8UpToZero(airfield.ident), options.frequenciesFile));
    }
    if (result.outcome != ImportOutcome::Done)
        return result;
    if (options.near)
        selection.takeNearest(airfields);
    else
        selection.takeNamed(airfields);
    selection.finish();
    finishImport(result, options.outputFile);
    return result;
}
