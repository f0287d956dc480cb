// libFuzzer target for the readers of channel lists from outside: any
// bytes, read as RFC 4180 CSV, as a CHIRP file and as OurAirports' two
// tables, must be read without a crash, a leak or undefined behaviour; in
// pieces they give the same records; every field taken as a frequency gives
// a channel the rules accept or none, on either raster, and a channel's
// carrier gives the channel back; taken as a name a valid name. CHIRP
// channels have unique names, and written and read back they come back the
// same; a CHIRP file cut anywhere gives no frequency the whole file does
// not (a record cut inside its frequency is never taken).
#include "ChannelRules.h"
#include "ChirpCsv.h"
#include "CsvReader.h"
#include "FuzzSupport.h"
#include "OurAirports.h"

#include <cmath>
#include <cstdint>

#include <QSet>

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
    const Frequency frequency = ChannelRules::channelFrequencyFor(text);
    if (!frequency.isEmpty()
        && (!frequency.isChannelOf(RadioModels::airBand) || ChannelRules::channelFrequencyFor(frequency.text()) != frequency))
        fail("not a channel frequency", frequency.text().toUtf8());
    const Frequency channel833 = ChannelRules::channel833For(text);
    if (!channel833.isEmpty()
        && (channel833.spacing() != Frequency::Spacing::Narrow || ChannelRules::channel833For(channel833.text()) != channel833))
        fail("not an 8.33 kHz channel", channel833.text().toUtf8());
    for (const Frequency &channel : {frequency, channel833}) {
        if (channel.isEmpty())
            continue;
        const qint64 hertz = channel.carrierHertz();
        const QString carrier = QStringLiteral("%1.%2").arg(hertz / 1000000).arg(hertz % 1000000, 6, 10, QLatin1Char('0'));
        const Frequency back = channel.spacing() == Frequency::Spacing::Narrow ? ChannelRules::channel833For(carrier)
                                                                              : ChannelRules::channelFrequencyFor(carrier);
        if (back != channel)
            fail("the carrier gives another channel", (channel.text() + QLatin1Char(' ') + carrier).toUtf8());
    }
    if (!ChannelRules::isValidName(ChannelRules::nameFrom(text), RadioModels::series()))
        fail("not a valid name", field.toHex(' '));
}

Channels chirpChannels(QByteArray &content, QStringList &messages)
{
    PieceDevice device(&content, content.size() + 1);
    Channels channels;
    ChirpCsv::read(device, QStringLiteral("fuzz"), channels, messages);
    return channels;
}

QSet<QString> frequenciesOf(const Channels &channels)
{
    QSet<QString> frequencies;
    for (const Channel &channel : channels) {
        if (!channel.isEmpty())
            frequencies.insert(channel.frequency.text());
    }
    return frequencies;
}

// The file cut at `size`, anywhere but after a line end: no record cut
// short is taken. Rows placed beyond the largest memory in the whole file
// may fit into the cut one, which may count its Locations from later.
void checkCutChirp(const QByteArray &content, int size, const Channels &whole, const QStringList &wholeMessages)
{
    if (size >= content.size() || content.at(size - 1) == '\n' || content.at(size - 1) == '\r'
        || wholeMessages.join(QLatin1Char('\n')).contains(QLatin1String("is beyond channel")))
        return;
    QByteArray cut = content.left(size);
    QStringList messages;
    const Channels channels = chirpChannels(cut, messages);
    if (!frequenciesOf(whole).contains(frequenciesOf(channels)))
        fail("a CHIRP file cut short gave another frequency", cut);
}

void checkChirp(QByteArray &content, int cutAt)
{
    QStringList messages;
    const Channels channels = chirpChannels(content, messages);
    if (channels.size() > RadioModels::largestMemory())
        fail("more channels than a memory holds", QByteArray::number(channels.size()));
    QSet<QString> names;
    for (const Channel &channel : channels) {
        if (!ChannelRules::isValidName(channel.name, RadioModels::series()) || (!channel.name.isEmpty() && names.contains(channel.name)))
            fail("a CHIRP name invalid or repeated", channel.name.toUtf8());
        names.insert(channel.name);
    }
    checkCutChirp(content, cutAt, channels, messages);
    // Written, the channels count from Location 1 on: those before the
    // first one kept are not written.
    Channels kept = channels;
    while (!kept.isEmpty() && kept.first().isEmpty())
        kept.removeFirst();
    QByteArray written = ChirpCsv::toBytes(channels);
    QStringList again;
    if (chirpChannels(written, again) != kept || !again.isEmpty())
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
    checkChirp(content, size > 1 ? 1 + int(data[size - 1]) * int(size - 1) / 255 : 1);
    checkOurAirports(content);
    return 0;
}
