// libFuzzer target for the read loop over arbitrary bytes from a radio, on a
// simulated clock: any answers must end the read without a crash, leak or
// undefined behaviour, rows must come in order and within the memory, and
// a read reported complete must have had a whole frame for every channel,
// each a channel a radio stores: on the raster, no control bytes in names.
#include "ChannelRules.h"
#include "ChannelTransfer.h"
#include "FuzzSupport.h"
#include "LinkConstants.h"
#include "ScriptedAnswers.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int channelCount = input.ConsumeBool() ? 20 : 100;
    ScriptedPort port(drawAnswers(input, channelCount + 2));

    int rows = 0;
    bool allStorable = true;
    const Link::ReadResult result =
        Link::readChannelMemory(port, channelCount, [&](int row, const Channel &channel, const QByteArray &) {
            check(row == rows, "rows out of order");
            ++rows;
            const bool frequencyStored = channel.frequency.isEmpty() || channel.frequency.isChannelOf(RadioModels::airBand);
            const bool nameStored = std::none_of(channel.name.cbegin(), channel.name.cend(),
                                                 [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
            allStorable = allStorable && frequencyStored && nameStored;
        });
    check(result.received == rows, "received count differs from rows handed over");
    check(result.received <= channelCount, "more rows than the memory holds");
    check(result.shortFrames <= result.received, "more short frames than frames");
    check(port.written == Link::readMemoryCommand + Link::ackByte.repeated(rows), "wrong bytes sent");
    if (result.isComplete(channelCount)) {
        check(port.delivered.size() >= channelCount * Link::frameLength, "a complete read without whole frames");
        check(allStorable, "a complete read with a channel no radio stores");
    }
    return 0;
}
