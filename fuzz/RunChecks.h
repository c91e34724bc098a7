#pragma once
// What every reader's fuzz target checks of the run it read: one value per
// record in every column, and every variable's last value reachable.

#include "libs/mondata/model/RunData.h"
#include "libs/mondata/model/TimestepData.h"

namespace fuzzcheck {

inline void checkColumns(const mon::RunData& run) {
    const size_t rows = static_cast<size_t>(run.rows->rowCount());
    for (const auto& column : run.columns) {
        if (column.size() != rows) __builtin_trap();
        TimestepData data(run.rows, column, run.hasCoefficientLoops);
        volatile float last = data.getValue(data.getLastTimestep(), data.getLastCloop());
        (void)last;
    }
}

}  // namespace fuzzcheck
