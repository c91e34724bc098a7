#pragma once
// Notices that a run's source has grown or changed: a signature made of the
// size and modification time of the file, or of every file below a run
// folder (so new restart segments count too).

#include <string>

// Differs whenever a file of the source is added, removed, resized or
// rewritten; "missing" while the source cannot be seen.
std::string sourceSignature(const std::string& path);
