#pragma once
// Whether two paths lead to the same file, however they are spelled.

#include <sys/types.h>

#include <string>

namespace owl {

// The identity (device and inode) of the file a path names, taken once to be
// compared with many paths.
class FileIdentity {
  public:
    explicit FileIdentity(const std::string& path);
    // True when the path names this same existing file, so "./run.mon", a
    // hard link and the plain path all count as the same file.
    bool isFileAt(const std::string& path) const;
    // Whether the path named an existing regular file.
    bool isRegularFile() const { return regular_; }

  private:
    bool exists_ = false;
    bool regular_ = false;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

}  // namespace owl
