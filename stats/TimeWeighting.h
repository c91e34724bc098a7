#pragma once
// Statistics of a series sampled at uneven times (an adaptive time step):
// time averages by the trapezoidal rule, and the series resampled onto a
// uniform grid for the methods that assume equal spacing (docs/stats.md).

#include <cstddef>
#include <vector>

namespace stats {

// The times' spacing varies when its largest step exceeds its smallest by
// more than this factor (OpenFOAM writes times in decimal, so the steps of
// a fixed time step differ in their last bits).
constexpr double kVaryingStepRatio = 1.01;
// A grid has at most this many points per record (a run whose median step
// is far below its mean one would otherwise ask for a huge grid).
constexpr size_t kMaxGridPointsPerRecord = 4;

// Whether the steps between the n ascending times vary (above).
bool stepVaries(const double* t, size_t n);

// The median of the n - 1 steps between the times (n >= 2).
double medianStep(const double* t, size_t n);

// The series x(t), linear between its points, on the grid that ends at the
// last time with spacing step: t[n-1] - (m - 1 - k) step for k = 0..m-1,
// m the most that fit from t[0] on (the step widened so that m is at most
// kMaxGridPointsPerRecord * n). *usedStep gets the spacing used.
std::vector<double> resampleAtEnd(const double* t, const double* x, size_t n, double step,
                                  double* usedStep);

// The time average of x over [from, t[n-1]] (from >= t[0]; x at from
// interpolated) and the root mean square deviation from it, by the
// trapezoidal rule.
struct TimeAverage {
    double mean = 0;
    double stdDev = 0;
};
TimeAverage timeAverage(const double* t, const double* x, size_t n, double from);

// The index of the first of the n ascending times at or after time (n when
// none is), allowing for a rounding error of the time.
size_t firstAtOrAfter(const double* t, size_t n, double time);

}  // namespace stats
