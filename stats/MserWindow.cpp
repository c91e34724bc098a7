#include "stats/MserWindow.h"

#include <algorithm>
#include <cmath>

#include "stats/Periodicity.h"

namespace stats {

namespace {
std::vector<double> batchMeans(const double* x, size_t n, size_t leading) {
    std::vector<double> means((n - leading) / kMserBatch);
    for (size_t j = 0; j < means.size(); ++j) {
        const double* batch = x + leading + j * kMserBatch;
        double sum = 0;
        for (size_t i = 0; i < kMserBatch; ++i) sum += batch[i];
        means[j] = sum / kMserBatch;
    }
    return means;
}

// The half rule: a cut that leaves less than half of the series means it
// has not settled.
SettledWindow halfRule(size_t first, size_t n) {
    if (n - first >= (n + 1) / 2) return {first, true};
    return {n / 2, false};
}
}  // namespace

double variance(const double* x, size_t n) {
    double sum = 0, squares = 0;
    for (size_t i = 0; i < n; ++i) sum += x[i];
    const double mean = sum / static_cast<double>(n);
    for (size_t i = 0; i < n; ++i) squares += (x[i] - mean) * (x[i] - mean);
    return squares / static_cast<double>(n);
}

size_t mserCut(const std::vector<double>& means, size_t tail, double resolution) {
    const size_t batches = means.size();
    // Welford's running mean and sum of squares, from the last batch back.
    double mean = 0, squares = 0, best = 0;
    size_t bestCut = 0;
    bool found = false;
    for (size_t j = batches; j-- > 0;) {
        const double count = static_cast<double>(batches - j);
        const double delta = means[j] - mean;
        mean += delta / count;
        squares += delta * (means[j] - mean);
        if (batches - j < tail) continue;
        const double statistic = resolution > 0
                                     ? (squares / count + resolution * resolution) / count
                                     : squares / (count * count);
        if (!found || statistic <= best) {
            best = statistic;
            bestCut = j;
            found = true;
        }
    }
    return bestCut;
}

SettledWindow mserWindow(const double* x, size_t n) {
    const size_t batches = n / kMserBatch;
    if (batches <= kMserTailBatches) return {};
    const size_t leading = n - batches * kMserBatch;  // values before the first batch
    const size_t cut = mserCut(batchMeans(x, n, leading), kMserTailBatches);
    return halfRule(cut == 0 ? 0 : leading + cut * kMserBatch, n);
}

SettledWindow periodMserWindow(const double* x, size_t n, double period) {
    const size_t periods = wholePeriods(n, period);
    size_t kept = periods;
    if (periods > kPeriodTailBatches) {
        const double resolution = kPeriodMeanResolution * std::sqrt(variance(x, n));
        const std::vector<double> means = periodMeans(x, n, period, periods);
        kept = periods - mserCut(means, kPeriodTailBatches, resolution);
    }
    const size_t first = periodStart(n, period, periods, periods - kept);
    if (n - first >= (n + 1) / 2) return {first, true};
    // Not settled: the whole periods of the second half.
    const size_t half = std::max<size_t>(wholePeriods(n - n / 2, period), 1);
    return {periodStart(n, period, half, 0), false};
}

}  // namespace stats
