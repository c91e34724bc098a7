#pragma once
// The records of a run, in order: every record is one (time step,
// coefficient loop) pair that the source holds values for. Steps ascend
// strictly and loops ascend within a step. A step presents the loops
// 1..count, count being the loop of its last record; the loops it skips have
// no record and read as empty. Only records are stored, so the memory a run
// takes follows the records its source holds, not the loop numbers they
// carry. Runs without coefficient loops have one record per step, loop 1.
//
// Record numbers and counts are 64-bit: a run may present more than 2^31
// (step, loop) pairs.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mon {

class RowIndex {
  public:
    // The records held.
    int64_t rowCount() const { return static_cast<int64_t>(loops_.size()); }
    int stepCount() const { return static_cast<int>(steps_.size()); }
    bool empty() const { return steps_.empty(); }

    // Steps are addressed by position 0..stepCount()-1.
    int stepAt(int position) const { return steps_[static_cast<size_t>(position)]; }
    // The loops the step presents: the loop of its last record.
    int loopCountAt(int position) const { return loops_[endRecordAt(position) - 1]; }
    int64_t firstRecordAt(int position) const {
        return firstRecords_[static_cast<size_t>(position)];
    }
    int64_t endRecordAt(int position) const;
    int loopOfRecord(int64_t record) const { return loops_[static_cast<size_t>(record)]; }
    // The first record of the step at position whose loop is loop or later.
    int64_t recordFrom(int position, int loop) const;

    // Position of a step, or -1 when the run has no record of it.
    int findStep(int step) const;
    // Record of (step, loop); loop -1 means the step's last loop. -1 when
    // the run holds no such record (a skipped loop included).
    int64_t record(int step, int loop) const;
    // Position of the first step above `step` (stepCount() when none is).
    int positionAfterStep(int64_t step) const;
    // Position of the step that holds a record.
    int positionOfRecord(int64_t record) const;
    // The first record whose (step, loop) is (step, loop) or after it.
    int64_t firstRecordFrom(int step, int loop) const;

    // Appends the record (step, loop), which must come after the last one.
    // Returns the new record count.
    int64_t append(int step, int loop);
    // Drops every record at or after (step, loop). Returns the new record count.
    int64_t truncateFrom(int step, int loop);
    // Whether (step, loop) comes after the last record.
    bool isAfterLast(int step, int loop) const;

  private:
    std::vector<int32_t> steps_;
    std::vector<int64_t> firstRecords_;  // per step
    std::vector<int32_t> loops_;         // per record
};

}  // namespace mon
