#pragma once
// The records of a run, in order: every record is one (time step, coefficient
// loop) pair. Steps ascend strictly; within a step the loops run 1..count
// without holes (a record that skips loops gets empty records in between), so
// record r of a step is loop r+1. Runs without coefficient loops have one
// record per step, stored as loop 1.

#include <cstdint>
#include <vector>

namespace mon {

class RowIndex {
  public:
    int rowCount() const { return rowCount_; }
    int stepCount() const { return static_cast<int>(steps_.size()); }
    bool empty() const { return steps_.empty(); }

    // Steps are addressed by position 0..stepCount()-1.
    int stepAt(int position) const { return steps_[position]; }
    int firstRowAt(int position) const { return firstRows_[position]; }
    int loopCountAt(int position) const { return loopCounts_[position]; }

    // Position of a step, or -1 when the run has no record of it.
    int findStep(int step) const;
    // Record of (step, loop); loop -1 means the step's last loop. -1 if none.
    int row(int step, int loop) const;
    // Position of the step that holds a record.
    int positionOfRow(int row) const;

    // Appends the record (step, loop), which must come after the last one,
    // with empty records for any loops it skips. Returns the new row count.
    int append(int step, int loop);
    // Drops every record at or after (step, loop). Returns the new row count.
    int truncateFrom(int step, int loop);
    // Whether (step, loop) comes after the last record.
    bool isAfterLast(int step, int loop) const;

  private:
    std::vector<int32_t> steps_;
    std::vector<int32_t> firstRows_;
    std::vector<int32_t> loopCounts_;
    int rowCount_ = 0;
};

}  // namespace mon
