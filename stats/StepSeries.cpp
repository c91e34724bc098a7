#include "stats/StepSeries.h"

#include <cfloat>
#include <cmath>

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
}  // namespace

StepSeries stepSeries(const TimestepData& variable, int32_t firstStep, int32_t lastStep,
                      const TimestepData* time) {
    StepSeries series;
    if (variable.key() != TimestepData::Key::None) return series;
    if (time && time->key() != TimestepData::Key::None) time = nullptr;
    const mon::RowIndex& rows = variable.rows();
    const float* values = variable.values().data();
    const int steps = rows.stepCount();
    series.steps.reserve(static_cast<size_t>(steps));
    series.values.reserve(static_cast<size_t>(steps));
    if (time) series.times.reserve(static_cast<size_t>(steps));
    for (int position = 0; position < steps; ++position) {
        const int32_t step = rows.stepAt(position);
        if (firstStep > 0 && step < firstStep) continue;
        if (lastStep > 0 && step > lastStep) break;
        const float value = values[rows.endRecordAt(position) - 1];
        if (value == FLT_MAX) continue;
        series.steps.push_back(step);
        series.values.push_back(value);
        if (time) series.times.push_back(timeAt(*time, rows, position));
    }
    keepAscendingTimes(series);
    return series;
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
