#include "MemoryFile.h"

#include "ChannelCsv.h"
#include "CsvTable.h"
#include "RadioMemory.h"

namespace MemoryFile {

bool load(const QString &fileName, RadioMemory &memory)
{
    CsvTable table;
    if (!table.read(fileName))
        return false;
    setRecords(memory, ChannelCsv::fromTable(table, static_cast<unsigned>(memory.channelCount())));
    return true;
}

bool save(const QString &fileName, const RadioMemory &memory)
{
    return ChannelCsv::writeFile(fileName, recordsOf(memory));
}

Channels recordsOf(const RadioMemory &memory)
{
    Channels records;
    for (int i = 0; i < memory.channelCount(); ++i)
        records.append(memory.channel(i));
    return records;
}

void setRecords(RadioMemory &memory, const Channels &records)
{
    for (int i = 0; i < memory.channelCount(); ++i)
        memory.setChannel(i, records.value(i));
}

} // namespace MemoryFile
