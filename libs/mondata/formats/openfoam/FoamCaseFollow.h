#pragma once
// OpenFOAM cases (and function-object data files given with -mon) followed
// as the solver writes them. Each solver log and data file keeps its parser
// and its table, which grow by what is appended; new logs, time folders and
// function objects join as they appear. The records are the tables merged
// on time (TimeKeyedHistory), delivered again from the first step a change
// reaches; a change that moves variables or segments around (a new log that
// sorts first, a column added to a file read earlier) delivers them all
// again, from the tables, in the order a whole reading gives.

#include <memory>
#include <string>

#include "libs/mondata/sources/FollowedSource.h"

namespace mon {

std::unique_ptr<FollowedSource> followFoamCase(const std::string& folder, RunDataBuilder& builder,
                                               const ReadOptions& options);
std::unique_ptr<FollowedSource> followFoamDataFile(const std::string& path, RunDataBuilder& builder,
                                                   const ReadOptions& options);

}  // namespace mon
