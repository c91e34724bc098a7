#pragma once
// Runs read side by side (the zones of a multizone run, each its own
// history) merged into one: every record any of them has, in key order, with
// the values of the runs that have that record, in the precision each run
// holds them in, and the runs' warnings. Each run's variables keep their
// names, so the runs must name their variables apart.

#include <vector>

#include "libs/mondata/model/RunData.h"
#include "libs/mondata/model/RunDataBuilder.h"

namespace mon {

// Adds the merged records to the builder, whose coefficient-loop setting
// must match the runs'.
void addMergedRuns(const std::vector<RunData>& runs, RunDataBuilder& builder);

}  // namespace mon
