#pragma once
// Reads a whole run from one of the three kinds of source.

#include <memory>
#include <string>

#include "libs/mondata/model/RunData.h"
#include "libs/mondata/sources/FollowedSource.h"
#include "libs/mondata/sources/ReadOptions.h"

namespace mon {

enum class SourceKind { RunDirectory, ResultsFile, MonitorFile };

// Throws owl::Error naming the path and what is wrong; a malformed read
// option is reported before the source is read.
RunData readRun(SourceKind kind, const std::string& path, const ReadOptions& options = {});

// The name of the format that reads the source now: which one a source
// is taken for depends on the first bytes of its files, which a growing
// source may not have written yet.
std::string formatName(SourceKind kind, const std::string& path, const ReadOptions& options);

// The source made ready to be followed into builder by its format (not read
// yet), or null when its format is read whole at every change. Throws as
// readRun does for a source given with the wrong option.
std::unique_ptr<FollowedSource> followRun(SourceKind kind, const std::string& path,
                                          const ReadOptions& options, RunDataBuilder& builder);

}  // namespace mon
