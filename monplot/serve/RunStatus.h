#pragma once
// What the runs page shows of a run, worked out once per reading: its last
// step and time, whether its last records hold nan or inf, whether its log
// ends in a solver's fatal error, the last values of the chosen variables,
// and the live verdict of -converged. The state (running, idle, ...) is
// told from these and the clock when asked.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "stats/ConvergenceCriteria.h"

class MonDatabase;

namespace serve {

struct RunStatus {
    std::optional<int32_t> lastStep;
    std::optional<double> lastTime;  // TIME at the last step, when the run has one
    std::string divergence;          // "p: nan at step 18", empty when the last values are finite
    std::string failure;             // the fatal error the log ends with, empty when none
    std::vector<std::pair<std::string, double>> lastValues;  // name, value (NaN: none)
    bool judged = false;                                     // criteria were given
    bool met = false;
    std::string reason;  // the first variable that fails and why
};

struct StatusSettings {
    std::vector<std::string> variables;  // whose last values are shown
    std::vector<stats::Criterion> criteria;
};

RunStatus statusOf(const MonDatabase& run, const StatusSettings& settings);

// The solver's fatal error at the end of a log ("FOAM FATAL ERROR: ...",
// a floating point exception), from the last 16 KiB of the file; empty when
// it ends otherwise or cannot be read.
std::string fatalErrorAtEnd(const std::string& file);

enum class RunState { Running, Idle, Diverged, Failed, Unreadable };

// "running", "idle", ...: the name the page shows and sorts by.
const char* stateName(RunState state);

// A run that grew (newest file time) within the last minute is running.
constexpr int64_t kRunningSeconds = 60;

}  // namespace serve
