#include "JsonOutput.h"

#include "Console.h"

#include <QJsonDocument>

namespace JsonOutput {

namespace {

bool wanted = false;
bool printed = false;

void printDocument(const QJsonDocument &document)
{
    printed = true;
    Console::outBytes(document.toJson());
}

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
    printDocument(QJsonDocument(document));
}

void print(const QJsonArray &document)
{
    printDocument(QJsonDocument(document));
}

void finish(int exitCode)
{
    if (!wanted || printed)
        return;
    QJsonObject document;
    document.insert(JsonKey::error, Console::firstFailure());
    document.insert(JsonKey::exitCode, exitCode);
    print(document);
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
        object.insert(JsonKey::record, problem.channel);
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

QJsonObject merged(QJsonObject object, const QJsonObject &more)
{
    for (auto it = more.constBegin(); it != more.constEnd(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

} // namespace JsonOutput
