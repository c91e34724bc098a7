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
#include "libs/mondata/model/NameEncoding.h"
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
    // The -converged rules that match no variable of the run, as written.
    std::vector<std::string> unmatchedRules;

    // Every row met its criteria and its reference, and every criterion
    // matched a variable: exit status 0.
    bool allMet() const;
};

// The rows: the -varlist names (with a verdict, names the run lacks too),
// the -varrule matches, then every other variable a -converged criterion
// matches, so that no criterion goes unjudged. Without a selection: every
// variable but the times (simulation time, time-step sizes); with a verdict,
// those the criteria match and those of the reference. Record keys are left
// out; a time is a row only when named. Steps from firstStep to lastStep
// (0 or below: open end). Names, listed and in the rows, are spelled in
// bytes, the criteria's rules read so too. The variables are computed in
// parallel.
// Throws owl::Error for an unknown listed name (without a verdict).
StatsReport statsReport(const MonDatabase& database, const std::vector<std::string>& varList,
                        const MonVariableRule* rule, const StatsSettings& settings,
                        int32_t firstStep, int32_t lastStep, mon::NameEncoding bytes);

// Throws owl::Error naming the first criterion rule that matched nothing:
// an error of the command line for a single run.
void requireMatchedCriteria(const StatsReport& report);

}  // namespace exporter
