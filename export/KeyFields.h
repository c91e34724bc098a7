#pragma once
// The record keys that lead the time-history table; the only columns written
// as integers.

#include <string>

namespace keyfields {
extern const std::string kAccumulatedTimestep;  // "ACCUMULATED TIMESTEP"
extern const std::string kCoefficientLoop;      // "COEFFICIENT LOOP"
}  // namespace keyfields
