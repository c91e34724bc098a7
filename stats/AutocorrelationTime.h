#pragma once
// The integrated autocorrelation time of a series, τ = 1 + 2 Σ_{t=1..M} ρ(t),
// with Sokal's automatic window: the smallest M with M >= 5 τ(M). The
// variance of the mean of n correlated values is σ² τ / n.

#include <cstddef>

namespace stats {

struct AutocorrelationTime {
    double tau = 1;     // at least 1 (see docs/stats.md)
    size_t window = 0;  // M
    // False when no M < n met the window condition: τ is then the largest
    // τ(M) seen, and the series is too short to tell.
    bool windowFound = true;
};

AutocorrelationTime autocorrelationTime(const double* x, size_t n);
// The same with the values' mean, summed in order, at hand.
AutocorrelationTime autocorrelationTime(const double* x, size_t n, double mean);

// The factor of Sokal's window condition.
constexpr double kSokalWindowFactor = 5;

}  // namespace stats
