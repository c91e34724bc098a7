#pragma once
// Orders of magnitude a residual dropped: log10 of its largest value up to
// the window's end minus log10 of its mean over the window. Residuals that a
// solver writes as log10 values (SU2's) are told by a negative value, which a
// residual norm cannot have: for them the same is taken in log space, the
// largest value minus the window's mean.

#include <cstddef>
#include <optional>

namespace stats {

// history: the series up to the window's end; windowMean: the mean of the
// window (MEAN), its last values. None for no history, or when a linear
// residual's mean is not positive.
std::optional<double> ordersDropped(const double* history, size_t count, double windowMean);

// Whether the values are log10 values (some value is negative).
bool isLogResidual(const double* values, size_t count);

}  // namespace stats
