#pragma once
// What `stat` tells of a run's source, to notice that it changed without
// reading it: size, modification time and inode of the file, or of every
// file below a run folder (new restart segments, logs and time folders
// count too). Works on NFS, where change notifications miss other nodes'
// writes.

#include <cstdint>
#include <string>

namespace serve {

struct SourceStamp {
    std::string signature;   // differs whenever a file is added, removed, resized or rewritten
    int64_t newestTime = 0;  // the latest modification time, seconds since 1970; 0: none
    bool exists = false;
};

SourceStamp stampOf(const std::string& path);

}  // namespace serve
