#pragma once
// Whether a variable meets its convergence tests, and if not, the first
// test it fails in words (the VERDICT and REASON columns).

#include <string>
#include <vector>

#include "stats/ConvergenceCriteria.h"
#include "stats/StepSeries.h"
#include "stats/VariableStats.h"

namespace stats {

struct Verdict {
    bool met = true;
    std::string reason;  // empty when met
};

// series: the variable's step series; row: its statistics (summarize).
Verdict evaluate(const std::vector<CriterionTest>& tests, const StepSeries& series,
                 const VariableStats& row);

// The verdict of a variable that the run lacks.
Verdict missingVerdict();

// Why the window's mean and STDERR cannot be trusted, in words for REASON
// ("window not settled, too short, drifting"); empty when NOTE names no
// doubt (it is empty, or `periodic` alone).
// The tests that rely on them (stderr, the reference check) fail with it.
std::string windowDoubt(const VariableStats& row);

}  // namespace stats
