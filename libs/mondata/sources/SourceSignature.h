#pragma once
// What tells that a source changed without reading it: the identity, size
// and modification time of its file, or of every file below its folder (so
// that new restart segments count too).

#include <string>

namespace mon {

// Differs whenever a file of the source is added, removed, resized or
// rewritten; "missing" while the source cannot be seen.
std::string sourceSignature(const std::string& path);

// What the choice of a source's format depends on: a file's first bytes,
// or the entries of a folder and the first bytes of its files, as sizes up
// to the bytes a format is recognised from. Once it stops changing, the
// format a reading chose is the one a new reading would choose.
std::string formatSignature(const std::string& path);

}  // namespace mon
