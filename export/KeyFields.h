#pragma once
// The record keys that lead the time-history table; the only columns written
// as integers.

#include <string>

namespace keyfields {
extern const std::string kAccumulatedTimestep;  // "ACCUMULATED TIMESTEP"
extern const std::string kCoefficientLoop;      // "COEFFICIENT LOOP"

// The record key a column holds. The data model keeps every column, keys
// included, as 32-bit floats, which cannot tell steps above 2^24 apart; the
// tables write key columns from the records' exact whole numbers instead.
enum class RecordKey { None, Step, Loop };
RecordKey recordKeyOf(const std::string& name);
}  // namespace keyfields
