#pragma once
// Reads a whole run from one of the three kinds of source.

#include <string>

#include "libs/mondata/model/RunData.h"

namespace mon {

enum class SourceKind { RunDirectory, ResultsFile, MonitorFile };

// Throws owl::Error naming the path and what is wrong.
RunData readRun(SourceKind kind, const std::string& path);

}  // namespace mon
