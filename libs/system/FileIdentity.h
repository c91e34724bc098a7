#pragma once
// Whether two paths lead to the same file, however they are spelled.

#include <string>

namespace owl {

// True when both paths name one existing file (same device and inode), so
// "./run.mon", a hard link and the plain path all count as the same file.
bool sameFile(const std::string& a, const std::string& b);

}  // namespace owl
