#pragma once
// Reads a whole run from one of the three kinds of source.

#include <string>

#include "libs/mondata/model/RunData.h"
#include "libs/mondata/sources/ReadOptions.h"

namespace mon {

enum class SourceKind { RunDirectory, ResultsFile, MonitorFile };

// Throws owl::Error naming the path and what is wrong; a malformed read
// option is reported before the source is read.
RunData readRun(SourceKind kind, const std::string& path, const ReadOptions& options = {});

}  // namespace mon
