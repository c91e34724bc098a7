#pragma once
// Opens the runs named by -res, -dir and -mon and reads their monitor data;
// the same sources monexport reads. Runs drawn together are told apart by
// names made from their paths.

#include <memory>
#include <string>
#include <vector>

#include "libs/mondata/model/MonDatabase.h"
#include "monplot/PlotOptions.h"

// The database's source type of an option's source kind.
MonDatabase::SourceType sourceTypeOf(RunSource::Kind kind);

// Throws owl::Error when no source is given or one cannot be read.
std::unique_ptr<MonDatabase> loadRun(const RunSource& source);
std::vector<std::unique_ptr<MonDatabase>> loadRuns(const PlotOptions& options);
// The paths of the sources, in order.
std::vector<std::string> sourcePaths(const PlotOptions& options);
// A short name per path: its last component ("case" of "/runs/case/"), with
// as many of the components before it as it takes to tell the names apart.
std::vector<std::string> runNames(const std::vector<std::string>& paths);
