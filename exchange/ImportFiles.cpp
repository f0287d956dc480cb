#include "ImportFiles.h"

#include "ChannelCsv.h"
#include "ChirpCsv.h"

#include <QFile>

#include <algorithm>

bool openInput(QFile &file, ImportResult &result)
{
    if (file.open(QIODevice::ReadOnly))
        return true;
    result.fail(ImportOutcome::FileNotUsable,
                QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString()));
    return false;
}

QByteArray outputBytes(const ImportResult &result)
{
    return result.format == ChannelFormat::Chirp ? ChirpCsv::toBytes(result.channels)
                                                 : ChannelCsv::toBytes(result.channels);
}

void finishImport(ImportResult &result, const QString &outputFile)
{
    if (result.outcome != ImportOutcome::Done)
        return;
    const auto isEmpty = [](const Channel &channel) { return channel.isEmpty(); };
    if (std::all_of(result.channels.cbegin(), result.channels.cend(), isEmpty)) {
        result.fail(ImportOutcome::DataNotRight, QStringLiteral("no channels, nothing written"));
        return;
    }
    if (outputFile.isEmpty())
        return;
    QString why;
    if (!ChannelCsv::saveBytes(outputFile, outputBytes(result), &why))
        result.fail(ImportOutcome::FileNotUsable, QStringLiteral("cannot write %1: %2").arg(outputFile, why));
}
