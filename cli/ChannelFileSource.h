#pragma once

#include "ChannelCsv.h"
#include "ChannelFileCheck.h"
#include "CsvTable.h"

#include <QString>

// A channel file the tool was given, read whole. False, with the reason
// printed, when it cannot be read.
bool loadChannelFile(const QString &fileName, CsvTable &table);

// Each problem on a line of its own (file:line: channel N: what), then
// "<file> has N problem(s)<advice>." True when there were any.
bool reportProblems(const QString &fileName, const QVector<ChannelProblem> &problems, const QString &advice);
