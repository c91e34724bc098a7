#pragma once
// Reading one OpenFOAM function-object data file from disk.

#include <string>

#include "libs/mondata/sources/FoamTable.h"

namespace mon {

// The file's rows; a file that is empty or holds only a header has none.
// Throws owl::data::error "FILE:LINE: what is wrong" for damaged content.
FoamTable readFoamDataFile(const std::string& path);

}  // namespace mon
