#include "ChannelConvert.h"

#include "ChannelRules.h"
#include "ChirpCsv.h"
#include "CsvTable.h"
#include "ImportFiles.h"

#include <QFile>

namespace {

void readChannelFile(QFile &file, ImportResult &result)
{
    CsvTable table;
    if (!table.read(file)) {
        result.fail(ImportOutcome::FileNotUsable, QStringLiteral("cannot read %1").arg(file.fileName()));
        return;
    }
    result.channels = ChannelCsv::fromTable(table, ChannelRules::largestMemory);
    if (table.rowCount() > unsigned(ChannelRules::largestMemory))
        result.messages << QStringLiteral("%1: %2 records beyond channel %3, left out")
                               .arg(file.fileName())
                               .arg(table.rowCount() - ChannelRules::largestMemory)
                               .arg(ChannelRules::largestMemory);
}

void leaveOutChannelsWithoutFrequency(ImportResult &result)
{
    for (int k = 0; k < result.channels.size(); ++k) {
        ChannelRecord &channel = result.channels[k];
        if (channel.isEmpty() || ChannelRules::isChannelFrequency(channel.frequency))
            continue;
        result.messages << QStringLiteral("channel %1 \"%2\": \"%3\" is no channel frequency, left out")
                               .arg(k + 1)
                               .arg(channel.name, channel.frequency);
        channel = ChannelRecord();
    }
}

} // namespace

ImportResult convertChannels(const ConvertOptions &options)
{
    ImportResult result;
    QFile input(options.inputFile);
    if (!openInput(input, result))
        return result;
    ChannelFormat from = options.from;
    if (from == ChannelFormat::Guess) {
        from = ChirpCsv::looksLikeChirp(input) ? ChannelFormat::Chirp : ChannelFormat::ChannelFile;
        input.seek(0);
    }
    result.format = options.to;
    if (result.format == ChannelFormat::Guess)
        result.format = from == ChannelFormat::Chirp ? ChannelFormat::ChannelFile : ChannelFormat::Chirp;

    if (from == ChannelFormat::Chirp)
        result.outcome = ChirpCsv::read(input, options.inputFile, result.channels, result.messages);
    else
        readChannelFile(input, result);
    if (result.format == ChannelFormat::Chirp)
        leaveOutChannelsWithoutFrequency(result);
    finishImport(result, options.outputFile);
    return result;
}
