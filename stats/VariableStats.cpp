#include "stats/VariableStats.h"

#include <algorithm>

#include "stats/AutocorrelationTime.h"
#include "stats/Drift.h"
#include "stats/MserWindow.h"
#include "stats/Orders.h"
#include "stats/Periodicity.h"
#include "stats/TimeWeighting.h"

namespace stats {

std::string VariableStats::note() const {
    std::string text;
    for (auto [flag, word] :
         {std::pair{notSettled, "not-settled"}, std::pair{tooShort, "too-short"},
          std::pair{drifting, "drifting"}, std::pair{periodic(), "periodic"}}) {
        if (!flag) continue;
        if (!text.empty()) text += ' ';
        text += word;
    }
    return text;
}

namespace {

// The values from a record on as equally spaced samples: the values
// themselves, unless their times' step varies, when they are resampled at
// the median step, the grid ending at the last time.
struct Samples {
    std::vector<double> grid;  // the resampled values; empty for the values themselves
    const double* y = nullptr;
    size_t size = 0;
    size_t start = 0;    // the first record
    double spacing = 1;  // TIME (records, without times) from one sample to the next
    bool weighted = false;
};

Samples samplesFrom(const StepSeries& series, size_t start) {
    Samples samples;
    samples.start = start;
    const size_t n = series.size() - start;
    const double* x = series.values.data() + start;
    const double* t = series.timed() ? series.times.data() + start : nullptr;
    samples.weighted = t && stepVaries(t, n);
    if (samples.weighted) {
        samples.grid = resampleAtEnd(t, x, n, medianStep(t, n), &samples.spacing);
        samples.y = samples.grid.data();
        samples.size = samples.grid.size();
        return samples;
    }
    samples.y = x;
    samples.size = n;
    if (t && n > 1) samples.spacing = (t[n - 1] - t[0]) / static_cast<double>(n - 1);
    return samples;
}

// The first record at or after a sample. The first sample stands for the
// record the samples start from: the grid, ending at the last time, begins
// up to a step after it, and a window that starts at the first sample cuts
// nothing.
size_t recordOf(const StepSeries& series, const Samples& samples, size_t k) {
    if (!samples.weighted || k == 0) return samples.start + k;
    const double time =
        series.times.back() - static_cast<double>(samples.size - 1 - k) * samples.spacing;
    return firstAtOrAfter(series.times.data(), series.size(), time);
}

size_t automaticStart(const StepSeries& series, VariableStats& row) {
    const Samples whole = samplesFrom(series, 0);
    const SettledWindow window = mserWindow(whole.y, whole.size);
    row.notSettled = !window.settled;
    return recordOf(series, whole, window.first);
}

// MEAN, STD, MIN and MAX over the records from start on; time averages from
// the time `from` on where the time step varies.
void describeSpread(const StepSeries& series, size_t start, bool weighted, double from,
                    VariableStats& row) {
    const size_t n = series.size() - start;
    const double* x = series.values.data() + start;
    double sum = 0, low = x[0], high = x[0];
    for (size_t i = 0; i < n; ++i) {
        sum += x[i];
        low = std::min(low, x[i]);
        high = std::max(high, x[i]);
    }
    row.min = low;
    row.max = high;
    row.timeWeighted = weighted;
    if (weighted) {
        // The step before the window's first record reaches back to `from`.
        const size_t before = start > 0 ? start - 1 : 0;
        const TimeAverage average =
            timeAverage(series.times.data() + before, series.values.data() + before,
                        series.size() - before, from);
        row.mean = average.mean;
        row.stdDev = average.stdDev;
        return;
    }
    row.mean = sum / static_cast<double>(n);
    if (n < 2) return;
    double squares = 0;
    for (size_t i = 0; i < n; ++i) squares += (x[i] - row.mean) * (x[i] - row.mean);
    row.stdDev = std::sqrt(squares / static_cast<double>(n - 1));
}

// The window's records and its sample-level statistics for a series
// without a period: the correlated standard error, drift and Geweke's test.
void describeCorrelated(const StepSeries& series, const Samples& samples, VariableStats& row) {
    const size_t m = samples.size;
    if (series.size() - samples.start >= 2) {
        // The records' own mean, as their autocovariances would sum it.
        const AutocorrelationTime time = samples.weighted
                                             ? autocorrelationTime(samples.y, m)
                                             : autocorrelationTime(samples.y, m, row.mean);
        row.tau = time.tau;
        row.stdError = row.stdDev * std::sqrt(time.tau / static_cast<double>(m));
        row.neff = static_cast<double>(m) / time.tau;
        row.tooShort = !time.windowFound || static_cast<double>(m) < kShortWindowTaus * time.tau;
    }
    const size_t start = samples.start, n = series.size() - start;
    row.drift = samples.weighted ? driftAcross(samples.y, m, row.mean)
                                 : driftAcross(series.steps.data() + start,
                                               series.values.data() + start, n, row.mean);
    row.drifting = gewekeTest(samples.y, m).drifting;
}

// A periodic variable over the whole periods of the samples that end at
// the last one: the period means give STDERR, NEFF, DRIFT and drifting.
void describePeriodic(const StepSeries& series, const Samples& samples, double period,
                      VariableStats& row) {
    const size_t m = samples.size, periods = wholePeriods(m, period);
    const double k = static_cast<double>(periods), span = k * period;
    const size_t first = periodStart(m, period, periods, 0);
    const size_t start = recordOf(series, samples, first);
    const double from = samples.weighted ? series.times.back() - span * samples.spacing : 0;
    row.windowStart = start;
    describeSpread(series, start, samples.weighted, from, row);
    // Over exactly the whole periods, which need not start at a value.
    const double end = static_cast<double>(m - 1);
    if (!samples.weighted) row.mean = intervalMean(samples.y, m, end - span, end);

    const std::vector<double> means = periodMeans(samples.y, m, period, periods);
    double sum = 0, squares = 0;
    for (double mean : means) sum += mean;
    for (double mean : means) squares += (mean - sum / k) * (mean - sum / k);
    row.neff = k;
    row.tau = period;
    row.stdError = periods >= 2 ? std::sqrt(squares / (k - 1) / k) : NAN;
    row.tooShort = periods < kFewestPeriods;
    // A rise within the resolution of period means is none (see MSER's).
    const TrendTest trend = trendTest(means.data(), periods, kPeriodMeanResolution * row.stdDev);
    row.drift = trend.slope * k;
    row.drifting = trend.drifting;

    // Half the peak-to-peak of each period, from the records in it.
    double halfRanges = 0;
    for (size_t j = 0; j < periods; ++j) {
        const size_t begin = recordOf(series, samples, periodStart(m, period, periods, j));
        const size_t stop = j + 1 < periods
                                ? recordOf(series, samples, periodStart(m, period, periods, j + 1))
                                : series.size();
        if (begin >= stop) continue;
        const auto [low, high] =
            std::minmax_element(series.values.begin() + begin, series.values.begin() + stop);
        halfRanges += 0.5 * (*high - *low);
    }
    row.amplitude = halfRanges / k;
    if (series.timed()) {
        row.period = period * samples.spacing;
    } else {
        const size_t records = series.size() - samples.start;
        const double steps =
            records > 1 ? static_cast<double>(series.steps.back() - series.steps[samples.start]) /
                              static_cast<double>(records - 1)
                        : 1;
        row.period = period * steps;
    }
    row.frequency = 1 / *row.period;
}

// The period of the window's samples, in TIME (records without times); 0
// when it has none. The spread of the records is the row's.
double periodIn(const Samples& samples, const VariableStats& row) {
    const double n = static_cast<double>(samples.size);
    const double spread = samples.weighted   ? variance(samples.y, samples.size)
                          : samples.size > 1 ? row.stdDev * row.stdDev * (n - 1) / n
                                             : 0;
    return dominantPeriod(samples.y, samples.size, spread) * samples.spacing;
}

}  // namespace

VariableStats summarize(const StepSeries& series, const StatsOptions& options) {
    VariableStats row;
    if (series.empty()) return row;
    const size_t n = series.size();
    const bool automatic = options.windowSteps == 0;
    size_t start = automatic ? automaticStart(series, row) : n - std::min(n, options.windowSteps);
    Samples samples = samplesFrom(series, start);
    const auto spread = [&] {
        describeSpread(series, start, samples.weighted, samples.weighted ? series.times[start] : 0,
                       row);
    };
    spread();
    const size_t spreadStart = start;
    const double period = periodIn(samples, row);
    if (period > 0 && automatic) {
        const Samples whole = samplesFrom(series, 0);
        const SettledWindow window = periodMserWindow(whole.y, whole.size, period / whole.spacing);
        row.notSettled = !window.settled;
        start = recordOf(series, whole, window.first);
        samples = samplesFrom(series, start);
    }
    if (period > 0 && wholePeriods(samples.size, period / samples.spacing) > 0) {
        describePeriodic(series, samples, period / samples.spacing, row);
    } else {
        if (start != spreadStart) spread();  // a period's cut, yet too short for one
        row.windowStart = start;
        describeCorrelated(series, samples, row);
    }
    const size_t first = row.windowStart, count = n - first;
    const double* x = series.values.data() + first;
    row.count = count;
    row.firstStep = series.steps[first];
    row.lastStep = series.steps[n - 1];
    row.last = series.values[n - 1];
    if (options.residual) row.orders = ordersDropped(series.values.data(), n, options.log10Values);
    row.cauchy = cauchyValue(x, count, options.cauchySteps);
    return row;
}

}  // namespace stats
