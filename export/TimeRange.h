#pragma once
// A range of the run's TIME (-firsttime, -lasttime; Python first_time,
// last_time): the records whose TIME lies within it, both ends included,
// given as the range of steps that hold them, so that every command that
// takes -firsttimestep and -lasttimestep takes times as well.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class MonDatabase;

namespace exporter {

struct TimeRange {
    std::optional<double> first;
    std::optional<double> last;

    bool any() const { return first.has_value() || last.has_value(); }
};

// From the options' texts (empty: open end). Throws owl::Error naming the
// option for a value that is not a finite number.
TimeRange timeRange(const std::string& first, const std::string& last);

// Narrows [firstStep, lastStep] (0 or below: open end) to the steps whose
// TIME lies within the range: from the first step whose TIME is at or after
// range.first to the last whose TIME is at or before range.last (times a
// relative 1e-9 apart are the same time). A range that holds no step leaves
// none. Throws owl::Error when the range is given and the run has no TIME.
void narrowToTimes(const MonDatabase& run, const TimeRange& range, int32_t& firstStep,
                   int32_t& lastStep);

// The statistics' window (-window: 0 auto, else the last N values) over a
// range: a first time fixes the window's start, as -window N fixes it in
// records, so that an automatic window becomes the whole range.
inline size_t statsWindow(const TimeRange& range, size_t windowSteps) {
    return range.first && windowSteps == 0 ? SIZE_MAX : windowSteps;
}

}  // namespace exporter
