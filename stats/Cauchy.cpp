#include "stats/Cauchy.h"

#include <algorithm>
#include <cmath>

namespace stats {

std::optional<double> cauchyValue(const double* values, size_t count, size_t steps) {
    if (count < 2 || steps == 0) return std::nullopt;
    const size_t changes = std::min(steps, count - 1);
    double sum = 0;
    for (size_t k = count - changes; k < count; ++k)
        sum += std::fabs(values[k] - values[k - 1]) / std::max(std::fabs(values[k]), kCauchyFloor);
    return sum / static_cast<double>(changes);
}

}  // namespace stats
