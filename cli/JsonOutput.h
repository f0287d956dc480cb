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

// Keeps the run's document, printed as the run ends.
void print(const QJsonObject &document);
void print(const QJsonArray &document);

// As the program ends, with its exit code: prints the run's document, an
// object with its exitCode set to the code the program ends with (a trace
// that could not be written makes both 3). A run with --json that has no
// document (it failed before it had a result) prints
// {"error": why, "exitCode": code}.
void finish(int exitCode);

// The bytes of {"error": sentence, "exitCode": code}.
QByteArray errorDocument(const QString &sentence, int exitCode);

QJsonValue pathOrNull(const QString &path);
// {"name": ..., "frequency": ...}
QJsonObject channel(const Channel &record);
// Every channel with its number: [{"channel": 0, "name": ..., "frequency": ...}, ...]
QJsonArray memory(const Channels &channels);
QJsonArray problems(const QVector<ChannelProblem> &problems);
// Each difference as {"channel": k, <firstKey>: channel, <secondKey>: channel}.
QJsonArray differences(const QVector<ChannelComparison::Difference> &differences, QLatin1String firstKey,
                       QLatin1String secondKey);
// A file refused before any radio was looked for: file, outcome refused,
// message (the first failure said) and problems.
QJsonObject refusedFile(const QString &file, const QVector<ChannelProblem> &problems);
// `object` with the keys of `more` added.
QJsonObject merged(QJsonObject object, const QJsonObject &more);

} // namespace JsonOutput
