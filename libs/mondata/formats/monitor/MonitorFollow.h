#pragma once
// Monitor files and run directories followed as the solver writes them: a
// monitor file's appended lines, and a run directory's last segment and the
// segments that come after it. A segment other than the last that changes,
// or one that appears before the last, makes the directory be read again.

#include <memory>
#include <string>

#include "libs/mondata/sources/FollowedSource.h"

namespace mon {

// meantAs: what a file without a valid first line is said not to be.
std::unique_ptr<FollowedSource> followMonitorFile(const std::string& path, RunDataBuilder& builder,
                                                  std::string meantAs = "monitor file");
std::unique_ptr<FollowedSource> followRunDirectory(const std::string& folder,
                                                   RunDataBuilder& builder,
                                                   std::string noSegments = {});

}  // namespace mon
