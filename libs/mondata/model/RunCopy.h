#pragma once
// A run's data copied whole, for a reader that must keep one reading while
// the source it follows is read on (a followed run's data changes at each
// update; the copy does not).

#include "libs/mondata/model/RunData.h"

namespace mon {

// Whether the run holds every value and attribute itself, with nothing
// left to be read on first use, so that copyOfRun can copy it.
bool holdsEverything(const RunData& run);

// A copy sharing nothing with run, warnings and source files included.
// The run must hold everything (holdsEverything).
RunData copyOfRun(const RunData& run);

}  // namespace mon
