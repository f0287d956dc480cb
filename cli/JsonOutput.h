#pragma once

#include "ChannelComparison.h"
#include "ChannelFileCheck.h"
#include "JsonKeys.h"

#include <QJsonArray>
#include <QJsonObject>

// vkrtool's documents for programs (--json): one JSON document on standard
// output per run, its keys those of JsonKeys.h; the lines for people go to
// standard error meanwhile.
namespace JsonOutput {

void enable();
bool enabled();

// Prints the run's document.
void print(const QJsonObject &document);
void print(const QJsonArray &document);

// As the program ends: a run with --json that printed no document (it
// failed before it had a result) prints {"error": why, "exitCode": code}.
void finish(int exitCode);

QJsonValue pathOrNull(const QString &path);
// {"name": ..., "frequency": ...}
QJsonObject channel(const Channel &record);
// Every channel with its number: [{"channel": 0, "name": ..., "frequency": ...}, ...]
QJsonArray memory(const Channels &channels);
QJsonArray problems(const QVector<ChannelProblem> &problems);
// Each difference as {"channel": k, <firstKey>: channel, <secondKey>: channel}.
QJsonArray differences(const QVector<ChannelComparison::Difference> &differences, QLatin1String firstKey,
                       QLatin1String secondKey);
// `object` with the keys of `more` added.
QJsonObject merged(QJsonObject object, const QJsonObject &more);

} // namespace JsonOutput
