#include "stats/Drift.h"

#include <cmath>

#include "stats/AutocorrelationTime.h"

namespace stats {

double driftAcross(const int32_t* steps, const double* values, size_t n, double meanValue) {
    if (n < 2 || steps[n - 1] == steps[0]) return 0;
    // Centred sums: steps and values are large next to their spread.
    double meanStep = 0;
    for (size_t i = 0; i < n; ++i) meanStep += steps[i];
    meanStep /= static_cast<double>(n);
    double sxy = 0, sxx = 0;
    for (size_t i = 0; i < n; ++i) {
        const double dx = steps[i] - meanStep;
        sxy += dx * (values[i] - meanValue);
        sxx += dx * dx;
    }
    return sxy / sxx * (static_cast<double>(steps[n - 1]) - steps[0]);
}

namespace {
// Σ (i - ī)(x_i - mean) and Σ (i - ī)² over positions i = 0..n-1.
struct CentredSums {
    double sxy = 0, sxx = 0;
};
CentredSums centredSums(const double* values, size_t n, double meanValue) {
    CentredSums sums;
    const double middle = 0.5 * static_cast<double>(n - 1);
    for (size_t i = 0; i < n; ++i) {
        const double dx = static_cast<double>(i) - middle;
        sums.sxy += dx * (values[i] - meanValue);
        sums.sxx += dx * dx;
    }
    return sums;
}
}  // namespace

double driftAcross(const double* values, size_t n, double meanValue) {
    if (n < 2) return 0;
    const CentredSums sums = centredSums(values, n, meanValue);
    return sums.sxy / sums.sxx * static_cast<double>(n - 1);
}

TrendTest trendTest(const double* values, size_t n, double negligible) {
    TrendTest test;
    if (n < 2) return test;
    double mean = 0;
    for (size_t i = 0; i < n; ++i) mean += values[i];
    mean /= static_cast<double>(n);
    const CentredSums sums = centredSums(values, n, mean);
    test.slope = sums.sxy / sums.sxx;
    if (n < kFewestTrendValues) return test;
    const double middle = 0.5 * static_cast<double>(n - 1);
    double residuals = 0;
    for (size_t i = 0; i < n; ++i) {
        const double fitted = mean + test.slope * (static_cast<double>(i) - middle);
        residuals += (values[i] - fitted) * (values[i] - fitted);
    }
    const double error = std::sqrt(residuals / static_cast<double>(n - 2) / sums.sxx);
    if (std::fabs(test.slope) * static_cast<double>(n) <= negligible) return test;
    test.z = error > 0 ? test.slope / error : std::copysign(INFINITY, test.slope);
    test.drifting = std::fabs(test.z) > kGewekeLimit;
    return test;
}

namespace {
struct Part {
    const double* x;
    size_t n;
    double mean = 0;
    double variance = 0;  // the sample variance
};

Part partOf(const double* x, size_t n) {
    Part part{x, n};
    for (size_t i = 0; i < n; ++i) part.mean += x[i];
    part.mean /= static_cast<double>(n);
    double squares = 0;
    for (size_t i = 0; i < n; ++i) squares += (x[i] - part.mean) * (x[i] - part.mean);
    part.variance = squares / static_cast<double>(n - 1);
    return part;
}

// The variance of the part's mean with its autocorrelation time tau.
double meanVariance(const Part& part, double tau) {
    return part.variance * tau / static_cast<double>(part.n);
}

// Whether |difference| / sqrt(a + b) exceeds the limit.
bool beyondLimit(double difference, double a, double b) {
    const double error = std::sqrt(a + b);
    if (error > 0) return std::fabs(difference) / error > kGewekeLimit;
    return difference != 0;
}
}  // namespace

// The autocorrelation times lie between 1 and 2n (τ(M) <= 1 + 2M, M < n):
// where both bounds give the same answer, they need not be computed.
GewekeTest gewekeTest(const double* values, size_t n) {
    GewekeTest test;
    const size_t firstCount = static_cast<size_t>(kGewekeFirst * static_cast<double>(n));
    const size_t lastCount = static_cast<size_t>(kGewekeLast * static_cast<double>(n));
    if (firstCount < kGewekeMinimumPart) return test;
    const Part first = partOf(values, firstCount);
    const Part last = partOf(values + n - lastCount, lastCount);
    const double difference = first.mean - last.mean;
    if (!beyondLimit(difference, meanVariance(first, 1), meanVariance(last, 1))) return test;
    const double firstMost = 2.0 * static_cast<double>(first.n);
    const double lastMost = 2.0 * static_cast<double>(last.n);
    test.drifting =
        beyondLimit(difference, meanVariance(first, firstMost), meanVariance(last, lastMost)) ||
        beyondLimit(difference, meanVariance(first, autocorrelationTime(first.x, first.n).tau),
                    meanVariance(last, autocorrelationTime(last.x, last.n).tau));
    return test;
}

}  // namespace stats
