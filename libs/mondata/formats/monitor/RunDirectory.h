#pragma once
// Loading a run directory: the folder a solver writes a run into, one monitor
// file per segment (a restart starts a new file). Every "*.mon" file directly
// in the folder is read, in ascending byte order of the names, as the next
// segment of one history.

#include <string>
#include <vector>

#include "libs/mondata/model/RunDataBuilder.h"

namespace mon {

// The monitor files of a run directory, sorted by name. Throws
// owl::data::error naming the folder when it cannot be listed or holds none
// (with the message noSegments, when given).
std::vector<std::string> runDirectorySegments(const std::string& folder,
                                              const std::string& noSegments = {});

// Reads every segment into the builder. A segment without a complete first
// line (a file the solver has just created) holds no data yet and is skipped;
// one that is not a regular file (a FIFO, a device) is an error.
void readRunDirectory(const std::string& folder, RunDataBuilder& builder,
                      const std::string& noSegments = {});

}  // namespace mon
