#pragma once
// What a run's path holds, told from the path itself: a folder is a run
// directory (-dir); a file that starts with the HDF5 signature or holds
// "ADF Database" in its first bytes is a results file (-res); any other
// file a monitor file (-mon).

#include <string>

#include "libs/mondata/model/MonDatabase.h"

namespace study {

MonDatabase::SourceType runKindOf(const std::string& path);

}  // namespace study
