#pragma once
// A variable's values over time steps: the value at each step's last
// coefficient loop (the rows of the table without coefficient loops), in
// double precision, steps without a value left out; with the run's TIME at
// each of those steps when it has one.

#include <cstddef>
#include <cstdint>
#include <vector>

class TimestepData;

namespace stats {

struct StepSeries {
    std::vector<int32_t> steps;  // ascending
    std::vector<double> values;  // one per step
    // The run's TIME at each step, strictly ascending; empty when the run
    // has no TIME, or not at every step, or not ascending (the statistics
    // then count records).
    std::vector<double> times;

    size_t size() const { return values.size(); }
    bool empty() const { return values.empty(); }
    bool timed() const { return !times.empty(); }
};

// The variable's series from firstStep to lastStep inclusive (0 or below:
// open end), with the times of time (the run's TIME; null: none).
StepSeries stepSeries(const TimestepData& variable, int32_t firstStep = 0, int32_t lastStep = 0,
                      const TimestepData* time = nullptr);
// The same into series, whose memory is used again (a thread's series of
// one variable after another).
void fillStepSeries(StepSeries& series, const TimestepData& variable, int32_t firstStep,
                    int32_t lastStep, const TimestepData* time);

// Drops the times unless every one is finite and each is after the one
// before.
void keepAscendingTimes(StepSeries& series);

}  // namespace stats
