#include "stats/Periodicity.h"

#include <algorithm>
#include <cmath>

#include "stats/Autocovariance.h"

namespace stats {

namespace {

// The means of m blocks of `block` values, aligned to the end of x.
std::vector<double> blockMeans(const double* x, size_t n, size_t block) {
    const size_t blocks = n / block, lead = n - blocks * block;
    std::vector<double> means(blocks);
    for (size_t j = 0; j < blocks; ++j) {
        double sum = 0;
        for (size_t i = 0; i < block; ++i) sum += x[lead + j * block + i];
        means[j] = sum / static_cast<double>(block);
    }
    return means;
}

// The autocorrelation at block lags: the block means' autocovariance, each
// lag's sum divided by its own number of terms, over the values' variance.
std::vector<double> blockCorrelation(const double* x, size_t n, size_t block, double variance) {
    const std::vector<double> means = blockMeans(x, n, block);
    Autocovariance covariance(means.data(), means.size());
    const double* all = covariance.all();
    const double m = static_cast<double>(means.size());
    std::vector<double> rho(means.size());
    for (size_t lag = 0; lag < rho.size(); ++lag)
        rho[lag] = all[lag] * m / (m - static_cast<double>(lag)) / variance;
    return rho;
}

// The top of a parabola through the lags around peak.
double refinedPeak(const std::vector<double>& rho, size_t peak) {
    if (peak == 0 || peak + 1 >= rho.size()) return static_cast<double>(peak);
    const double left = rho[peak - 1], middle = rho[peak], right = rho[peak + 1];
    const double curvature = left - 2 * middle + right;
    if (!(curvature < 0)) return static_cast<double>(peak);
    return static_cast<double>(peak) + 0.5 * (left - right) / curvature;
}

// The largest value's lag within [from, to).
size_t highestIn(const std::vector<double>& rho, size_t from, size_t to) {
    return static_cast<size_t>(std::max_element(rho.begin() + static_cast<std::ptrdiff_t>(from),
                                                rho.begin() + static_cast<std::ptrdiff_t>(to)) -
                               rho.begin());
}

// The first positive lobe after the first zero crossing whose top reaches
// the limit, within lags [1, last]: its top's lag, or 0.
size_t firstPeriodicLobe(const std::vector<double>& rho, size_t last) {
    size_t lag = 1;
    while (lag <= last && rho[lag] > 0) ++lag;
    while (lag <= last) {
        while (lag <= last && !(rho[lag] > 0)) ++lag;
        const size_t start = lag;
        while (lag <= last && rho[lag] > 0) ++lag;
        if (lag > start) {
            const size_t top = highestIn(rho, start, lag);
            if (rho[top] >= kPeriodicCorrelation) return top;
        }
    }
    return 0;
}

// The times (in values, between values by linear interpolation) at which x
// rises through its mean, each counted once it has gone on to mean + band
// after falling below mean - band, so that noise near the mean does not
// count twice.
std::vector<double> upCrossings(const double* x, size_t n, double band) {
    double mean = 0;
    for (size_t i = 0; i < n; ++i) mean += x[i];
    mean /= static_cast<double>(n);
    std::vector<double> crossings;
    bool armed = false;
    size_t lastLow = 0;  // the last value at or below the mean
    for (size_t i = 0; i < n; ++i) {
        if (x[i] <= mean) lastLow = i;
        if (x[i] < mean - band) {
            armed = true;
        } else if (armed && x[i] > mean + band) {
            const double low = x[lastLow], high = x[lastLow + 1];
            crossings.push_back(static_cast<double>(lastLow) + (mean - low) / (high - low));
            armed = false;
        }
    }
    return crossings;
}

// The least-squares slope of the crossings over their cycle numbers,
// without those more than a quarter period off the line of the first fit.
double fittedPeriod(const std::vector<double>& cycles, const std::vector<double>& crossings,
                    double period) {
    std::vector<bool> used(cycles.size(), true);
    for (int pass = 0; pass < 2; ++pass) {
        double sc = 0, st = 0, count = 0;
        for (size_t j = 0; j < cycles.size(); ++j)
            if (used[j]) sc += cycles[j], st += crossings[j], count += 1;
        if (count < 3) return 0;
        const double mc = sc / count, mt = st / count;
        double sct = 0, scc = 0;
        for (size_t j = 0; j < cycles.size(); ++j)
            if (used[j]) {
                sct += (cycles[j] - mc) * (crossings[j] - mt);
                scc += (cycles[j] - mc) * (cycles[j] - mc);
            }
        if (!(scc > 0)) return 0;
        const double fitted = sct / scc;
        if (pass == 1) return fitted;
        for (size_t j = 0; j < cycles.size(); ++j)
            used[j] = std::fabs(crossings[j] - mt - fitted * (cycles[j] - mc)) <= period / 4;
    }
    return 0;
}

// The period refined by the series' rises through its mean: each rise is
// given its cycle number from the period, and the period is the slope of a
// straight line through them. The autocorrelation's peak is biased by the
// part periods at the series' ends; a rise's time is not. Kept as it is
// when the rises do not follow the period (a wave that rises through its
// mean more than once a period).
double periodFromRises(const double* x, size_t n, double period, double variance) {
    const std::vector<double> crossings = upCrossings(x, n, kRiseBand * std::sqrt(variance));
    if (crossings.size() < 3) return period;
    std::vector<double> cycles(crossings.size(), 0);
    for (size_t j = 1; j < crossings.size(); ++j)
        cycles[j] =
            cycles[j - 1] + std::max(1.0, std::round((crossings[j] - crossings[j - 1]) / period));
    const double fitted = fittedPeriod(cycles, crossings, period);
    return std::fabs(fitted - period) <= kRiseAgreement * period ? fitted : period;
}

}  // namespace

double dominantPeriod(const double* x, size_t n, double variance) {
    if (!(variance > 0) || !std::isfinite(variance)) return 0;
    const size_t block = (n + kPeriodSearchBlocks - 1) / kPeriodSearchBlocks;
    const size_t blocks = n / block;
    if (static_cast<double>(blocks) < kPeriodsToFind * kShortestPeriodBlocks) return 0;
    const std::vector<double> rho = blockCorrelation(x, n, block, variance);
    const size_t last = blocks / kPeriodsToFind;
    const size_t top = firstPeriodicLobe(rho, last);
    if (static_cast<double>(top) < kShortestPeriodBlocks) return 0;
    const double period = refinedPeak(rho, top) * static_cast<double>(block);
    const double refined = periodFromRises(x, n, period, variance);
    return static_cast<double>(kPeriodsToFind) * refined <= static_cast<double>(n) ? refined : 0;
}

size_t wholePeriods(size_t n, double period) {
    if (n < 2) return 0;
    // A rounding error must not lose a period that fits exactly.
    return static_cast<size_t>(static_cast<double>(n - 1) / period * (1 + 1e-12));
}

size_t periodStart(size_t n, double period, size_t periods, size_t j) {
    if (j >= periods) return n;
    const double start = static_cast<double>(n - 1) - static_cast<double>(periods - j) * period;
    return static_cast<size_t>(std::max(0.0, std::ceil(start - 1e-9)));
}

std::vector<double> periodMeans(const double* x, size_t n, double period, size_t periods) {
    std::vector<double> means(periods);
    const double end = static_cast<double>(n - 1);
    for (size_t j = 0; j < periods; ++j) {
        const double from = end - static_cast<double>(periods - j) * period;
        means[j] = intervalMean(x, n, std::max(0.0, from), std::min(end, from + period));
    }
    return means;
}

double intervalMean(const double* x, size_t n, double from, double to) {
    const auto at = [&](double t) {
        const size_t i = std::min(static_cast<size_t>(t), n - 2);
        return x[i] + (t - static_cast<double>(i)) * (x[i + 1] - x[i]);
    };
    const size_t first = static_cast<size_t>(std::ceil(from));
    const size_t last = static_cast<size_t>(std::floor(to));
    if (first > last) return 0.5 * (at(from) + at(to));
    double sum = 0.5 * (at(from) + x[first]) * (static_cast<double>(first) - from);
    for (size_t i = first; i < last; ++i) sum += 0.5 * (x[i] + x[i + 1]);
    sum += 0.5 * (x[last] + at(to)) * (to - static_cast<double>(last));
    return sum / (to - from);
}

}  // namespace stats
