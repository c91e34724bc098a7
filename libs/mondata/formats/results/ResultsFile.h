#pragma once
// Results files: HDF5 files whose group "/monitor" holds a run's monitor data
// (layout in docs/formats.md). Reading takes the records and the variables'
// metadata at once and each variable's values only when they are first asked
// for; the file stays open, read-only and unlocked, until the RunData's loader
// is destroyed.

#include <cstddef>
#include <string>

#include "libs/mondata/model/RunData.h"

namespace mon {

// Throws owl::data::error naming the file when it is missing, not HDF5,
// damaged or holds no valid monitor group.
RunData readResultsFile(const std::string& path);
// The same for an in-memory image of a file; name stands for it in messages.
RunData readResultsImage(const std::string& name, const void* data, size_t size);

struct ResultsWriteOptions {
    int deflateLevel = 0;         // 0: no compression; 1..9: deflate with shuffle
    size_t chunkRecords = 16384;  // values per chunk
};

// Writes the run's monitor group into a new file at path (replacing any file
// there). Throws owl::internal::error naming the path on failure.
void writeResultsFile(const RunData& run, const std::string& path,
                      const ResultsWriteOptions& options = {});

}  // namespace mon
