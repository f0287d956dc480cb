#include "ChirpCsv.h"

#include "ChannelRules.h"
#include "CsvReader.h"
#include "CsvTable.h"
#include "NamedColumns.h"
#include "QuotedText.h"
#include "UniqueNames.h"
#include "Utf8Check.h"

#include <algorithm>
#include <limits>

namespace {

const ColumnNames chirpColumns{{"Location", "Frequency"}, {"Name", "Duplex", "Mode", "TStep"}, true};
enum ChirpColumn { LocationColumn, FrequencyColumn, NameColumn, DuplexColumn, ModeColumn, TStepColumn };

constexpr char header[] = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                          "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";
constexpr char lineEnd[] = "\r\n";
// From Duplex to Mode: no duplex, no offset, no tone, CHIRP's default tone
// frequencies, DTCS codes, polarity and cross mode; amplitude modulation.
constexpr char duplexToMode[] = ",,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,AM,";
constexpr char step833[] = "8.33";
constexpr char step25[] = "25.00";
constexpr double step833Kilohertz = 8.33;
constexpr double stepTolerance = 0.01;
// Duplex values of a repeater: sending elsewhere than receiving. "off" marks
// a receive-only channel, which is a channel like any other here.
const QByteArrayList repeaterDuplex{"+", "-", "split"};
// Modes the air band does not use.
const QByteArrayList frequencyModulation{"fm", "nfm", "wfm"};
// From Skip to the end: not skipped, the power level of CHIRP's generic
// memories, no comment, no digital voice fields.
constexpr char skipToEnd[] = ",,50W,,,,,";

// A name as an RFC 4180 field: in quotes when it holds a comma, a quote or
// a line end, its quotes doubled.
// A carrier in hertz as CHIRP writes frequencies: megahertz with six
// decimals ("118.008333").
QByteArray megahertzText(qint64 hertz)
{
    constexpr qint64 hertzPerMegahertz = 1000000;
    return QByteArray::number(hertz / hertzPerMegahertz) + '.'
        + QByteArray::number(hertz % hertzPerMegahertz).rightJustified(6, '0');
}

QByteArray csvField(const QString &text)
{
    QByteArray field = text.toUtf8();
    if (field.contains(',') || field.contains('"') || field.contains('\r') || field.contains('\n'))
        field = '"' + field.replace('"', "\"\"") + '"';
    return field;
}

// A text field of the file: UTF-8, or else Windows-1252 as channel files
// from older Windows tools are read; whole, so that a zero byte in it is
// seen and said, not a cut.
QString textField(const QByteArray &field)
{
    QByteArray bytes = field;
    if (!isValidUtf8(bytes.constData(), bytes.size()))
        CsvTable::ansiToUtf8(bytes);
    return QString::fromUtf8(bytes.constData(), bytes.size());
}

bool isStep833(const QByteArray &step)
{
    bool isNumber = false;
    const double kilohertz = step.trimmed().toDouble(&isNumber);
    return isNumber && qAbs(kilohertz - step833Kilohertz) < stepTolerance;
}

struct LocatedChannel {
    qint64 location;
    qint64 recordNumber;
    Channel channel;
};

// Why a row gives no channel, or an empty text when it gives one.
QString rowProblem(const NamedFields &fields, bool locationIsNumber, qint64 location, const Frequency &frequency)
{
    if (!locationIsNumber || location < 0)
        return QStringLiteral("Location %1 is not a channel number").arg(QuotedText::quoted(textField(fields.at(LocationColumn))));
    if (repeaterDuplex.contains(fields.at(DuplexColumn).trimmed().toLower()))
        return QStringLiteral("Duplex %1 is set").arg(QuotedText::quoted(textField(fields.at(DuplexColumn))));
    if (frequencyModulation.contains(fields.at(ModeColumn).trimmed().toLower()))
        return QStringLiteral("Mode %1 is not AM").arg(QuotedText::quoted(textField(fields.at(ModeColumn))));
    if (frequency.isEmpty())
        return QStringLiteral("frequency %1 is not an air-band channel").arg(QuotedText::quoted(textField(fields.at(FrequencyColumn))));
    const QString name = textField(fields.at(NameColumn));
    if (ChannelRules::firstControlCharacter(name) >= 0)
        return QStringLiteral("Name %1 holds a control character").arg(QuotedText::quoted(name));
    return QString();
}

} // namespace

namespace ChirpCsv {

bool looksLikeChirp(QIODevice &device)
{
    bool chirp = false;
    CsvReader::read(device, [&chirp](const CsvRecord &header) {
        QByteArrayList names;
        for (int column = 0; column < header.size(); ++column)
            names += header.field(column).split(localeSeparator);
        const auto named = [&names](const char *column) {
            return std::any_of(names.cbegin(), names.cend(),
                               [column](const QByteArray &name) { return name.trimmed().toLower() == column; });
        };
        chirp = named("location") && named("frequency");
        return false;
    });
    return chirp;
}

ImportOutcome read(QIODevice &device, const QString &fileName, Channels &channels, QStringList &messages)
{
    QVector<LocatedChannel> located;
    // The rows and the messages in file order: a located row (its index),
    // or a message in its place. The messages of the column reader about a
    // record come before the next record is handed over.
    struct Entry {
        int row;
        QString message;
    };
    QVector<Entry> entries;
    QStringList readerMessages;
    int readerMessagesTaken = 0;
    const auto takeReaderMessages = [&] {
        for (; readerMessagesTaken < readerMessages.size(); ++readerMessagesTaken)
            entries.append({-1, readerMessages.at(readerMessagesTaken)});
    };
    bool hasLocationZero = false;
    qint64 smallestLocation = std::numeric_limits<qint64>::max();
    const auto handleRecord = [&](qint64 recordNumber, const NamedFields &fields) {
        takeReaderMessages();
        bool isNumber = false;
        const qint64 location = fields.at(LocationColumn).trimmed().toLongLong(&isNumber);
        if (isNumber && location >= 0) {
            hasLocationZero = hasLocationZero || location == 0;
            smallestLocation = qMin(smallestLocation, location);
        }
        // The Frequency column is the carrier; with an 8.33 kHz step it
        // names an 8.33 kHz channel, whose designator the radio stores.
        const QString megahertz = textField(fields.at(FrequencyColumn));
        const Frequency frequency = isStep833(fields.at(TStepColumn)) ? ChannelRules::channel833For(megahertz)
                                                               : ChannelRules::channelFrequencyFor(megahertz);
        const QString skipped = rowProblem(fields, isNumber, location, frequency);
        if (skipped.isEmpty()) {
            located.append({location, recordNumber, {importedName(textField(fields.at(NameColumn))), frequency}});
            entries.append({int(located.size()) - 1, QString()});
        } else {
            entries.append({-1, recordMessage(fileName, recordNumber, skipped + QStringLiteral(", skipped"))});
        }
    };
    const ImportOutcome outcome = readNamedColumns(device, fileName, chirpColumns, handleRecord, readerMessages);
    takeReaderMessages();
    if (outcome != ImportOutcome::Done) {
        for (const Entry &entry : qAsConst(entries))
            if (entry.row < 0)
                messages << entry.message;
        return outcome;
    }

    // The file's Locations are kept, counted from its first: 0 where there
    // is one, whether or not its row became a channel.
    const qint64 first = hasLocationZero ? 0 : smallestLocation;
    channels.clear();
    for (const Entry &entry : qAsConst(entries)) {
        if (entry.row < 0) {
            messages << entry.message;
            continue;
        }
        const LocatedChannel &row = located.at(entry.row);
        const qint64 index = row.location - first;
        QString skipped;
        if (index >= RadioModels::largestMemory())
            skipped = QStringLiteral("Location %1 is beyond channel %2").arg(row.location).arg(RadioModels::largestMemory() - 1);
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
    makeNamesUnique(channels);
    return ImportOutcome::Done;
}

QByteArray toBytes(const Channels &channels)
{
    QByteArray bytes = QByteArray(header) + lineEnd;
    for (int k = 0; k < channels.size(); ++k) {
        const Channel &channel = channels.at(k);
        const Frequency::Spacing spacing = channel.frequency.spacing();
        if (spacing == Frequency::Spacing::None)
            continue;
        bytes += QByteArray::number(k + 1) + ',' + csvField(channel.name) + ',' + megahertzText(channel.frequency.carrierHertz())
            + duplexToMode + (spacing == Frequency::Spacing::Narrow ? step833 : step25) + skipToEnd + lineEnd;
    }
    return bytes;
}

} // namespace ChirpCsv
