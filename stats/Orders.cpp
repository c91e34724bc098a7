#include "stats/Orders.h"

#include <algorithm>
#include <cmath>

namespace stats {

bool isLogResidual(const double* values, size_t count) {
    return std::any_of(values, values + count, [](double value) { return value < 0; });
}

std::optional<double> ordersDropped(const double* history, size_t count, size_t windowCount) {
    if (count == 0 || windowCount == 0 || windowCount > count) return std::nullopt;
    const double largest = *std::max_element(history, history + count);
    double sum = 0;
    for (size_t i = count - windowCount; i < count; ++i) sum += history[i];
    const double mean = sum / static_cast<double>(windowCount);
    if (isLogResidual(history, count)) return largest - mean;
    if (!(mean > 0)) return std::nullopt;
    return std::log10(largest) - std::log10(mean);
}

}  // namespace stats
