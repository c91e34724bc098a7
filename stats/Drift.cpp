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
struct PartMean {
    double mean = 0;
    double variance = 0;  // of the mean, correlation included
};

PartMean partMean(const double* x, size_t n) {
    PartMean part;
    for (size_t i = 0; i < n; ++i) part.mean += x[i];
    part.mean /= static_cast<double>(n);
    double squares = 0;
    for (size_t i = 0; i < n; ++i) squares += (x[i] - part.mean) * (x[i] - part.mean);
    const double variance = squares / static_cast<double>(n - 1);
    part.variance = variance * autocorrelationTime(x, n).tau / static_cast<double>(n);
    return part;
}
}  // namespace

GewekeTest gewekeTest(const double* values, size_t n) {
    GewekeTest test;
    const size_t firstCount = static_cast<size_t>(kGewekeFirst * static_cast<double>(n));
    const size_t lastCount = static_cast<size_t>(kGewekeLast * static_cast<double>(n));
    if (firstCount < kGewekeMinimumPart) return test;
    const PartMean first = partMean(values, firstCount);
    const PartMean last = partMean(values + n - lastCount, lastCount);
    const double difference = first.mean - last.mean;
    const double error = std::sqrt(first.variance + last.variance);
    if (error > 0)
        test.z = difference / error;
    else if (difference != 0)
        test.z = std::copysign(INFINITY, difference);
    test.drifting = std::fabs(test.z) > kGewekeLimit;
    return test;
}

}  // namespace stats
