#pragma once
// The data lines of the time-history table: one per time step of the key
// data within a range, or one per coefficient loop of each such step. The
// lines are formatted in blocks, on several threads for large tables, and
// written to the stream in order, block by block.

#include <cstdint>
#include <ostream>
#include <vector>

#include "export/TableFormat.h"

class TimestepData;
namespace mon {
class RowIndex;
}

namespace owl {

struct TimeHistoryColumn {
    const TimestepData* data;
    // Whole numbers. The record keys (data whose key() is Step or Loop) are
    // written as each line's exact step or loop, not from float data.
    bool integer;
    // For data held in double precision: the digits after the point
    // (TableFormat::digitsOf); 0 writes the floats.
    int digits = 0;
};

class TimeHistoryLines {
  public:
    // Lines for the steps of key's records from firstStep to lastStep
    // inclusive; per coefficient loop when coeffLoops, else one per step with
    // loop -1 (the step's last loop).
    TimeHistoryLines(const TimestepData& key, int32_t firstStep, int32_t lastStep, bool coeffLoops);

    size_t lineCount() const { return lineCount_; }

    // Writes every line; stops early once the stream has failed. workers 0
    // formats on the calling thread only.
    void write(std::ostream& out, const std::vector<TimeHistoryColumn>& columns,
               const TableFormat& format, unsigned workers) const;

    // Worker threads worth using on this machine.
    static unsigned defaultWorkers();

  private:
    struct Cursor {
        int position;    // step position in the key's records
        int loop;        // loop index within the step, from 0
        int64_t record;  // the step's first record at or after that loop
    };
    class BlockFormatter;

    int linesAt(int position) const;
    std::vector<Cursor> blockStarts(size_t linesPerBlock) const;

    const mon::RowIndex& rows_;
    bool coeffLoops_;
    int firstPosition_ = 0;
    int endPosition_ = 0;
    size_t lineCount_ = 0;
};

}  // namespace owl
