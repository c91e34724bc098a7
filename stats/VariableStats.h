#pragma once
// One variable's statistics row (the -stats table, docs/stats.md): over a
// window of its step series, the mean with the standard error of a
// correlated series, spread, drift, orders dropped (residuals) and SU2's
// Cauchy value, with notes on what makes them doubtful. Where the run's time
// step varies, means are time averages; a periodic variable is averaged over
// whole periods and gets its period and amplitude.
//
//     StepSeries series = stepSeries(*database.getVariable(name));
//     VariableStats row = summarize(series, {});          // -window auto
//     // row.mean ± 1.96 * row.stdError: a 95% interval of the mean

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "stats/Cauchy.h"
#include "stats/StepSeries.h"

namespace stats {

struct StatsOptions {
    // The last windowSteps values of the series; 0: the settled part, by
    // MSER (-window auto). SIZE_MAX: the whole series.
    size_t windowSteps = 0;
    // Steps of the Cauchy value (-cauchy K).
    size_t cauchySteps = kDefaultCauchySteps;
    // A residual (CATEGORY RESIDUAL): ORDERS is computed.
    bool residual = false;
    // Its values are log10 values (scale = log10), as SU2 writes residuals.
    bool log10Values = false;
};

// Statistics over the window; NaN where undefined (no value; STD, STDERR and
// NEFF need two values).
struct VariableStats {
    size_t count = 0;        // values in the window
    size_t windowStart = 0;  // index of the window's first value in the series
    int32_t firstStep = 0;   // the window's first and last steps
    int32_t lastStep = 0;
    double mean = NAN;
    double stdDev = NAN;  // sample standard deviation (n - 1)
    double min = NAN;
    double max = NAN;
    double stdError = NAN;         // stdDev * sqrt(tau / count)
    double neff = NAN;             // count / tau
    double tau = NAN;              // integrated autocorrelation time
    double drift = NAN;            // least-squares slope times (lastStep - firstStep)
    double last = NAN;             // the window's last value
    std::optional<double> orders;  // residuals only
    std::optional<double> cauchy;
    // Periodic variables only: the period (in the run's TIME when it has
    // one, else in steps), its inverse, and the mean over the window's
    // periods of half their peak-to-peak.
    std::optional<double> period;
    std::optional<double> frequency;
    std::optional<double> amplitude;

    bool notSettled = false;    // the automatic cut left less than half: window is the second half
    bool tooShort = false;      // count < 50 tau; for a periodic variable, fewer than 5 periods
    bool drifting = false;      // Geweke's |z| (periodic: the period means' trend) above 3
    bool timeWeighted = false;  // the time step varies: MEAN and STD are time averages

    bool periodic() const { return period.has_value(); }
    // "not-settled", "too-short", "drifting", "periodic", space-separated;
    // empty when none.
    std::string note() const;
};

// A window shorter than this many autocorrelation times is too short.
constexpr double kShortWindowTaus = 50;

VariableStats summarize(const StepSeries& series, const StatsOptions& options);

}  // namespace stats
