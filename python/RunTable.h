#pragma once
// A run's monitor data opened for scripting front ends: the variables, their
// declarations and the rows and columns of the command's tables as plain
// arrays. Selection and row order are the command's own.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "export/StatsReport.h"
#include "export/TimeRange.h"

class MonDatabase;
class TimestepData;
namespace mon {
class RowIndex;
}

class RunTable {
  public:
    enum class Source { Guess, Results, Directory, Monitor };

    // Opens the source; Guess decides from the path (see sourceOf).
    // patterns: of solver-log lines whose named values become variables.
    RunTable(const std::string& path, Source source, std::vector<std::string> patterns = {});
    ~RunTable();

    // Reads what the source's writer added since (a run still being
    // written) and returns how many records are new; 0 when none.
    size_t update();

    // A folder is a run directory, a file that starts like a results file
    // (HDF5 or ADF) a results file, anything else a monitor file.
    static Source sourceOf(const std::string& path);

    const std::string& path() const { return path_; }
    Source source() const { return source_; }  // never Guess
    int64_t recordCount() const;

    // What the reading and the selections since the last call have to say
    // (a skipped solver-log line, a rule that matches nothing), taken once.
    std::vector<std::string> takeWarnings() const;

    std::vector<std::string> variables() const;
    std::vector<std::string> groups() const;
    struct Description {
        std::string label, treeName, treePath, group;
        std::vector<std::pair<std::string, std::string>> attributes;  // as declared
    };
    Description info(const std::string& name) const;

    // The command's columns: the record keys first (the loop key only when
    // loops are shown), then the listed names, then the rule's matches.
    std::vector<std::string> select(const std::vector<std::string>& names, const std::string& rule,
                                    bool withKeys, bool loops) const;
    // Whether a table asked for with loops shows them: the run must have them.
    bool showsLoops(bool loops) const;

    struct Rows {
        std::vector<int64_t> steps;
        std::vector<int64_t> loops;  // without loops, the step's last loop
        const mon::RowIndex* index = nullptr;
        std::vector<int64_t> records;  // each row's record; -1 for a skipped loop
    };
    // The time-history rows from first to last (0 or below: open end).
    Rows rows(bool loops, int32_t first, int32_t last) const;
    // A column along rows: NaN where there is no value; record keys exact.
    std::vector<float> values(const std::string& name, const Rows& rows, bool loops) const;
    // The same for a variable held in double precision (a time).
    bool holdsDoubles(const std::string& name) const;
    std::vector<double> doubleValues(const std::string& name, const Rows& rows, bool loops) const;
    std::vector<int64_t> keyValues(const std::string& name, const Rows& rows) const;
    bool isKey(const std::string& name) const;

    struct LastValue {
        std::string name;
        double value;  // NaN when there is none
        bool integer;
    };
    std::vector<LastValue> lastValues(const std::vector<std::string>& names,
                                      const std::string& rule) const;

    // The statistics table's rows (-stats, with -converged or -reference
    // when the settings ask for a verdict).
    exporter::StatsReport stats(const std::vector<std::string>& names, const std::string& rule,
                                const exporter::StatsSettings& settings, int32_t first,
                                int32_t last) const;
    // Narrows the steps first..last to those of a range of TIME.
    void narrowToTimes(const exporter::TimeRange& times, int32_t& first, int32_t& last) const;

  private:
    const TimestepData& data(const std::string& name) const;

    std::string path_;
    Source source_;
    mutable std::vector<std::string> warnings_;  // before the database, which adds to it
    std::unique_ptr<MonDatabase> database_;
};
