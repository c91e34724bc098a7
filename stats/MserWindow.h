#pragma once
// The settled part of a series by MSER (White 1997): the series is cut
// into batches aligned to its end; the truncation point is the number of
// leading batches d that minimises the marginal standard error
// Σ_{j>=d} (Z_j - Z̄_d)² / (b - d)² of the b - d remaining batch means Z_j.
// MSER-5 takes batches of 5 values and never cuts into the last
// kMserTailBatches; a periodic series takes batches of one period and never
// cuts into the last kPeriodTailBatches.

#include <cstddef>
#include <vector>

namespace stats {

constexpr size_t kMserBatch = 5;
constexpr size_t kMserTailBatches = 10;
constexpr size_t kPeriodTailBatches = 5;

struct SettledWindow {
    size_t first = 0;  // index of the window's first value
    // The minimum left less than half of the series: the window is then the
    // second half.
    bool settled = true;
};

SettledWindow mserWindow(const double* x, size_t n);

// MSER over batches of one period (not a whole number of values in
// general): the window starts at a period's start, so that it holds whole
// periods ending at the last value; when it is not settled, the whole
// periods of the second half.
SettledWindow periodMserWindow(const double* x, size_t n, double period);

// The number of leading batch means d (below means.size() - tail) that
// minimises the marginal standard error; ties go to the smaller d. The
// means' spread is taken as at least resolution: differences far below it
// (the rounding of a deterministic signal's period means) choose nothing.
size_t mserCut(const std::vector<double>& means, size_t tail, double resolution = 0);

// The resolution of period means, relative to the series' standard
// deviation.
constexpr double kPeriodMeanResolution = 1e-4;

// The variance of n values about their mean (divided by n).
double variance(const double* x, size_t n);

}  // namespace stats
