#include "plot/LineStats.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace plot {

namespace {
// The settled part of a history starts after this share of its records.
constexpr double kTransientShare = 0.2;
}  // namespace

namespace {
// Extremes of floats; the X range is kept less the line's origin, which
// adding at the end gives the same range (rounding keeps the order).
struct FloatRange {
    float low = std::numeric_limits<float>::infinity();
    float high = -std::numeric_limits<float>::infinity();
    void add(float value) {
        low = value < low ? value : low;
        high = value > high ? value : high;
    }
    Range shifted(double origin) const {
        Range range;
        if (low <= high) range.add(origin + low), range.add(origin + high);
        return range;
    }
};

struct Pass {
    FloatRange x, whole, settled;
    float largest = 0;
    size_t valued = 0, isolated = 0;
};

// One pass over [begin, end): the settled part goes in apart, so that the
// loop tests nothing per point but the values. On a copy, which the compiler
// keeps in registers: the values might alias the caller's.
void scan(const FigureLine& line, size_t begin, size_t end, bool settled, bool logarithmic,
          Pass& result) {
    Pass pass = result;
    const float* const x = line.x.begin();
    const float* const y = line.y.begin();
    const size_t n = line.y.size();
    for (size_t i = begin; i < end; ++i) {
        const float xi = x[i], yi = y[i];
        if (yi == kMissing || xi == kMissing || !std::isfinite(xi)) continue;
        ++pass.valued;
        if ((i == 0 || y[i - 1] == kMissing) && (i + 1 == n || y[i + 1] == kMissing))
            ++pass.isolated;
        pass.x.add(xi);
        if (!std::isfinite(yi)) continue;
        pass.largest = std::max(pass.largest, std::fabs(yi));
        if (logarithmic && yi <= 0) continue;
        pass.whole.add(yi);
        if (settled) pass.settled.add(yi);
    }
    result = pass;
}
}  // namespace

LineStats statsOf(const FigureLine& line, bool logarithmic) {
    const size_t n = line.y.size();
    const size_t settledFrom = static_cast<size_t>(static_cast<double>(n) * kTransientShare);
    Pass pass;
    scan(line, 0, settledFrom, false, logarithmic, pass);
    scan(line, settledFrom, n, true, logarithmic, pass);
    LineStats stats;
    stats.x = pass.x.shifted(line.xOrigin);
    stats.whole = pass.whole.shifted(0);
    stats.settled = pass.settled.shifted(0);
    stats.largest = pass.largest;
    stats.valued = pass.valued;
    stats.isolated = pass.isolated;
    return stats;
}

}  // namespace plot
