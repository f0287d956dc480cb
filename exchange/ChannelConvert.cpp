#include "ChannelConvert.h"

#include "ChannelCsv.h"
#include "ChannelFileCheck.h"
#include "ChannelFileFormat.h"
#include "ChannelRules.h"
#include "ChirpCsv.h"
#include "CsvReader.h"
#include "CsvTable.h"
#include "ImportFiles.h"
#include "QuotedText.h"

#include <QFile>

#include <algorithm>

namespace {

// CHIRP for a header naming its Location and Frequency; also for a file
// that only resembles one, so that reading it as CHIRP names the missing
// columns instead of taking its lines as channels: a CHIRP file written
// with ";" between the fields, or any comma-separated first line without a
// ";". Everything else is a channel file ("name;frequency").
ChannelFormat guessFormat(QIODevice &device)
{
    bool commaSeparated = false;
    CsvReader::read(device, [&commaSeparated](const CsvRecord &first) {
        commaSeparated = first.size() > 1;
        for (int column = 0; column < first.size(); ++column)
            commaSeparated = commaSeparated && !first.field(column).contains(ChannelFileFormat::fieldSeparator);
        return false;
    });
    device.seek(0);
    const bool chirp = ChirpCsv::looksLikeChirp(device);
    device.seek(0);
    return chirp || commaSeparated ? ChannelFormat::Chirp : ChannelFormat::ChannelFile;
}

void readChannelFile(QFile &file, ImportResult &result)
{
    CsvTable table;
    if (!table.read(file)) {
        result.fail(ImportOutcome::FileNotUsable, QStringLiteral("cannot read %1").arg(file.fileName()));
        return;
    }
    // Bytes that are no text are said, never cut away or passed on.
    const QString fileName = QuotedText::escaped(file.fileName());
    const QVector<ChannelProblem> problems = ChannelFileCheck::textProblems(table);
    if (!problems.isEmpty() && problems.first().channel < 0) {
        result.fail(ImportOutcome::DataNotRight, QStringLiteral("%1: %2").arg(fileName, problems.first().text));
        return;
    }
    result.channels = ChannelCsv::fromTable(table, RadioModels::largestMemory());
    for (const ChannelProblem &problem : problems) {
        result.messages << QStringLiteral("%1:%2: channel %3: %4, left out")
                               .arg(fileName, QString::number(problem.line), QString::number(problem.channel),
                                    problem.text);
        if (problem.channel < result.channels.size())
            result.channels[problem.channel] = Channel();
    }
    if (table.rowCount() > unsigned(RadioModels::largestMemory()))
        result.messages << QStringLiteral("%1: %2 records beyond channel %3, left out")
                               .arg(file.fileName())
                               .arg(table.rowCount() - RadioModels::largestMemory())
                               .arg(RadioModels::largestMemory());
}

void leaveOutChannelsWithoutFrequency(ImportResult &result, const QString &inputFile)
{
    // A file of any other kind read as a channel file would be reported
    // line by line.
    const auto hasFrequency = [](const Channel &channel) { return channel.frequency.isChannelOf(RadioModels::airBand); };
    if (!result.channels.isEmpty() && std::none_of(result.channels.cbegin(), result.channels.cend(), hasFrequency)) {
        result.fail(ImportOutcome::DataNotRight, QStringLiteral("%1: no record holds a channel frequency").arg(inputFile));
        return;
    }
    for (int k = 0; k < result.channels.size(); ++k) {
        Channel &channel = result.channels[k];
        if (channel.isEmpty() || channel.frequency.isChannelOf(RadioModels::airBand))
            continue;
        result.messages << QStringLiteral("channel %1 %2: %3 is no channel frequency, left out")
                               .arg(k + 1)
                               .arg(QuotedText::quoted(channel.name), QuotedText::quoted(channel.frequency.text()));
        channel = Channel();
    }
}

} // namespace

ImportResult convertChannels(const ConvertOptions &options)
{
    ImportResult result;
    QFile input(options.inputFile);
    if (!openInput(input, result))
        return result;
    const ChannelFormat from = options.from == ChannelFormat::Guess ? guessFormat(input) : options.from;
    result.format = options.to;
    if (result.format == ChannelFormat::Guess)
        result.format = from == ChannelFormat::Chirp ? ChannelFormat::ChannelFile : ChannelFormat::Chirp;

    if (from == ChannelFormat::Chirp)
        result.outcome = ChirpCsv::read(input, options.inputFile, result.channels, result.messages);
    else
        readChannelFile(input, result);
    if (result.format == ChannelFormat::Chirp)
        leaveOutChannelsWithoutFrequency(result, options.inputFile);
    finishImport(result, options.outputFile);
    return result;
}
