#pragma once

#include "ChannelCsv.h"
#include "ChannelFileCheck.h"
#include "CsvTable.h"

#include <QString>

// The word for standard input where a channel file is named.
constexpr char standardInputName[] = "-";
// The word for the radio's memory where a channel list is named (diff).
constexpr char radioWord[] = "radio";

// A channel file the tool was given, read whole; "-" is standard input.
// False, with the reason printed, when it cannot be read.
bool loadChannelFile(const QString &fileName, CsvTable &table);

// Before anything else is done: every file named can be read (standard
// input at most once). The exit code, 0 when all can; the reason printed.
int checkInputs(const QStringList &fileNames);

// How a file is named in messages: its name, or "standard input".
QString fileLabel(const QString &fileName);

// Each problem on a line of its own (file:line: channel N: what), then
// "<file> has N problem(s)<advice>.", where %1 in the advice is "it" or
// "them". True when there were any.
bool reportProblems(const QString &fileName, const QVector<ChannelProblem> &problems, const QString &advice);
// The same two parts, to be said later.
QStringList problemLines(const QString &fileName, const QVector<ChannelProblem> &problems);
QString problemsSentence(const QString &fileName, const QVector<ChannelProblem> &problems, const QString &advice);
