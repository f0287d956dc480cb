#include "JsonOutput.h"

#include "Console.h"

#include <QJsonDocument>

namespace JsonOutput {

namespace {

bool wanted = false;
QJsonDocument kept; // the run's document, null until there is one

QLatin1String fieldWord(ChannelProblem::Field field)
{
    switch (field) {
    case ChannelProblem::Field::Name: return JsonValue::nameField;
    case ChannelProblem::Field::Frequency: return JsonValue::frequencyField;
    case ChannelProblem::Field::Record: break;
    }
    return JsonValue::recordField;
}

} // namespace

void enable()
{
    wanted = true;
    Console::keepOutputForDocument();
}

bool enabled()
{
    return wanted;
}

void print(const QJsonObject &document)
{
    kept = QJsonDocument(document);
}

void print(const QJsonArray &document)
{
    kept = QJsonDocument(document);
}

void finish(int exitCode)
{
    if (!wanted)
        return;
    if (kept.isNull()) {
        Console::outBytes(errorDocument(Console::firstFailure(), exitCode));
        return;
    }
    if (kept.isObject()) {
        QJsonObject document = kept.object();
        document.insert(JsonKey::exitCode, exitCode);
        kept.setObject(document);
    }
    Console::outBytes(kept.toJson());
}

QByteArray errorDocument(const QString &sentence, int exitCode)
{
    QJsonObject document;
    document.insert(JsonKey::error, sentence);
    document.insert(JsonKey::exitCode, exitCode);
    return QJsonDocument(document).toJson();
}

QJsonValue pathOrNull(const QString &path)
{
    return path.isEmpty() ? QJsonValue() : QJsonValue(path);
}

QJsonObject channel(const Channel &record)
{
    QJsonObject object;
    object.insert(JsonKey::name, record.name);
    object.insert(JsonKey::frequency, record.frequency.text());
    return object;
}

QJsonArray memory(const Channels &channels)
{
    QJsonArray array;
    for (int k = 0; k < channels.size(); ++k) {
        QJsonObject object = channel(channels.at(k));
        object.insert(JsonKey::channel, k);
        array.append(object);
    }
    return array;
}

QJsonArray problems(const QVector<ChannelProblem> &problems)
{
    QJsonArray array;
    for (const ChannelProblem &problem : problems) {
        QJsonObject object;
        object.insert(JsonKey::record, problem.channel >= 0 ? QJsonValue(problem.channel) : QJsonValue());
        object.insert(JsonKey::line, problem.line > 0 ? QJsonValue(qint64(problem.line)) : QJsonValue());
        object.insert(JsonKey::field, fieldWord(problem.field));
        object.insert(JsonKey::reason, problem.text);
        array.append(object);
    }
    return array;
}

QJsonArray differences(const QVector<ChannelComparison::Difference> &differences, QLatin1String firstKey,
                       QLatin1String secondKey)
{
    QJsonArray array;
    for (const ChannelComparison::Difference &difference : differences) {
        QJsonObject object;
        object.insert(JsonKey::channel, difference.channel);
        object.insert(firstKey, channel(difference.first));
        object.insert(secondKey, channel(difference.second));
        array.append(object);
    }
    return array;
}

QJsonObject refusedFile(const QString &file, const QVector<ChannelProblem> &problems)
{
    QJsonObject document;
    document.insert(JsonKey::file, file);
    document.insert(JsonKey::outcome, JsonValue::refused);
    document.insert(JsonKey::message, Console::firstFailure());
    document.insert(JsonKey::problems, JsonOutput::problems(problems));
    return document;
}

QJsonObject merged(QJsonObject object, const QJsonObject &more)
{
    for (auto it = more.constBegin(); it != more.constEnd(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

} // namespace JsonOutput
