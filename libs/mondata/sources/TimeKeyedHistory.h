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
//
// A case followed as it grows keeps its history: its tables grow where
// their readers keep them, and each delivery writes again only the records
// from the first step a change can reach.

#include <cstdint>
#include <limits>
#include <memory>
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
    // The same for a table still being read (a file followed as it grows):
    // the history reads it where it is, which must outlive the history.
    void addGrowingSegment(size_t source, const FoamTable& table, std::vector<int> builderColumns);
    // The builder columns of a segment whose table gained columns.
    void setBuilderColumns(size_t source, size_t segment, std::vector<int> builderColumns);
    size_t segmentCount(size_t source) const {
        return source < sources_.size() ? sources_[source].size() : 0;
    }

    // Delivers every record, in order, with the time itself in timeColumn,
    // a column declared with Precision::Time; values go in the precision
    // each column is declared with.
    void deliver(RunDataBuilder& builder, int timeColumn);
    // Delivers what changed since the last delivery into the builder that
    // holds it: changedFrom is the earliest time at which a table changed
    // (rows added, written again or given values, a segment added). The
    // records from the first step that time can reach are dropped and
    // written again; those before stay.
    void deliverFrom(RunDataBuilder& builder, int timeColumn, double changedFrom);
    // Whether some delivered time has several rows of a source (loops).
    bool hasLoops() const { return !stepsWithLoops_.empty(); }

    static constexpr double kFromStart = -std::numeric_limits<double>::infinity();

  private:
    struct Segment {
        std::unique_ptr<FoamTable> owned;  // null for a growing table
        const FoamTable* table;
        std::vector<int> builderColumns;
        size_t rowEnd;  // rows kept: [0, rowEnd)
    };
    struct RowRef {
        const Segment* segment;
        uint32_t row;
        uint32_t step;  // position of the row's time among all times
    };

    void cutSegments();
    size_t firstStepReached(double changedFrom) const;
    void forgetStepsFrom(size_t position);
    // The distinct times from fromTime on: each step's first time and its
    // last (upper), appended to first_ and upper_.
    void addStepTimes(double fromTime);
    std::vector<std::vector<RowRef>> sourceRows(double fromTime) const;
    void deliverSteps(RunDataBuilder& builder, int timeColumn, size_t fromStep, double fromTime);
    int stepNumber(size_t position) const;
    void setValues(RunDataBuilder& builder, const RowRef& ref) const;
    static bool hasValues(const Segment& segment, size_t row);
    static size_t firstRowFrom(const Segment& segment, double time);

    std::vector<std::vector<Segment>> sources_;
    // The steps delivered: their first and last times, whether they are
    // numbered by their times, and those with several rows of a source.
    std::vector<double> first_, upper_;
    bool stepIsTime_ = true;
    std::vector<size_t> stepsWithLoops_, stepsNotWhole_;  // positions, ascending
};

}  // namespace mon
