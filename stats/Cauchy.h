#pragma once
// SU2's Cauchy criterion: the mean, over the last K steps, of the relative
// change |f_k - f_{k-1}| / max(|f_k|, 0.1).

#include <cstddef>
#include <optional>

namespace stats {

constexpr size_t kDefaultCauchySteps = 100;
// The floor of the relative change's denominator, for values near zero.
constexpr double kCauchyFloor = 0.1;

// Over the last min(steps, count - 1) changes of values[0..count); none for
// fewer than two values or steps 0.
std::optional<double> cauchyValue(const double* values, size_t count, size_t steps);

}  // namespace stats
