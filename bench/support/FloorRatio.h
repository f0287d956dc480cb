#pragma once

#include <QString>
#include <QTextStream>

#include <algorithm>
#include <utility>
#include <vector>

// A run measured against the floor the protocol sets for it in the same
// run: its mandated waits plus the wire time of the bytes that crossed.
struct FloorRun {
    double measured; // ms
    double floor;    // ms
};

inline FloorRun medianRun(std::vector<FloorRun> runs)
{
    std::sort(runs.begin(), runs.end(), [](const FloorRun &a, const FloorRun &b) { return a.measured < b.measured; });
    return runs[runs.size() / 2];
}

// One line per named run (its median), then the worst ratio against the target.
inline void printFloorRatios(QTextStream &out, const std::vector<std::pair<const char *, std::vector<FloorRun>>> &named,
                             const char *target)
{
    double worst = 0;
    for (const auto &entry : named) {
        const FloorRun r = medianRun(entry.second);
        const double ratio = r.measured / r.floor;
        worst = std::max(worst, ratio);
        out << "  " << entry.first << ":  measured " << QString::number(r.measured, 'f', 1) << " ms,  floor "
            << QString::number(r.floor, 'f', 1) << " ms,  ratio " << QString::number(ratio, 'f', 4)
            << "  (overhead " << QString::number(r.measured - r.floor, 'f', 1) << " ms)\n";
    }
    out << "  worst ratio: " << QString::number(worst, 'f', 4) << " (target at most " << target << ")\n";
}
