#include "libs/mondata/sources/MergedRuns.h"

#include <climits>
#include <utility>

namespace mon {

namespace {
// Walks the records of one run in order.
class RecordCursor {
  public:
    // From the first record at or after (step, loop).
    RecordCursor(const RowIndex& rows, std::pair<int, int> from)
        : rows_(rows), record_(rows.firstRecordFrom(from.first, from.second)) {
        if (!atEnd()) position_ = rows.positionOfRecord(record_);
    }

    bool atEnd() const { return record_ >= rows_.rowCount(); }
    int64_t row() const { return record_; }
    std::pair<int, int> key() const {
        return {rows_.stepAt(position_), rows_.loopOfRecord(record_)};
    }
    void next() {
        ++record_;
        if (!atEnd() && record_ >= rows_.endRecordAt(position_)) ++position_;
    }

  private:
    const RowIndex& rows_;
    int position_ = 0;
    int64_t record_ = 0;
};

// A record's value in the precision the run holds it in.
double valueAt(const RunData& run, size_t variable, int64_t record) {
    const auto at = static_cast<size_t>(record);
    return run.variables[variable].holdsDoubles() ? run.doubleColumns[variable][at]
                                                  : run.columns[variable][at];
}

// The smallest key of the records not yet added; false when none is left.
bool smallestKey(const std::vector<RecordCursor>& cursors, std::pair<int, int>& smallest) {
    bool found = false;
    for (const RecordCursor& cursor : cursors)
        if (!cursor.atEnd() && (!found || cursor.key() < smallest)) {
            smallest = cursor.key();
            found = true;
        }
    return found;
}
}  // namespace

void addMergedRuns(const std::vector<RunData>& runs, RunDataBuilder& builder) {
    std::vector<const RunData*> merged;
    for (const RunData& run : runs) {
        merged.push_back(&run);
        for (const std::string& path : run.sourceFiles) builder.addSourceFile(path);
        for (const std::string& warning : run.warnings) builder.addWarning(warning);
    }
    addMergedRunsFrom(merged, builder, {INT_MIN, INT_MIN});
}

void addMergedRunsFrom(const std::vector<const RunData*>& runs, RunDataBuilder& builder,
                       std::pair<int, int> from) {
    std::vector<RecordCursor> cursors;
    std::vector<std::vector<int>> columns(runs.size());
    for (size_t run = 0; run < runs.size(); ++run) {
        cursors.emplace_back(*runs[run]->rows, from);
        for (const VariableInfo& info : runs[run]->variables)
            columns[run].push_back(builder.declare(info));
    }
    builder.dropRecordsFrom(from.first, from.second);
    std::pair<int, int> key;
    while (smallestKey(cursors, key)) {
        builder.beginRecord(key.first, key.second);
        for (size_t run = 0; run < runs.size(); ++run) {
            RecordCursor& cursor = cursors[run];
            if (cursor.atEnd() || cursor.key() != key) continue;
            for (size_t i = 0; i < columns[run].size(); ++i)
                builder.setDoubleValue(columns[run][i], valueAt(*runs[run], i, cursor.row()));
            cursor.next();
        }
    }
}

}  // namespace mon
