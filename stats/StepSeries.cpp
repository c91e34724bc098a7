#include "stats/StepSeries.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>

#include "libs/mondata/model/TimestepData.h"

namespace stats {

namespace {
// TIME at the record (the step's last loop) of a variable that shares the
// time's records, else at the step.
double timeAt(const TimestepData& time, const mon::RowIndex& rows, int position) {
    if (&time.rows() != &rows) return time.getDoubleValue(rows.stepAt(position), -1);
    const size_t record = static_cast<size_t>(rows.endRecordAt(position) - 1);
    return time.holdsDoubles() ? time.doubleValues()[record] : time.values()[record];
}

// The first position whose step is above step.
int firstPositionAbove(const mon::RowIndex& rows, int64_t step) {
    int low = 0, high = rows.stepCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (rows.stepAt(middle) <= step)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}
}  // namespace

StepSeries stepSeries(const TimestepData& variable, int32_t firstStep, int32_t lastStep,
                      const TimestepData* time) {
    StepSeries series;
    fillStepSeries(series, variable, firstStep, lastStep, time);
    return series;
}

void fillStepSeries(StepSeries& series, const TimestepData& variable, int32_t firstStep,
                    int32_t lastStep, const TimestepData* time) {
    series.steps.clear();
    series.values.clear();
    series.times.clear();
    if (variable.key() != TimestepData::Key::None) return;
    if (time && time->key() != TimestepData::Key::None) time = nullptr;
    const mon::RowIndex& rows = variable.rows();
    const float* values = variable.values().data();
    // A value read from solver text is held as the double it was written.
    const double* doubles = variable.holdsDoubles() ? variable.doubleValues().data() : nullptr;
    const int begin = firstStep > 0 ? firstPositionAbove(rows, int64_t{firstStep} - 1) : 0;
    const int end = lastStep > 0 ? firstPositionAbove(rows, lastStep) : rows.stepCount();
    const size_t most = static_cast<size_t>(std::max(0, end - begin));
    series.steps.reserve(most);
    series.values.reserve(most);
    if (time) series.times.reserve(most);
    // Without coefficient loops a step's record is its position.
    const bool recordPerStep = rows.rowCount() == rows.stepCount();
    for (int position = begin; position < end; ++position) {
        const int64_t record = recordPerStep ? position : rows.endRecordAt(position) - 1;
        const float value = values[record];
        if (value == FLT_MAX) continue;
        series.steps.push_back(rows.stepAt(position));
        series.values.push_back(doubles ? doubles[record] : value);
        if (time) series.times.push_back(timeAt(*time, rows, position));
    }
    keepAscendingTimes(series);
}

void keepAscendingTimes(StepSeries& series) {
    if (series.times.size() != series.values.size()) return series.times.clear();
    for (size_t i = 0; i < series.times.size(); ++i) {
        const double t = series.times[i];
        if (t == FLT_MAX || !std::isfinite(t) || (i > 0 && !(t > series.times[i - 1])))
            return series.times.clear();
    }
}

}  // namespace stats
