#include "plot/LineStats.h"

#include <algorithm>
#include <cmath>

namespace plot {

namespace {
// The settled part of a history starts after this share of its records.
constexpr double kTransientShare = 0.2;
}  // namespace

LineStats statsOf(const FigureLine& line, bool logarithmic) {
    LineStats stats;
    const size_t n = line.y.size();
    const size_t settledFrom = static_cast<size_t>(static_cast<double>(n) * kTransientShare);
    const auto has = [&line](size_t i) { return line.y[i] != kMissing; };
    for (size_t i = 0; i < n; ++i) {
        const float x = line.x[i], y = line.y[i];
        if (y == kMissing || x == kMissing || !std::isfinite(x)) continue;
        ++stats.valued;
        if ((i == 0 || !has(i - 1)) && (i + 1 == n || !has(i + 1))) ++stats.isolated;
        stats.x.add(line.xOrigin + x);
        if (!std::isfinite(y)) continue;
        stats.largest = std::max(stats.largest, std::fabs(static_cast<double>(y)));
        if (logarithmic && y <= 0) continue;
        stats.whole.add(y);
        if (i >= settledFrom) stats.settled.add(y);
    }
    return stats;
}

}  // namespace plot
