// libFuzzer target for the readers of channel lists from outside: any
// bytes, read as RFC 4180 CSV, as a CHIRP file and as OurAirports' two
// tables, must be read without a crash, a leak or undefined behaviour; in
// pieces they give the same records; every field taken as a frequency gives
// a channel the rules accept or none, taken as a name a valid name; CHIRP
// channels written and read back come back the same.
#include "ChannelRules.h"
#include "ChirpCsv.h"
#include "CsvReader.h"
#include "FuzzSupport.h"
#include "OurAirports.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr double halfCircumferenceKm = 20016;

QList<QByteArrayList> recordsOf(QByteArray &content, int piece)
{
    PieceDevice device(&content, piece);
    QList<QByteArrayList> records;
    CsvReader::read(device, [&records](const CsvRecord &record) {
        if (record.number() != records.size() + 1)
            fail("record numbers out of step", QByteArray::number(record.number()));
        QByteArrayList fields;
        for (int column = 0; column < record.size(); ++column)
            fields << record.field(column);
        records << fields;
        return true;
    });
    return records;
}

void checkRules(const QByteArray &field)
{
    const QString text = QString::fromUtf8(field);
    const QString frequency = ChannelRules::channelFrequencyFor(text);
    if (!frequency.isEmpty()
        && (!ChannelRules::isChannelFrequency(frequency) || ChannelRules::channelFrequencyFor(frequency) != frequency))
        fail("not a channel frequency", frequency.toUtf8());
    if (!ChannelRules::isValidName(ChannelRules::nameFrom(text)))
        fail("not a valid name", field.toHex(' '));
}

void checkChirp(QByteArray &content)
{
    PieceDevice device(&content, content.size() + 1);
    ChannelRecords channels;
    QStringList messages;
    ChirpCsv::read(device, QStringLiteral("fuzz"), channels, messages);
    if (channels.size() > ChannelRules::largestMemory)
        fail("more channels than a memory holds", QByteArray::number(channels.size()));
    QByteArray written = ChirpCsv::toBytes(channels);
    PieceDevice again(&written, written.size() + 1);
    ChannelRecords back;
    if (ChirpCsv::read(again, QStringLiteral("again"), back, messages) != ImportOutcome::Done || back != channels)
        fail("CHIRP round trip changed the channels", written);
}

void checkOurAirports(QByteArray &content)
{
    PieceDevice airportsDevice(&content, content.size() + 1);
    QVector<Airfield> airfields;
    QStringList messages;
    const auto keepAll = [](Airfield &airfield, const GeoPoint &position) {
        airfield.distanceKm = greatCircleKm(GeoPoint{}, position);
        return true;
    };
    OurAirports::readAirports(airportsDevice, QStringLiteral("airports"), keepAll, airfields, messages);
    QSet<QByteArray> idents;
    for (const Airfield &airfield : qAsConst(airfields)) {
        if (airfield.distanceKm < 0 || airfield.distanceKm > halfCircumferenceKm)
            fail("distance off the globe", QByteArray::number(airfield.distanceKm));
        idents.insert(airfield.ident);
    }
    PieceDevice frequenciesDevice(&content, content.size() + 1);
    FrequenciesByIdent frequencies;
    OurAirports::readFrequencies(frequenciesDevice, QStringLiteral("frequencies"), idents, frequencies, messages);
    for (const QVector<AirfieldFrequency> &list : qAsConst(frequencies)) {
        for (const AirfieldFrequency &frequency : list)
            checkRules(frequency.megahertz);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QByteArray content(reinterpret_cast<const char *>(data), int(size));
    const QList<QByteArrayList> whole = recordsOf(content, int(size) + 1);
    const int piece = size > 0 ? 1 + data[0] % 7 : 1;
    if (recordsOf(content, piece) != whole)
        fail("reading in pieces differs", QByteArray::number(piece));
    for (const QByteArrayList &record : whole) {
        for (const QByteArray &field : record)
            checkRules(field);
    }
    checkChirp(content);
    checkOurAirports(content);
    return 0;
}
