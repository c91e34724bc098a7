#pragma once
// The rows of the statistics table (-stats) as data: each selected
// variable's statistics over its window, and with -converged or -reference
// its verdict. The command writes them as a table (StatsTable.cpp); the
// Python module returns them as a DataFrame.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "export/StatsSettings.h"
#include "stats/ReferenceComparison.h"
#include "stats/VariableStats.h"
#include "stats/Verdict.h"

class MonDatabase;
class MonVariableRule;

namespace exporter {

struct StatsReportRow {
    std::string name;
    bool present = true;  // false: the run lacks the variable (REASON "missing")
    stats::VariableStats stats;
    std::optional<double> reference;
    std::optional<stats::Comparison> comparison;
    stats::Verdict verdict;  // met when there is nothing to meet
};

struct StatsReport {
    std::vector<StatsReportRow> rows;
    bool hasReference = false;  // REFERENCE and DIFFERENCE columns
    bool hasVerdict = false;    // VERDICT and REASON columns

    // Every row met its criteria and its reference: exit status 0.
    bool allMet() const;
};

// The rows: the -varlist names (with a verdict, names the run lacks too) and
// the -varrule matches; without either, when a verdict is asked for, the
// variables the criteria match and those of the reference, else every
// variable. Record keys are left out. Steps from firstStep to lastStep
// (0 or below: open end). The variables are computed in parallel.
// Throws owl::Error for an unknown listed name (without a verdict), a
// criterion whose rule matches no variable.
StatsReport statsReport(const MonDatabase& database, const std::vector<std::string>& varList,
                        const MonVariableRule* rule, const StatsSettings& settings,
                        int32_t firstStep, int32_t lastStep);

}  // namespace exporter
