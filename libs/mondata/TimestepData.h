#pragma once
// One variable's values: one float per record of the run, FLT_MAX where the
// variable has no value. Owned by the MonDatabase.

#include <cfloat>
#include <memory>
#include <vector>

#include "libs/mondata/RowIndex.h"

class TimestepData {
  public:
    TimestepData(std::shared_ptr<const mon::RowIndex> rows, std::vector<float> values,
                 bool coefficientLoops);
    virtual ~TimestepData();

    // The inclusive range of steps at which the variable has values; for a
    // variable without any value, the run's range.
    int getFirstTimestep() const { return firstStep_; }
    int getLastTimestep() const { return lastStep_; }
    // Whether the run has records of that step.
    bool exists(int step) const { return rows_->findStep(step) >= 0; }
    // Coefficient loops recorded at that step (0 when none).
    int getCloopCount(int step) const;
    // The value at (step, loop); loop -1 is the step's last loop. FLT_MAX
    // when there is no value.
    float getValue(int step, int cloop) const {
        int row = rows_->row(step, cloop);
        return row < 0 ? FLT_MAX : values_[static_cast<size_t>(row)];
    }
    // Loop of the last value (with getLastTimestep); -1 for runs without loops.
    int getLastCloop() const { return lastLoop_; }

    // Direct access for writers that walk every record in order.
    const mon::RowIndex& rows() const { return *rows_; }
    const std::vector<float>& values() const { return values_; }

  private:
    std::shared_ptr<const mon::RowIndex> rows_;
    std::vector<float> values_;
    int firstStep_ = 0;
    int lastStep_ = -1;
    int lastLoop_ = -1;
};
