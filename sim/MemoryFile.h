#pragma once

#include "Channel.h"

#include <QString>

class RadioMemory;

// The virtual radio's memory in a channel CSV file, the same format the
// program opens and saves: record k is channel k.
namespace MemoryFile {

// Stores record k into channel k as the program would write it (an empty
// frequency is the empty channel); channels without a record become empty,
// records beyond the memory are ignored. False when the file does not open.
bool load(const QString &fileName, RadioMemory &memory);

// Writes every channel as the program shows it after a read. False when
// the file could not be written.
bool save(const QString &fileName, const RadioMemory &memory);

// Every channel, as the program shows it after a read.
Channels recordsOf(const RadioMemory &memory);
// Record k into channel k, as `load` stores it.
void setRecords(RadioMemory &memory, const Channels &records);

} // namespace MemoryFile
