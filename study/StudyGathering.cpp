#include "study/StudyGathering.h"

#include "libs/mondata/formats/monitor/MonitorFileParser.h"
#include "stats/ParallelFor.h"

namespace study {

std::vector<StudyRow> gatherRows(const std::vector<std::string>& runs,
                                 const StudySettings& settings, unsigned workers) {
    if (workers == 0) workers = stats::statsWorkers();
    std::vector<StudyRow> rows(runs.size());
    // The cores go to runs side by side, not to pieces of one run's file.
    const bool sideBySide = workers > 1 && runs.size() > 1;
    if (sideBySide) mon::forceLoadWorkers(1);
    stats::parallelFor(runs.size(), workers,
                       [&](size_t i) { rows[i] = readRow(runs[i], settings); });
    if (sideBySide) mon::forceLoadWorkers(0);
    return rows;
}

}  // namespace study
