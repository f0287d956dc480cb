#include "Probe.h"

#include "LinkConstants.h"

#include <QIODevice>

namespace Link {

const RadioModel *probeRadio(QIODevice &port, const ProbeProgress &progress, const StopRequested &stopRequested,
                             ProbeReport *report)
{
    ProbeReport ignored;
    ProbeReport &met = report ? *report : ignored;
    met = ProbeReport();
    const auto stopped = [&] { return met.stopped = stopRequested && stopRequested(); };

    discardInput(port);
    port.write(pingCommand);
    if (!waitForBytes(port, pingFirstByteTimeout, stopRequested)) {
        stopped();
        return nullptr;
    }
    collectReply(port, met.pingAnswer, pingQuietTime, stopRequested);
    // A line that echoes what it is sent repeats the ping; that counts too.
    met.answeredPing = met.pingAnswer.contains(pingCommand) || met.pingAnswer.contains(pingAnswer);
    if (stopped() || !met.answeredPing)
        return nullptr;
    if (progress)
        progress(ProbeStage::Alive);

    port.write(identifyCommand);
    if (!waitForBytes(port, identifyFirstByteTimeout, stopRequested)) {
        stopped();
        return nullptr;
    }
    met.answeredIdentify = true;
    if (progress)
        progress(ProbeStage::Read);
    collectReply(port, met.modelText, identifyQuietTime, stopRequested);
    if (stopped())
        return nullptr;
    return RadioModels::identify(met.modelText);
}

} // namespace Link
