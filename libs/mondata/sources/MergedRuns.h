#pragma once
// Runs read side by side (the zones of a multizone run, each its own
// history) merged into one: every record any of them has, in key order, with
// the values of the runs that have that record, in the precision each run
// holds them in, and the runs' warnings. Each run's variables keep their
// names, so the runs must name their variables apart.

#include <utility>
#include <vector>

#include "libs/mondata/model/RunData.h"
#include "libs/mondata/model/RunDataBuilder.h"

namespace mon {

// Adds the merged records to the builder, whose coefficient-loop setting
// must match the runs'.
void addMergedRuns(const std::vector<RunData>& runs, RunDataBuilder& builder);
// For runs followed as they grow: merges again, into a builder that holds
// the merge of the runs' earlier records, the records from (step, loop) on
// (those after it dropped first), declaring the runs' new variables.
void addMergedRunsFrom(const std::vector<const RunData*>& runs, RunDataBuilder& builder,
                       std::pair<int, int> from);

}  // namespace mon
