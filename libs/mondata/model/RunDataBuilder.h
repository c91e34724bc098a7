#pragma once
// Assembles a RunData from records arriving in file order, as a solver wrote
// them. A record whose (step, loop) does not come after the last one marks a
// restart: the records from that key on are dropped and the new ones take
// their place. Variables are identified by name, so segments written by
// different solver processes combine into one history.
//
// A run followed as it grows keeps its builder: publish() makes the data
// whole for the records so far, and records go on arriving after it.

#include <QHash>
#include <QString>
#include <cfloat>
#include <cstdint>
#include <utility>
#include <vector>

#include "libs/mondata/model/RunData.h"

namespace mon {

class RunDataBuilder {
  public:
    // The largest coefficient loop a record may carry. Skipped loops take no
    // memory, but every loop a step presents is a line of the time-history
    // table: the bound keeps one record from asking for 2^31 lines.
    static constexpr int kMaxLoop = 100000;

    RunDataBuilder();

    void setCoefficientLoops(bool loops) { data_.hasCoefficientLoops = loops; }
    bool hasCoefficientLoops() const { return data_.hasCoefficientLoops; }
    void setStepsNumberedByReader() { data_.stepsNumberedByReader = true; }

    // Returns the column of the named variable, declaring it if new. A
    // variable declared in double precision (Double or Time) takes
    // setDoubleValue().
    int declare(VariableInfo info);
    // Column of a declared variable, or -1.
    int columnOf(const QString& name) const;
    const QString& variableName(int column) const { return data_.variables[column].name; }

    // Starts the record (step, loop); loop is 1 for runs without loops.
    void beginRecord(int step, int loop);
    // Sets a value of the current record.
    void setValue(int column, float value) {
        FloatColumn& values = data_.columns[static_cast<size_t>(column)];
        values.resize(static_cast<size_t>(rowCount_) - 1, FLT_MAX);
        values.push_back(value);
    }
    // Sets a value of the current record in the variable's precision: a
    // variable held in double precision keeps the double, and its float
    // column gets the value rounded to float.
    void setDoubleValue(int column, double value) {
        if (holdsDoubles_[static_cast<size_t>(column)]) {
            DoubleColumn& values = data_.doubleColumns[static_cast<size_t>(column)];
            values.resize(static_cast<size_t>(rowCount_) - 1, FLT_MAX);
            values.push_back(value);
        }
        setValue(column, static_cast<float>(value));
    }
    // Drops the records of (step, loop) and after.
    void dropRecordsFrom(int step, int loop = 1);
    // Whether the record (step, loop) would follow the last one, not restart.
    bool continuesRun(int step, int loop) const { return rows_->isAfterLast(step, loop); }
    // The values of one record: values[i] belongs to the i-th of the columns
    // setRecordValues() is given. FLT_MAX stands for no value.
    struct RecordValues {
        const float* values;
        size_t count;
    };
    // Sets the values of the last records.size() records at once, a block of
    // fields at a time, so that each column is written in sequence.
    void setRecordValues(const std::vector<int>& columns, const std::vector<RecordValues>& records);
    // Makes room for that many records in every column, present and to come,
    // so that appending values does not move them. Only a hint: more
    // records still fit, and room not used is never touched.
    void reserveRecords(int64_t records);
    int64_t reservedRecords() const { return reservedRecords_; }

    // The bytes the finished run's values take: one float per variable and
    // record. Readers of floats check it against memoryBudget() as the run
    // grows.
    uint64_t valueBytes() const {
        return static_cast<uint64_t>(rowCount_) * data_.variables.size() * sizeof(float);
    }
    size_t variableCount() const { return data_.variables.size(); }
    int64_t recordCount() const { return rowCount_; }

    void addSourceFile(const std::string& path) { data_.sourceFiles.push_back(path); }
    void setNames(NameEncoding names) { data_.names = names; }
    void addWarning(std::string message) { data_.warnings.push_back(std::move(message)); }
    RunData finish();

    // Makes data() whole for the records so far (every column as long as
    // the records) at the cost of the records since the last call, and
    // returns how many records are new since then: those appended, and those
    // written again after a restart dropped them.
    int64_t publish();
    // The run as published; its columns stay where they are until the next
    // record arrives.
    const RunData& data() const { return data_; }
    // Starts again with no record, variable or source file (a followed
    // source whose records must be written again in another order).
    void clear();
    // The warnings added since the last call.
    std::vector<std::string> takeWarnings() { return std::exchange(data_.warnings, {}); }

    // A point to go back to, for records shown only for a while (a solver
    // log's step still running, shown because it diverged).
    struct Mark {
        int64_t records;
        size_t variables;
        bool loops;
    };
    Mark mark() {
        keptSinceMark_ = rowCount_;
        return {rowCount_, data_.variables.size(), data_.hasCoefficientLoops};
    }
    // Drops the records and variables that came after the mark. False, and
    // nothing dropped, when a restart since dropped records before it.
    bool rollBack(const Mark& mark);

  private:
    // Fields moved together from records into columns.
    static constexpr size_t kFieldBlock = 16;
    void completeDoubleColumns(size_t fromRecord);
    static void copyFieldBlock(const std::vector<RecordValues>& records, float* const* targets,
                               size_t firstField, size_t width);

    RunData data_;
    RowIndex* rows_;
    QHash<QString, int> columns_;
    std::vector<char> holdsDoubles_;  // per column: the variable's holdsDoubles()
    int64_t rowCount_ = 0;
    int64_t reservedRecords_ = 0;
    // The records at the last publish() that no restart has dropped since.
    int64_t publishedKept_ = 0;
    int64_t keptSinceMark_ = 0;  // the same since the last mark()
    void truncate(int64_t records);
};

}  // namespace mon
