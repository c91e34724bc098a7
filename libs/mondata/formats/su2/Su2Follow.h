#pragma once
// SU2 history files and run folders followed as the solver writes them.
// Each history file keeps its reader, which takes the rows appended since;
// they become records at once, and only the rows that decide the run's
// layout (steady or unsteady, which iteration numbers the records) are
// kept. A change of layout, a new file before the last of its zone or a
// file of another slot becoming the fullest reads the source again.
// A folder's new restart files join their zone's history; several zones
// are merged again from the first record that changed.

#include <memory>
#include <string>

#include "libs/mondata/sources/FollowedSource.h"

namespace mon {

std::unique_ptr<FollowedSource> followSu2History(const std::string& path, RunDataBuilder& builder,
                                                 const ReadOptions& options);
std::unique_ptr<FollowedSource> followSu2RunFolder(const std::string& folder,
                                                   RunDataBuilder& builder,
                                                   const ReadOptions& options);

}  // namespace mon
