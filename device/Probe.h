#pragma once

#include "RadioModels.h"

#include <functional>

class QIODevice;

namespace Link {

// How far a probe got, for the device label.
enum class ProbeStage {
    Alive, // the port answered the ping
    Read,  // the port began to answer the identify request
};

using ProbeProgress = std::function<void(ProbeStage)>; // may be empty

// The ping and identify exchanges on an open port: discards what the port
// holds, pings and checks the answer, then asks for the model text and
// identifies the model. Null when the port stays silent, answers the ping
// wrongly or sends no known model text.
const RadioModel *probeRadio(QIODevice &port, const ProbeProgress &progress = {});

} // namespace Link
