#include "stats/AutocorrelationTime.h"

#include <algorithm>

#include "stats/Autocovariance.h"

namespace stats {

AutocorrelationTime autocorrelationTime(const double* x, size_t n) {
    AutocorrelationTime result;
    if (n < 2) return result;
    Autocovariance covariance(x, n);
    const double variance = covariance.at(0);
    if (!(variance > 0)) return result;  // constant (or not finite): no correlation to measure
    double tau = 1, largest = 1;
    for (size_t lag = 1; lag < n; ++lag) {
        tau += 2 * covariance.at(lag) / variance;
        largest = std::max(largest, tau);
        if (static_cast<double>(lag) >= kSokalWindowFactor * tau) {
            result.tau = std::max(tau, 1.0);
            result.window = lag;
            return result;
        }
    }
    result.tau = largest;
    result.window = n - 1;
    result.windowFound = false;
    return result;
}

}  // namespace stats
