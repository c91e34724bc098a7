#pragma once
// Opens the runs named by -res, -dir and -mon and reads their monitor data;
// the same sources monexport reads. Runs drawn together are told apart by
// names made from their paths. The runs are followed: with -watch, each
// reading takes only what their solvers appended since the last.

#include <memory>
#include <string>
#include <vector>

#include "libs/mondata/model/MonDatabase.h"
#include "monplot/PlotOptions.h"

// The database's source type of an option's source kind.
MonDatabase::SourceType sourceTypeOf(RunSource::Kind kind);

class FollowedRuns {
  public:
    // Throws owl::Error when no source is given.
    explicit FollowedRuns(const PlotOptions& options);
    ~FollowedRuns();
    // Reads every run: whole the first time, then what was appended.
    // Returns whether a run changed. Throws the first run's owl::Error
    // after reading the others.
    bool read();
    const std::vector<std::unique_ptr<MonDatabase>>& runs() const { return runs_; }

  private:
    std::vector<RunSource> sources_;
    std::vector<std::unique_ptr<MonDatabase>> runs_;
};
// The paths of the sources, in order.
std::vector<std::string> sourcePaths(const PlotOptions& options);
// A short name per path: its last component ("case" of "/runs/case/"), with
// as many of the components before it as it takes to tell the names apart.
std::vector<std::string> runNames(const std::vector<std::string>& paths);
