#pragma once
// Orders of magnitude a residual dropped: from its largest value to its last
// value, log10(largest) − log10(last). Residuals that a reader marks as
// log10 values (scale = log10, SU2's) are already in log space: largest −
// last. Whether values are log10 is never guessed from the values: a log10
// residual above 1 is positive, a linear one below 1 has a negative log.

#include <cstddef>
#include <optional>

namespace stats {

// history: the series up to the window's end (its last value the window's
// last). The largest is taken over the finite values; a last value that is
// NaN or infinite gives NaN or −inf. None without a finite value, or when a
// linear residual's largest or last value is not positive.
std::optional<double> ordersDropped(const double* history, size_t count, bool log10Values);

}  // namespace stats
