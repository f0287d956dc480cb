#pragma once

#include "ChannelCsv.h"
#include "CsvTable.h"

#include <QString>

// A channel file the tool was given, read whole. False, with the reason
// printed, when it cannot be read.
bool loadChannelFile(const QString &fileName, CsvTable &table);

// How a channel shows in the tool's messages: TOWER 121.500, or (empty).
QString describeChannel(const ChannelRecord &record);
