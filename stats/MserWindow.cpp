#include "stats/MserWindow.h"

#include <vector>

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
}  // namespace

SettledWindow mserWindow(const double* x, size_t n) {
    SettledWindow window;
    const size_t batches = n / kMserBatch;
    if (batches <= kMserTailBatches) return window;
    const size_t leading = n - batches * kMserBatch;  // values before the first batch
    const std::vector<double> means = batchMeans(x, n, leading);
    // Welford's running mean and sum of squares, from the last batch back.
    double mean = 0, squares = 0, best = 0;
    size_t bestCut = 0;
    bool found = false;
    for (size_t j = batches; j-- > 0;) {
        const double count = static_cast<double>(batches - j);
        const double delta = means[j] - mean;
        mean += delta / count;
        squares += delta * (means[j] - mean);
        if (batches - j < kMserTailBatches) continue;
        const double statistic = squares / (count * count);
        if (!found || statistic <= best) {
            best = statistic;
            bestCut = j;
            found = true;
        }
    }
    window.first = bestCut == 0 ? 0 : leading + bestCut * kMserBatch;
    if (n - window.first < (n + 1) / 2) {
        window.first = n / 2;
        window.settled = false;
    }
    return window;
}

}  // namespace stats
