#pragma once

#include "PortLock.h"
#include "RadioModels.h"
#include "Reply.h"

#include <QByteArray>

#include <functional>

class QIODevice;

namespace Link {

// How far a probe got, for the device label.
enum class ProbeStage {
    Alive, // the port answered the ping
    Read,  // the port began to answer the identify request
};

using ProbeProgress = std::function<void(ProbeStage)>; // may be empty

// What a probe met, for telling a user why no radio was found.
struct ProbeReport {
    bool answeredPing = false;     // with the ping answer (or the ping echoed)
    QByteArray pingAnswer;         // what came back to the ping
    bool answeredIdentify = false; // something came back to the identify request
    QByteArray modelText;          // what that was
    bool stopped = false;          // a stop was requested before the probe ended
    PortLock lock;                 // held: another live process locks the port, which was left alone
};

// The ping and identify exchanges on an open port: discards what the port
// holds, pings and checks the answer, then asks for the model text and
// identifies the model. Null when the port stays silent, answers the ping
// wrongly or sends no known model text; `report`, when given, says which.
// A stop request ends the probe within a few dozen milliseconds.
const RadioModel *probeRadio(QIODevice &port, const ProbeProgress &progress = {},
                             const StopRequested &stopRequested = {}, ProbeReport *report = nullptr);

} // namespace Link
