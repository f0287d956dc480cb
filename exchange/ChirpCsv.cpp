#include "ChirpCsv.h"

#include "ChannelRules.h"
#include "CsvReader.h"
#include "NamedColumns.h"
#include "QtCompat.h"

namespace {

const ColumnNames chirpColumns{{"Location", "Frequency"}, {"Name", "Duplex"}};
enum ChirpField { Location, Frequency, Name, Duplex };

constexpr char header[] = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                          "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";
constexpr char lineEnd[] = "\r\n";
// CHIRP writes frequencies with six decimals; a designator has three.
constexpr char toSixDecimals[] = "000";
// From Duplex to Mode: no duplex, no offset, no tone, CHIRP's default tone
// frequencies, DTCS codes, polarity and cross mode; amplitude modulation.
constexpr char duplexToMode[] = ",,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,AM,";
constexpr char step833[] = "8.33";
constexpr char step25[] = "25.00";
// From Skip to the end: not skipped, the power level of CHIRP's generic
// memories, no comment, no digital voice fields.
constexpr char skipToEnd[] = ",,50W,,,,,";

// A name as an RFC 4180 field: in quotes when it holds a comma, a quote or
// a line end, its quotes doubled.
QByteArray csvField(const QString &text)
{
    QByteArray field = text.toUtf8();
    if (field.contains(',') || field.contains('"') || field.contains('\r') || field.contains('\n'))
        field = '"' + field.replace('"', "\"\"") + '"';
    return field;
}

struct LocatedChannel {
    qint64 location;
    qint64 recordNumber;
    ChannelRecord channel;
};

} // namespace

namespace ChirpCsv {

bool looksLikeChirp(QIODevice &device)
{
    bool chirp = false;
    CsvReader::read(device, [&chirp](const CsvRecord &header) {
        chirp = findColumn(header, "Location") >= 0 && findColumn(header, "Frequency") >= 0;
        return false;
    });
    return chirp;
}

ImportOutcome read(QIODevice &device, const QString &fileName, ChannelRecords &channels, QStringList &messages)
{
    QVector<LocatedChannel> located;
    const auto handleRecord = [&](qint64 recordNumber, const QVector<QByteArray> &fields) {
        bool isNumber = false;
        const qint64 location = fields.at(Location).trimmed().toLongLong(&isNumber);
        const QString megahertz = QtCompat::utf8UpToZero(fields.at(Frequency));
        const QString frequency = ChannelRules::channelFrequencyFor(megahertz);
        QString skipped;
        if (!isNumber || location < 0)
            skipped = QStringLiteral("Location \"%1\" is not a channel number").arg(QtCompat::utf8UpToZero(fields.at(Location)));
        else if (!fields.at(Duplex).trimmed().isEmpty())
            skipped = QStringLiteral("Duplex \"%1\" is set").arg(QtCompat::utf8UpToZero(fields.at(Duplex)));
        else if (frequency.isEmpty())
            skipped = QStringLiteral("frequency \"%1\" is not an air-band channel").arg(megahertz);
        if (skipped.isEmpty())
            located.append({location, recordNumber, {ChannelRules::nameFrom(QtCompat::utf8UpToZero(fields.at(Name))), frequency}});
        else
            messages << recordMessage(fileName, recordNumber, skipped + QStringLiteral(", skipped"));
    };
    const ImportOutcome outcome = readNamedColumns(device, fileName, chirpColumns, handleRecord, messages);
    if (outcome != ImportOutcome::Done)
        return outcome;

    qint64 first = 1;
    for (const LocatedChannel &row : qAsConst(located))
        first = qMin(first, row.location);
    channels.clear();
    for (const LocatedChannel &row : qAsConst(located)) {
        const qint64 index = row.location - first;
        QString skipped;
        if (index >= ChannelRules::largestMemory)
            skipped = QStringLiteral("Location %1 is beyond channel %2").arg(row.location).arg(ChannelRules::largestMemory);
        else if (index < channels.size() && !channels.at(int(index)).isEmpty())
            skipped = QStringLiteral("Location %1 is taken by an earlier row").arg(row.location);
        if (!skipped.isEmpty()) {
            messages << recordMessage(fileName, row.recordNumber, skipped + QStringLiteral(", skipped"));
            continue;
        }
        if (index >= channels.size())
            channels.resize(int(index) + 1);
        channels[int(index)] = row.channel;
    }
    return ImportOutcome::Done;
}

QByteArray toBytes(const ChannelRecords &channels)
{
    QByteArray bytes = QByteArray(header) + lineEnd;
    for (int k = 0; k < channels.size(); ++k) {
        const ChannelRecord &channel = channels.at(k);
        if (!ChannelRules::isChannelFrequency(channel.frequency))
            continue;
        bytes += QByteArray::number(k + 1) + ',' + csvField(channel.name) + ',' + channel.frequency.toLatin1()
            + toSixDecimals + duplexToMode + (ChannelRules::is833Channel(channel.frequency) ? step833 : step25)
            + skipToEnd + lineEnd;
    }
    return bytes;
}

} // namespace ChirpCsv
