#pragma once
// The dominant period of a series of equally spaced values, from its
// autocorrelation, and the statistics of its whole periods (docs/stats.md,
// "Periodic signals").
//
// The autocorrelation is taken at lags of whole blocks, from the means of
// blocks of b = ceil(n / kPeriodSearchBlocks) values (b = 1, the values
// themselves, for shorter series), all lags at once by FFT, and divided by
// the values' own variance, so that it estimates their autocorrelation
// whatever the block. After its first zero crossing, the first positive lobe
// whose largest value reaches kPeriodicCorrelation is the period; the peak is
// refined between lags (a parabola), and then by the times at which the
// series rises through its mean (docs/stats.md).

#include <cstddef>
#include <vector>

namespace stats {

constexpr size_t kPeriodSearchBlocks = 8192;
constexpr double kPeriodicCorrelation = 0.5;
// Shorter periods (in blocks) are not told from noise.
constexpr double kShortestPeriodBlocks = 4;
// A period must fit this many times in the series to be found.
constexpr size_t kPeriodsToFind = 2;
// A rise through the mean counts once the series has gone this many
// standard deviations beyond it on either side.
constexpr double kRiseBand = 0.5;
// The period from the rises is taken when it is within this share of the
// autocorrelation's.
constexpr double kRiseAgreement = 0.05;
// Fewer whole periods than this in a window are too few to estimate an
// error from.
constexpr size_t kFewestPeriods = 5;

// The dominant period in values (not a whole number in general), or 0 when
// the series has none. variance: the values' variance about their mean
// (dividing by n).
double dominantPeriod(const double* x, size_t n, double variance);

// Whole periods of n values at positions 0..n-1, ending at the last:
// period j of `periods` spans [s_j, s_j + period], s_j = n - 1 - (periods -
// j) period. A period is not a whole number of values in general: its mean
// is that of the straight lines between the values (the trapezoidal rule),
// so that the means of a periodic series do not change with where the
// values fall in each period.

// How many whole periods the n values hold.
size_t wholePeriods(size_t n, double period);
// The first value at or after s_j (n for j = periods).
size_t periodStart(size_t n, double period, size_t periods, size_t j);
// The mean of each period.
std::vector<double> periodMeans(const double* x, size_t n, double period, size_t periods);
// The mean of the straight lines between the values over [from, to]
// (0 <= from < to <= n - 1).
double intervalMean(const double* x, size_t n, double from, double to);

}  // namespace stats
