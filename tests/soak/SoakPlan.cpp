#include "SoakPlan.h"

#include "Frequency.h"
#include "RadioModels.h"

#include <csignal>
#include <random>

namespace Soak {

namespace {

constexpr int twentyChannelModel = 1; // VKR627S
constexpr int hundredChannelModel = 0; // VKR627A

// Bytes the radio hears in an operation on n channels: the probe (6), a
// read (2 + n), a write (2 + 12 n + 1); a write reads before and after.
int bytesHeard(Operation operation, int channels)
{
    const int probe = 6;
    const int read = 2 + channels;
    const int write = 2 + 12 * channels + 1;
    switch (operation) {
    case Operation::ToolWrite:
    case Operation::ToolWriteThree:
    case Operation::WindowWrite: return probe + read + write + read;
    default: return probe + read;
    }
}

class Draw
{
public:
    explicit Draw(quint32 seed)
        : random(seed)
    {
    }
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    QString name()
    {
        static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
        QString text;
        for (int k = between(0, RadioModels::series().nameLength); k > 0; --k)
            text += letters.at(between(0, letters.size() - 1));
        return text;
    }

    QString frequency()
    {
        for (;;) {
            const QString text = QStringLiteral("%1.%2")
                                     .arg(between(118, 136))
                                     .arg(between(0, 199) * 5, 3, 10, QLatin1Char('0'));
            if (Frequency::fromText(text).isChannelOf(RadioModels::airBand))
                return text;
        }
    }

    // Channels a write takes: a channel at 118.000 has a name, else it would
    // be the radio's empty channel.
    TypedChannels channels(int count)
    {
        TypedChannels drawn;
        for (int i = 0; i < count; ++i) {
            Typed channel = between(0, 3) == 0 ? Typed{} : Typed{name(), frequency()};
            if (channel.name.isEmpty() && channel.frequency == QLatin1String("118.000"))
                channel.name = QStringLiteral("LOW");
            drawn.append(channel);
        }
        return drawn;
    }

private:
    std::mt19937 random;
};

} // namespace

QString operationName(Operation operation)
{
    static const char *const names[operationCount] = {"vkrtool write", "vkrtool read", "window read", "window write",
                                                      "three vkrtool writes at once"};
    return QLatin1String(names[int(operation)]);
}

QStringList faultNames()
{
    return {"no fault", "unplug after k bytes", "NAK of frame k", "no answer to frame k",
            "stray byte before the command", "frame split by a pause", "one-byte frame", "channel stored wrongly",
            "silent after k frames", "stray byte before frame k", "Ctrl+C after k bytes of a write",
            "SIGTERM after k bytes of a write", "a locked port beside the radio"};
}

QString Cycle::describe() const
{
    const RadioFaults &f = radio.faults;
    QString numbers;
    switch (fault) {
    case Fault::UnplugAfterBytes: numbers = QStringLiteral(" k=%1").arg(f.unplugAfterBytes); break;
    case Fault::NakOfFrame: numbers = QStringLiteral(" k=%1").arg(f.nakFrame); break;
    case Fault::NoAnswerToFrame: numbers = QStringLiteral(" k=%1").arg(f.unansweredFrame); break;
    case Fault::FrameSplitByPause:
        numbers = QStringLiteral(" frame %1 at byte %2, %3 ms").arg(f.pauseFrame).arg(f.pauseOffset).arg(f.pauseTime);
        break;
    case Fault::OneByteFrame: numbers = QStringLiteral(" k=%1").arg(f.oneByteFrame); break;
    case Fault::ChannelStoredWrongly: numbers = QStringLiteral(" k=%1").arg(f.corruptChannel); break;
    case Fault::SilentAfterFrames: numbers = QStringLiteral(" k=%1").arg(f.stopAfterFrames); break;
    case Fault::StrayByteBeforeFrame: numbers = QStringLiteral(" k=%1").arg(f.strayByteBeforeFrame); break;
    case Fault::CtrlCDuringWrite:
    case Fault::SigtermDuringWrite: numbers = QStringLiteral(" k=%1").arg(signalAfterBytes); break;
    default: break;
    }
    return QStringLiteral("%1 under %2%3, %4 channels")
        .arg(operationName(operation), faultNames().at(int(fault)), numbers)
        .arg(memory.size());
}

Cycle plan(int number, quint32 runSeed)
{
    Cycle cycle;
    cycle.number = number;
    Draw draw(runSeed + quint32(number) * 7919u);
    cycle.operation = Operation(draw.between(0, operationCount - 1));
    cycle.fault = Fault(draw.between(0, faultCount - 1));
    // A signal is a user's (or a session manager's) stop of vkrtool write.
    const bool signalled = cycle.fault == Fault::CtrlCDuringWrite || cycle.fault == Fault::SigtermDuringWrite;
    if (signalled)
        cycle.operation = Operation::ToolWrite;
    // Most faults need no more than 20 channels; a tenth of the cycles use
    // a 100-channel radio all the same.
    cycle.radio.model = draw.between(0, 9) == 0 ? hundredChannelModel : twentyChannelModel;
    const int channels = RadioModels::all[cycle.radio.model].channelCount;
    RadioFaults &f = cycle.radio.faults;
    const int k = draw.between(0, channels - 1);
    switch (cycle.fault) {
    case Fault::None: break;
    case Fault::UnplugAfterBytes: f.unplugAfterBytes = draw.between(7, bytesHeard(cycle.operation, channels)); break;
    case Fault::NakOfFrame: f.nakFrame = k; break;
    case Fault::NoAnswerToFrame: f.unansweredFrame = k; break;
    case Fault::StrayByteBeforeCommand: f.strayByteAfterTransfer = true; break;
    case Fault::FrameSplitByPause:
        f.pauseFrame = k;
        f.pauseOffset = draw.between(1, 9);
        f.pauseTime = draw.between(50, 600);
        break;
    case Fault::OneByteFrame: f.oneByteFrame = k; break;
    case Fault::ChannelStoredWrongly: f.corruptChannel = k; break;
    case Fault::SilentAfterFrames: f.stopAfterFrames = k; break;
    case Fault::StrayByteBeforeFrame: f.strayByteBeforeFrame = k; break;
    case Fault::CtrlCDuringWrite:
    case Fault::SigtermDuringWrite:
        cycle.signal = cycle.fault == Fault::CtrlCDuringWrite ? SIGINT : SIGTERM;
        cycle.signalAfterBytes = draw.between(1, bytesHeard(cycle.operation, channels));
        // The radio takes its time, so that a signal lands where it was drawn.
        f.answerDelay = draw.between(0, 30);
        break;
    case Fault::LockedPortBeside: break;
    }
    cycle.memory = storedFrames(draw.channels(channels), channels);
    cycle.toWrite = draw.channels(channels);
    return cycle;
}

} // namespace Soak
