#include "stats/VariableStats.h"

#include <algorithm>

#include "stats/AutocorrelationTime.h"
#include "stats/Drift.h"
#include "stats/MserWindow.h"
#include "stats/Orders.h"

namespace stats {

std::string VariableStats::note() const {
    std::string text;
    for (auto [flag, word] : {std::pair{notSettled, "not-settled"},
                              std::pair{tooShort, "too-short"}, std::pair{drifting, "drifting"}}) {
        if (!flag) continue;
        if (!text.empty()) text += ' ';
        text += word;
    }
    return text;
}

namespace {

void chooseWindow(const StepSeries& series, const StatsOptions& options, VariableStats& row) {
    const size_t n = series.size();
    if (options.windowSteps > 0) {
        row.windowStart = n - std::min(n, options.windowSteps);
        return;
    }
    const SettledWindow window = mserWindow(series.values.data(), n);
    row.windowStart = window.first;
    row.notSettled = !window.settled;
}

void describeSpread(const double* x, size_t n, VariableStats& row) {
    double sum = 0;
    row.min = row.max = x[0];
    for (size_t i = 0; i < n; ++i) {
        sum += x[i];
        row.min = std::min(row.min, x[i]);
        row.max = std::max(row.max, x[i]);
    }
    row.mean = sum / static_cast<double>(n);
    if (n < 2) return;
    double squares = 0;
    for (size_t i = 0; i < n; ++i) squares += (x[i] - row.mean) * (x[i] - row.mean);
    row.stdDev = std::sqrt(squares / static_cast<double>(n - 1));
}

void describeError(const double* x, size_t n, VariableStats& row) {
    if (n < 2) return;
    const AutocorrelationTime time = autocorrelationTime(x, n);
    row.tau = time.tau;
    row.stdError = row.stdDev * std::sqrt(time.tau / static_cast<double>(n));
    row.neff = static_cast<double>(n) / time.tau;
    row.tooShort = !time.windowFound || static_cast<double>(n) < kShortWindowTaus * time.tau;
}

}  // namespace

VariableStats summarize(const StepSeries& series, const StatsOptions& options) {
    VariableStats row;
    if (series.empty()) return row;
    chooseWindow(series, options, row);
    const size_t start = row.windowStart, end = series.size(), n = end - start;
    const double* x = series.values.data() + start;
    row.count = n;
    row.firstStep = series.steps[start];
    row.lastStep = series.steps[end - 1];
    row.last = series.values[end - 1];
    describeSpread(x, n, row);
    describeError(x, n, row);
    row.drift = driftAcross(series.steps.data() + start, x, n, row.mean);
    row.drifting = gewekeTest(x, n).drifting;
    if (options.residual)
        row.orders = ordersDropped(series.values.data(), end, options.log10Values);
    row.cauchy = cauchyValue(x, n, options.cauchySteps);
    return row;
}

}  // namespace stats
