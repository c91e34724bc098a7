#pragma once
// What tells that a source changed without reading it: the identity, size
// and modification time of its file, or of every file below its folder (so
// that new restart segments count too).

#include <string>

namespace mon {

// Differs whenever a file of the source is added, removed, resized or
// rewritten; "missing" while the source cannot be seen.
std::string sourceSignature(const std::string& path);

}  // namespace mon
