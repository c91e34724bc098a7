#include "stats/AutocorrelationTime.h"

#include <algorithm>

#include "stats/Autocovariance.h"

namespace stats {

namespace {
AutocorrelationTime fromCovariance(Autocovariance& covariance) {
    AutocorrelationTime result;
    const size_t n = covariance.size();
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
}  // namespace

AutocorrelationTime autocorrelationTime(const double* x, size_t n) {
    if (n < 2) return {};
    Autocovariance covariance(x, n);
    return fromCovariance(covariance);
}

AutocorrelationTime autocorrelationTime(const double* x, size_t n, double mean) {
    if (n < 2) return {};
    Autocovariance covariance(x, n, mean);
    return fromCovariance(covariance);
}

}  // namespace stats
