#include "Probe.h"

#include "LinkConstants.h"
#include "Reply.h"

#include <QIODevice>

namespace Link {

const RadioModel *probeRadio(QIODevice &port, const ProbeProgress &progress)
{
    discardInput(port);
    port.write(pingCommand);
    if (!port.waitForReadyRead(pingFirstByteTimeout))
        return nullptr;
    QByteArray answer;
    collectReply(port, answer, pingQuietTime);
    // A line that echoes what it is sent repeats the ping; that counts too.
    if (!answer.contains(pingCommand) && !answer.contains(pingAnswer))
        return nullptr;
    if (progress)
        progress(ProbeStage::Alive);

    port.write(identifyCommand);
    if (!port.waitForReadyRead(identifyFirstByteTimeout))
        return nullptr;
    if (progress)
        progress(ProbeStage::Read);
    collectReply(port, answer, identifyQuietTime);
    return RadioModels::identify(answer);
}

} // namespace Link
