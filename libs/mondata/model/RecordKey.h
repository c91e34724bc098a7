#pragma once
// The record keys: the columns that say which record a row is, the step and,
// in runs with coefficient loops, the loop. Their names are reserved: no
// variable of any source may take them.

#include <string>
#include <string_view>

namespace mon {

enum class RecordKey { None, Step, Loop };

inline const std::string kAccumulatedTimestep = "ACCUMULATED TIMESTEP";
inline const std::string kCoefficientLoop = "COEFFICIENT LOOP";

// Which record key a column of that name is; None for a variable.
inline RecordKey recordKeyOf(std::string_view name) {
    if (name == kAccumulatedTimestep) return RecordKey::Step;
    if (name == kCoefficientLoop) return RecordKey::Loop;
    return RecordKey::None;
}

}  // namespace mon
