#pragma once
// Joins the time-keyed tables of many sources (for OpenFOAM: one function
// object's file kind, e.g. forceCoeffs1's coefficient.dat) into the
// records of one run.
//
// - Each source may have several segments (restarts), given in run order.
//   A segment with rows wins from its first time on: the earlier segments'
//   rows at or after that time are dropped. A segment without rows changes
//   nothing.
// - The times of all sources are merged: the accumulated time step of a
//   record is its time when every time is a whole number (a steady
//   run's iterations), else the position (from 1) of its time among all
//   distinct times (the run's steps are then numbered by the reader); a
//   source that wrote nothing at a time has no value in
//   that record, and a row without any value is no record.
//   Times closer than a relative 1e-9 are the same time (the float noise of
//   "0.1" against "0.1000000000000001").
// - The k-th row a source wrote at one time is coefficient loop k of that
//   step; runs get coefficient loops only when some time has several rows.

#include <vector>

#include "libs/mondata/model/RunDataBuilder.h"
#include "libs/mondata/sources/FoamTable.h"

namespace mon {

// Whether a time can number its step: a whole number from 0 to the largest
// int (a steady run's iteration). Where every time can, the steps are the
// times.
bool isStepNumberTime(double time);

class TimeKeyedHistory {
  public:
    // Adds the next segment of a source (sources are numbered from 0, in
    // the order their values should be set); builderColumns[i] is the
    // builder column of the table's column i.
    void addSegment(size_t source, FoamTable table, std::vector<int> builderColumns);
    // Delivers every record, in order, with the time itself in timeColumn,
    // a column declared with Precision::Time; values go in the precision
    // each column is declared with.
    void deliver(RunDataBuilder& builder, int timeColumn);

  private:
    struct Segment {
        FoamTable table;
        std::vector<int> builderColumns;
        size_t rowEnd;  // rows kept: [0, rowEnd)
    };
    struct RowRef {
        const Segment* segment;
        uint32_t row;
        uint32_t step;  // position of the row's time among all times
    };

    // The distinct times: each step's first time and its last (upper).
    void stepTimes(std::vector<double>& first, std::vector<double>& upper) const;
    std::vector<std::vector<RowRef>> sourceRows(const std::vector<double>& upper) const;
    void setValues(RunDataBuilder& builder, const RowRef& ref) const;
    static bool hasValues(const Segment& segment, size_t row);
    static bool wholeTimes(const std::vector<double>& times);

    std::vector<std::vector<Segment>> sources_;
};

}  // namespace mon
