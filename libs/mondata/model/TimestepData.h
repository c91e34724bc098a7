#pragma once
// One variable's values: one float per record of the run, FLT_MAX where the
// variable has no value; a loop the run skipped reads as FLT_MAX too. The
// record keys are columns without stored values: they present the step or
// the loop of every (step, loop) the run presents. A variable held in double
// precision (a time) keeps its doubles beside their floats, for the writers
// that show every digit. Owned by the MonDatabase; the values of a run it
// follows stay where the run's reading keeps them, and are viewed.

#include <cfloat>
#include <memory>
#include <vector>

#include "libs/mondata/model/FloatColumn.h"
#include "libs/mondata/model/RecordKey.h"
#include "libs/mondata/model/RowIndex.h"
#include "libs/mondata/model/VariableInfo.h"

class TimestepData {
  public:
    using Key = mon::RecordKey;

    TimestepData(std::shared_ptr<const mon::RowIndex> rows, mon::FloatColumn values,
                 bool coefficientLoops);
    // A variable held in double precision (Double or Time); its floats are
    // the doubles rounded.
    TimestepData(std::shared_ptr<const mon::RowIndex> rows, mon::DoubleColumn values,
                 bool coefficientLoops, mon::VariableInfo::Precision precision);
    // The same with the doubles' floats at hand (one for each double).
    TimestepData(std::shared_ptr<const mon::RowIndex> rows, mon::FloatColumn floats,
                 mon::DoubleColumn values, bool coefficientLoops,
                 mon::VariableInfo::Precision precision);
    // A record key's column.
    TimestepData(std::shared_ptr<const mon::RowIndex> rows, Key key, bool coefficientLoops);
    // Views of values kept elsewhere, which must outlive this object; doubles
    // is null for a variable held in floats.
    TimestepData(std::shared_ptr<const mon::RowIndex> rows, const mon::FloatColumn& floats,
                 const mon::DoubleColumn* doubles, bool coefficientLoops,
                 mon::VariableInfo::Precision precision);
    virtual ~TimestepData();
    TimestepData(const TimestepData&) = delete;  // it may view its own members
    TimestepData& operator=(const TimestepData&) = delete;

    // The inclusive range of steps at which the variable has values; for a
    // variable without any value, the run's range.
    int getFirstTimestep() const { return firstStep_; }
    int getLastTimestep() const { return lastStep_; }
    // Whether the run has records of that step.
    bool exists(int step) const { return rows_->findStep(step) >= 0; }
    // Coefficient loops presented at that step (0 when none).
    int getCloopCount(int step) const;
    // The value at (step, loop); loop -1 is the step's last loop. FLT_MAX
    // when there is no value.
    float getValue(int step, int cloop) const;
    // Loop of the last value (with getLastTimestep); -1 for runs without loops.
    int getLastCloop() const { return lastLoop_; }

    // Direct access for writers that walk every record in order.
    const mon::RowIndex& rows() const { return *rows_; }
    const mon::FloatColumn& values() const { return *floats_; }
    // Whether the variable is held in double precision, and its doubles
    // (empty otherwise): FLT_MAX, as a double, where there is no value.
    bool holdsDoubles() const { return precision_ != mon::VariableInfo::Precision::Float; }
    mon::VariableInfo::Precision precision() const { return precision_; }
    const mon::DoubleColumn& doubleValues() const { return *doubles_; }
    // The value at (step, loop) in the precision the variable is held in.
    double getDoubleValue(int step, int cloop) const;
    Key key() const { return key_; }

  private:
    void setValueRange(bool coefficientLoops);
    void setRange(int64_t firstRecord, int64_t lastRecord, bool coefficientLoops);
    float keyValue(int step, int cloop) const;

    std::shared_ptr<const mon::RowIndex> rows_;
    mon::FloatColumn ownFloats_;
    mon::DoubleColumn ownDoubles_;
    const mon::FloatColumn* floats_ = &ownFloats_;
    const mon::DoubleColumn* doubles_ = &ownDoubles_;
    mon::VariableInfo::Precision precision_ = mon::VariableInfo::Precision::Float;
    Key key_ = Key::None;
    int firstStep_ = 0;
    int lastStep_ = -1;
    int lastLoop_ = -1;
};
