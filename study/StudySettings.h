#pragma once
// What a study reads from each run: the selected variables (-varlist,
// -varrule, as for one run) and what becomes of each (its last value, or
// its statistics as -stats computes them, with -converged its verdict).

#include <memory>
#include <string>
#include <vector>

#include "export/StatsSettings.h"
#include "export/TimeRange.h"

class MonVariableRule;

namespace study {

enum class StudyMode { LastValues, Stats };

// Digits after the point of the table's scientific fields, as for one run.
constexpr int kStudyPrecision = 8;

struct StudySettings {
    std::vector<std::string> varList;
    std::shared_ptr<const MonVariableRule> varRule;  // none: no rule
    StudyMode mode = StudyMode::LastValues;
    exporter::StatsSettings stats;  // window, criteria and references of -stats
    exporter::TimeRange times;      // the statistics' records (-firsttime, -lasttime)
};

}  // namespace study
