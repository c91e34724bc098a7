#include "stats/TimeWeighting.h"

#include <algorithm>
#include <cmath>

namespace stats {

bool stepVaries(const double* t, size_t n) {
    if (n < 3) return false;
    double smallest = t[1] - t[0], largest = smallest;
    for (size_t i = 2; i < n; ++i) {
        const double step = t[i] - t[i - 1];
        smallest = std::min(smallest, step);
        largest = std::max(largest, step);
    }
    return largest > kVaryingStepRatio * smallest;
}

double medianStep(const double* t, size_t n) {
    std::vector<double> steps(n - 1);
    for (size_t i = 1; i < n; ++i) steps[i - 1] = t[i] - t[i - 1];
    auto middle = steps.begin() + static_cast<std::ptrdiff_t>(steps.size() / 2);
    std::nth_element(steps.begin(), middle, steps.end());
    return *middle;
}

std::vector<double> resampleAtEnd(const double* t, const double* x, size_t n, double step,
                                  double* usedStep) {
    if (usedStep) *usedStep = step;
    if (n < 2) return std::vector<double>(x, x + n);
    const double span = t[n - 1] - t[0];
    const double most = static_cast<double>(kMaxGridPointsPerRecord * n - 1);
    if (span / step > most) step = span / most;
    // The rounding of span / step must not put the first point before t[0].
    size_t points = static_cast<size_t>(std::floor(span / step * (1 + 1e-12))) + 1;
    while (points > 1 && t[n - 1] - static_cast<double>(points - 1) * step < t[0]) --points;
    std::vector<double> grid(points);
    size_t i = 0;
    for (size_t k = 0; k < points; ++k) {
        const double at = t[n - 1] - static_cast<double>(points - 1 - k) * step;
        while (i + 2 < n && t[i + 1] <= at) ++i;
        const double width = t[i + 1] - t[i];
        const double weight = std::clamp((at - t[i]) / width, 0.0, 1.0);
        grid[k] = x[i] + weight * (x[i + 1] - x[i]);
    }
    if (usedStep) *usedStep = step;
    return grid;
}

namespace {
// x interpolated at time within [t[i], t[i+1]].
double interpolated(const double* t, const double* x, size_t i, double time) {
    return x[i] + (time - t[i]) / (t[i + 1] - t[i]) * (x[i + 1] - x[i]);
}

// The trapezoidal integral of f(x) over [from, t[n-1]].
template <typename F>
double integral(const double* t, const double* x, size_t n, double from, F f) {
    size_t i = std::min(firstAtOrAfter(t, n, from), n - 1);
    double sum = 0;
    if (i > 0 && from < t[i]) {  // the part of a step before the first time
        const double start = f(interpolated(t, x, i - 1, from));
        sum += 0.5 * (t[i] - from) * (start + f(x[i]));
    }
    for (; i + 1 < n; ++i) sum += 0.5 * (t[i + 1] - t[i]) * (f(x[i]) + f(x[i + 1]));
    return sum;
}
}  // namespace

TimeAverage timeAverage(const double* t, const double* x, size_t n, double from) {
    TimeAverage average;
    const double span = t[n - 1] - from;
    if (n < 2 || !(span > 0)) {
        average.mean = x[n - 1];
        return average;
    }
    average.mean = integral(t, x, n, from, [](double v) { return v; }) / span;
    const double mean = average.mean;
    const double squares =
        integral(t, x, n, from, [mean](double v) { return (v - mean) * (v - mean); });
    average.stdDev = std::sqrt(squares / span);
    return average;
}

size_t firstAtOrAfter(const double* t, size_t n, double time) {
    const double slack = 1e-9 * std::fabs(time);  // as times are merged (TimeKeyedHistory)
    return static_cast<size_t>(std::lower_bound(t, t + n, time - slack) - t);
}

}  // namespace stats
