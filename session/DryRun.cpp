#include "DryRun.h"

#include "RadioConnection.h"

namespace Session {

DryRunReport dryRun(RadioConnection &radio, BackupStore *store, const WriteRequest &request,
                    const JobObserver &observer)
{
    DryRunReport report;
    report.problems = ChannelFileCheck::check(request.channels, radio.model(), request.rules);
    if (report.refused())
        return report;
    report.read = readRadio(radio, store, Phase::Reading, observer);
    if (!report.readComplete())
        return report;
    report.differences = ChannelComparison::differences(report.read.channels, request.channels, radio.model());
    report.wouldEmpty = request.refuseEmptying
        && emptiesMostChannels(report.read.channels, request.channels, radio.model(), &report.emptied,
                               &report.usedBefore);
    return report;
}

} // namespace Session
