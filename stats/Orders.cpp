#include "stats/Orders.h"

#include <algorithm>
#include <cmath>

namespace stats {

bool isLogResidual(const double* values, size_t count) {
    return std::any_of(values, values + count, [](double value) { return value < 0; });
}

std::optional<double> ordersDropped(const double* history, size_t count, double windowMean) {
    if (count == 0) return std::nullopt;
    const double largest = *std::max_element(history, history + count);
    if (isLogResidual(history, count)) return largest - windowMean;
    if (!(windowMean > 0)) return std::nullopt;
    return std::log10(largest) - std::log10(windowMean);
}

}  // namespace stats
