#include "EveryPort.h"

#include <QThread>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace Session {

void runOnEveryPort(const PortJobs &jobs)
{
    const int count = jobs.ports.size();
    std::vector<RadioConnection::Search> searches(static_cast<size_t>(count));
    std::mutex mutex;
    std::condition_variable done;
    std::deque<int> finished; // ports whose thread is done, not yet reported

    // A QThread, not a bare thread: the serial port needs the event
    // dispatcher a QThread gives its thread, even though the link only
    // waits on it.
    std::vector<std::unique_ptr<QThread>> threads;
    for (int k = 0; k < count; ++k) {
        threads.emplace_back(QThread::create([&, k] {
            {
                RadioConnection radio(jobs.trace);
                searches[size_t(k)] = radio.connect({jobs.ports.at(k)}, {}, jobs.stopRequested);
                if (searches[size_t(k)].found && jobs.job)
                    jobs.job(k, radio);
            }
            std::lock_guard<std::mutex> lock(mutex);
            finished.push_back(k);
            done.notify_one();
        }));
        threads.back()->start();
    }

    for (int reported = 0; reported < count;) {
        std::deque<int> now;
        {
            std::unique_lock<std::mutex> lock(mutex);
            done.wait_for(lock, std::chrono::milliseconds(jobs.pollInterval), [&] { return !finished.empty(); });
            now.swap(finished);
        }
        for (const int k : now) {
            threads[size_t(k)]->wait();
            if (jobs.ended)
                jobs.ended(k, searches[size_t(k)]);
            ++reported;
        }
        if (jobs.waiting && reported < count)
            jobs.waiting();
    }
}

} // namespace Session
