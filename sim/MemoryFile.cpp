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

ChannelRecords recordsOf(const RadioMemory &memory)
{
    ChannelRecords records;
    for (int i = 0; i < memory.channelCount(); ++i) {
        const Link::ReceivedChannel channel = memory.channel(i);
        records.append({channel.name, channel.frequency});
    }
    return records;
}

void setRecords(RadioMemory &memory, const ChannelRecords &records)
{
    for (int i = 0; i < memory.channelCount(); ++i) {
        const ChannelRecord record = records.value(i);
        memory.setChannel(i, record.name, record.frequency);
    }
}

} // namespace MemoryFile
