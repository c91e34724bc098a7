#pragma once
// Where a results file's objects keep their data. Results files come from
// other people, so the reader takes only what the file holds itself: objects
// reached through hard links, datasets stored contiguous, compact or chunked
// inside the file, and written in full. Anything else could make the reader
// open other files, or read values that were never written as zeros.

#include <hdf5.h>

#include <string>
#include <vector>

namespace mon::results {

// What kind of link leads to `name` in `parent` when it is not a hard link
// ("an external link", "a soft link", ...); empty for a hard link, or when
// there is no such link.
std::string foreignLinkKind(hid_t parent, const char* name);

// Why an open dataset's data are not stored in the file itself ("keeps its
// data in other files"); empty for contiguous, compact and chunked storage.
std::string foreignLayout(hid_t dataset);

// A chunked 1-D dataset's chunks, as reading them one by one needs them.
struct StoredChunks {
    hsize_t values = 0;                // elements a chunk holds
    bool checksumOnly = false;         // Fletcher's checksum is its one filter
    std::vector<hsize_t> bytes;        // each chunk's stored size
    std::vector<unsigned> unfiltered;  // each chunk's filters left out (a mask)
};

// Whether every element of an open 1-D dataset of `count` elements has
// storage in the file: a part never written would read as the fill value.
// Fills chunks, when given, for a chunked dataset.
bool storedInFull(hid_t dataset, hsize_t count, StoredChunks* chunks = nullptr);

}  // namespace mon::results
