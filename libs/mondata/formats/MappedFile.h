#pragma once
// A read-only view of a whole file, memory-mapped. The file is opened
// read-only and never locked, so a solver can go on appending to it; the
// view holds the bytes that were there when it was opened.

#include <cstddef>
#include <string>

namespace mon {

class MappedFile {
  public:
    // Throws owl::data::error naming the path and the system's reason.
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const char* data() const { return data_; }
    size_t size() const { return size_; }

  private:
    const char* data_ = nullptr;
    size_t size_ = 0;
    void* mapping_ = nullptr;
};

}  // namespace mon
