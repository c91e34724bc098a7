#pragma once
// A variable's values over time steps: the value at each step's last
// coefficient loop (the rows of the table without coefficient loops), in
// double precision, steps without a value left out.

#include <cstddef>
#include <cstdint>
#include <vector>

class TimestepData;

namespace stats {

struct StepSeries {
    std::vector<int32_t> steps;  // ascending
    std::vector<double> values;  // one per step

    size_t size() const { return values.size(); }
    bool empty() const { return values.empty(); }
};

// The variable's series from firstStep to lastStep inclusive (0 or below:
// open end).
StepSeries stepSeries(const TimestepData& variable, int32_t firstStep = 0, int32_t lastStep = 0);

}  // namespace stats
