#pragma once
// OpenFOAM solver logs (log.SOLVER, the solver's standard output) read as a
// monitor file; the format and its variables: docs/formats/openfoam-log.md.

#include <string>
#include <string_view>

#include "libs/mondata/model/RunDataBuilder.h"

namespace mon {

// Whether the first bytes of a file are those of a solver log: the OpenFOAM
// banner, the "Build  :" / "Exec   :" lines that follow it, or (a log cut at
// its start) a "Time = " line and a "Solving for" line. Dictionaries
// (FoamFile headers) and files that start with '#' (function-object data)
// are not logs.
bool looksLikeFoamLog(std::string_view head);

// Reads the whole log into the builder.
void readFoamLog(const std::string& path, RunDataBuilder& builder);

}  // namespace mon
