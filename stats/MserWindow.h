#pragma once
// The settled part of a series by MSER-5 (White 1997): the series is cut
// into batches of 5 values, aligned to its end; the truncation point is the
// number of leading batches d that minimises the marginal standard error
// Σ_{j>=d} (Z_j - Z̄_d)² / (b - d)² of the b - d remaining batch means Z_j.
// The last kMserTailBatches batches are never cut into.

#include <cstddef>

namespace stats {

constexpr size_t kMserBatch = 5;
constexpr size_t kMserTailBatches = 10;

struct SettledWindow {
    size_t first = 0;  // index of the window's first value
    // The minimum left less than half of the series: the window is then the
    // second half.
    bool settled = true;
};

SettledWindow mserWindow(const double* x, size_t n);

}  // namespace stats
