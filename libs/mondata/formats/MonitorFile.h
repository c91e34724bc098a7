#pragma once
// Loading monitor files, whole, into a RunDataBuilder.

#include <string>

#include "libs/mondata/RunDataBuilder.h"

namespace mon {

// Reads one monitor file as the next segment of the builder's run.
void readMonitorFile(const std::string& path, RunDataBuilder& builder, bool firstSegment);

}  // namespace mon
