#pragma once
// monexport -study: one table row per run of a study (see docs/monexport.1).

#include <string>
#include <vector>

#include "export/TimeRange.h"
#include "study/StudySettings.h"

namespace study {

struct StudyOptions {
    std::vector<std::string> patterns;
    std::string matrixFile;  // empty: parameters from the paths
    std::string outFile;     // empty: standard output
    std::string varList, varRule;
    StudyMode mode = StudyMode::LastValues;
    exporter::StatsSettings stats;
    exporter::TimeRange times;  // -firsttime, -lasttime: each run's statistics
    bool header = true;
    unsigned workers = 0;  // 0: the usable cores
};

// Writes the table and returns 0, or 1 when a run failed its verdict
// (-converged, -reference) or, with a verdict, could not be read. Throws
// owl::Error when no path matches, when an option is wrong, when a criterion
// rule matches no variable of any run, or (after the table) when no run
// could be read.
int runStudy(const StudyOptions& options);

}  // namespace study
