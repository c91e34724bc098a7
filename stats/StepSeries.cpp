#include "stats/StepSeries.h"

#include <cfloat>

#include "libs/mondata/model/TimestepData.h"

namespace stats {

StepSeries stepSeries(const TimestepData& variable, int32_t firstStep, int32_t lastStep) {
    StepSeries series;
    if (variable.key() != TimestepData::Key::None) return series;
    const mon::RowIndex& rows = variable.rows();
    const float* values = variable.values().data();
    const int steps = rows.stepCount();
    series.steps.reserve(static_cast<size_t>(steps));
    series.values.reserve(static_cast<size_t>(steps));
    for (int position = 0; position < steps; ++position) {
        const int32_t step = rows.stepAt(position);
        if (firstStep > 0 && step < firstStep) continue;
        if (lastStep > 0 && step > lastStep) break;
        const float value = values[rows.endRecordAt(position) - 1];
        if (value == FLT_MAX) continue;
        series.steps.push_back(step);
        series.values.push_back(value);
    }
    return series;
}

}  // namespace stats
