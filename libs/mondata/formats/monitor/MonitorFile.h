#pragma once
// Loading monitor files into a RunDataBuilder, a block at a time.

#include <cstdint>
#include <string>

#include "libs/mondata/formats/monitor/MonitorFileParser.h"
#include "libs/mondata/model/RunDataBuilder.h"
#include "libs/mondata/text/BlockReader.h"
#include "libs/mondata/text/RecordScan.h"

namespace mon {

// Reads one monitor file as the next segment of the builder's run. Throws
// owl::data::error when it has no complete first line, saying the file is
// not a meantAs.
void readMonitorFile(const std::string& path, RunDataBuilder& builder, bool firstSegment,
                     std::string meantAs = "monitor file");

// What the segments of one run share while they are read: the bytes and
// the number of all of them (to size the columns once), the declarations
// made so far, and the memory they are read with.
struct RunSegments {
    uint64_t bytes = 0;
    uint64_t files = 1;
    KnownDeclarations declarations;
    // Reading memory, lent to each segment in turn.
    BlockReader::Buffer buffer;
    std::vector<ScannedPiece> pieces;
};

// The same for a segment of a run directory, where a file without a complete
// first line (just created by the solver) holds no data yet: returns false
// for it, and the builder is left as it was.
bool readMonitorSegment(const std::string& path, RunDataBuilder& builder, bool firstSegment,
                        RunSegments& run);

}  // namespace mon
