#pragma once
// CGNS files (ADF or HDF5 flavour) read as runs: the convergence histories
// stored under each base (GlobalConvergenceHistory) and under each zone
// (ZoneConvergenceHistory) become the run's variables, one per data array
// (naming and steps in docs/formats/cgns.md). Opening reads the tree, the
// iteration counts and the iteration numbers; an array's values are read
// when its variable is first asked for.

#include <string>
#include <string_view>

#include "libs/mondata/model/RunData.h"

namespace mon {

// Whether the file is a CGNS file: an ADF database or an HDF5 file whose root
// carries the CGNS markers (so HDF5 results files are never taken for one).
bool looksLikeCgns(const std::string& path, std::string_view head);

// Throws owl::data::error naming the file and the node when the file is
// damaged, a node has the wrong type or size, or no history is stored.
RunData readCgnsFile(const std::string& path);

}  // namespace mon
