#pragma once
// OpenFOAM solver logs (log.SOLVER, the solver's standard output) read as a
// monitor file; the format and its variables: docs/formats/openfoam-log.md.

#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "libs/mondata/formats/openfoam/FoamLogStep.h"
#include "libs/mondata/model/RunDataBuilder.h"
#include "libs/mondata/sources/FoamTable.h"
#include "libs/mondata/sources/ReadOptions.h"

namespace mon {

class FoamLogPattern;

// A log's records kept as the rows of a table keyed by time; a restart
// appended to the log replaces the rows from its time on. For a log
// followed as it grows, the sink tells the earliest time it wrote at and
// whether it replaced rows.
class FoamTableSink final : public FoamRecordSink {
  public:
    explicit FoamTableSink(FoamTable& table) : table_(table) {}
    void beginRecord(int step, int loop, double time) override;
    void setValue(int column, double value) override {
        table_.cells.push_back({static_cast<uint32_t>(column), value});
    }
    double changedFrom = std::numeric_limits<double>::infinity();
    bool erased = false;

  private:
    FoamTable& table_;
};

// Whether the first bytes of a file are those of a solver log: the OpenFOAM
// banner, the "Build  :" / "Exec   :" lines that follow it, or (a log cut at
// its start) a "Time = " line and a "Solving for" line. Dictionaries
// (FoamFile headers) and files that start with '#' (function-object data)
// are not logs.
bool looksLikeFoamLog(std::string_view head);

// Reads the whole log into the builder.
void readFoamLog(const std::string& path, RunDataBuilder& builder, const ReadOptions& options);

// Reads a log of a case as a table keyed by time, to be joined with the
// case's function objects: its variables are declared in the builder, and
// the table's cells name builder columns. Returns false (and no table) for a
// log that gives no value besides times, a mesh or set-up tool's.
bool readFoamLogTable(const std::string& path, RunDataBuilder& builder,
                      const std::vector<FoamLogPattern>& patterns, FoamTable& table);

}  // namespace mon
