#pragma once
// How far a window's values moved, and whether they have clearly not
// stopped moving.

#include <cstddef>
#include <cstdint>

namespace stats {

// The slope of the least-squares line of values over steps, times the
// window's length in steps (last - first): what the trend moved across the
// window, in the values' units. 0 for fewer than two steps. meanValue: the
// values' mean (MEAN), which the caller has.
double driftAcross(const int32_t* steps, const double* values, size_t n, double meanValue);

// The same for n equally spaced values: the slope per value times n - 1.
double driftAcross(const double* values, size_t n, double meanValue);

// Geweke's diagnostic: the means of the first kGewekeFirst and the last
// kGewekeLast of the window, compared with the standard error of their
// difference, each part's from its own autocorrelation time.
struct GewekeTest {
    // |mean of first part - mean of last part| / its standard error above
    // kGewekeLimit.
    bool drifting = false;
};

constexpr double kGewekeFirst = 0.1;
constexpr double kGewekeLast = 0.5;
// |z| above this is drifting: a stationary series stays below it far more
// often than 95% of the time (docs/stats.md has the measured rate).
constexpr double kGewekeLimit = 3.0;
// Parts shorter than this tell nothing.
constexpr size_t kGewekeMinimumPart = 10;

GewekeTest gewekeTest(const double* values, size_t n);

// The trend of a few nearly independent values (the means of a periodic
// series' whole periods): the least-squares slope over its standard error,
// drifting above kGewekeLimit. Fewer than kFewestTrendValues are not tested,
// nor a rise across them below negligible (the rounding of the values).
struct TrendTest {
    double slope = 0;  // per value
    double z = 0;
    bool drifting = false;
};
constexpr size_t kFewestTrendValues = 5;
TrendTest trendTest(const double* values, size_t n, double negligible);

}  // namespace stats
