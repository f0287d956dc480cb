#pragma once

#include "RadioConnection.h"

#include <functional>

// Many radios at once: one thread per port, each with a connection of its
// own, so that ten radios take about as long as one. A radio job spends
// nearly all its time waiting on its line, so the threads cost little.
namespace Session {

struct PortJobs {
    QStringList ports;
    Link::WireTrace *trace = nullptr; // shared by every port's line, when given
    Link::StopRequested stopRequested;
    // Runs on the port's own thread once a radio answered there; the
    // connection is closed when it returns.
    std::function<void(int port, RadioConnection &radio)> job;
    // Runs on the calling thread as each port is done (its radio's job
    // ended, or no radio answered there), in the order they end.
    std::function<void(int port, const RadioConnection::Search &search)> ended;
    // Runs on the calling thread every `pollInterval` ms while any port is
    // busy: for a progress display.
    std::function<void()> waiting;
    int pollInterval = 100;
};

// Probes every port at once and runs the job on each radio found; returns
// when every port is done.
void runOnEveryPort(const PortJobs &jobs);

} // namespace Session
