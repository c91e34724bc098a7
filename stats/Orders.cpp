#include "stats/Orders.h"

#include <cmath>
#include <limits>

namespace stats {

std::optional<double> ordersDropped(const double* history, size_t count, bool log10Values) {
    // An infinite or NaN value (an overflow) is no level to drop from; a last
    // value that is one gives no drop that a test could pass.
    double largest = -std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < count; ++i)
        if (std::isfinite(history[i]) && history[i] > largest) largest = history[i];
    if (!std::isfinite(largest)) return std::nullopt;
    const double last = history[count - 1];
    if (log10Values) return largest - last;
    if (!(largest > 0) || last <= 0) return std::nullopt;
    return std::log10(largest) - std::log10(last);
}

}  // namespace stats
