#pragma once
// An OpenFOAM solver log given with -mon, followed as the solver writes it:
// the parser that read it so far reads the lines appended since. A step is
// shown once complete (its ExecutionTime line or the next Time line), as a
// whole reading of the log shows it; so is a step still running that holds
// a NaN, until the lines that complete it replace it.

#include <memory>
#include <string>

#include "libs/mondata/sources/FollowedSource.h"

namespace mon {

std::unique_ptr<FollowedSource> followFoamLog(const std::string& path, RunDataBuilder& builder,
                                              const ReadOptions& options);

}  // namespace mon
