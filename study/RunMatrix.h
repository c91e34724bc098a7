#pragma once
// A run matrix (-matrix FILE.csv): a CSV file whose header names the
// columns and whose first column says which run a line belongs to, the
// others being that run's parameters. The first column holds a run's path
// as matched, or a run name without wildcards: a component of the run's
// path (its folder's or its file's name, with or without the extension).
// Fields may be quoted ("a,b", "" for a quote). Runs no line names get
// empty parameters; lines that name no run are kept apart (unmatched), and a
// matrix that names no run at all is an error. Read strictly: a line with
// another number of fields than the header is an error naming the file and
// line.

#include <string>
#include <vector>

#include "study/RunParameters.h"

namespace study {

RunParameters matrixParameters(const std::string& file, const std::vector<std::string>& runs);

}  // namespace study
