#pragma once
// Reads a file front to back in blocks, as large as it was when opened (from
// a given offset, for a file followed as it grows). The file is opened read-only and never locked,
// so a solver can go on appending to it; bytes appended after the opening are not read. Nothing is
// mapped: a file that shrinks while it is read (a solver restarted with its output truncated, a log
// rotated) is reported as an error, never a fault. Memory stays at a block plus the longest line,
// whatever the file's size.

#include <time.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "libs/system/LargeBlocks.h"

namespace mon {

class BlockReader {
  public:
    static constexpr size_t kBlockBytes = 4 << 20;
    // Memory for the blocks. A reader of many files in turn lends one to
    // each, so that its pages are written fresh only once.
    using Buffer = std::vector<char, owl::BufferAllocator<char>>;

    // Opens without blocking and accepts regular files only, so a FIFO or a
    // device is refused instead of waiting for a writer or never ending.
    // Throws owl::data::error naming the path and the reason.
    explicit BlockReader(const std::string& path, size_t blockBytes = kBlockBytes,
                         Buffer* buffer = nullptr, uint64_t from = 0);
    ~BlockReader();
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;

    // The bytes of the last block from `consumed` on (an unfinished line),
    // followed by the next block of the file. Empty once the file is read.
    std::string_view next(size_t consumed);
    // Gives the whole file (to a reader not read yet) to parseLines block by
    // block. parseLines returns how many bytes of complete lines it took;
    // the rest, an unfinished line, comes again at the start of the next call.
    void feed(const std::function<size_t(std::string_view)>& parseLines);
    // The file's size when it was opened.
    size_t size() const { return size_; }
    // The file opened, which a follower compares with the one it read before.
    uint64_t device() const { return device_; }
    uint64_t inode() const { return inode_; }
    const struct timespec& modified() const { return modified_; }

  private:
    [[noreturn]] void fail(const std::string& reason) const;
    size_t readInto(char* to, size_t count);

    std::string path_;
    int fd_ = -1;
    size_t blockBytes_;
    size_t size_ = 0;    // when opened
    size_t offset_ = 0;  // next byte to read
    uint64_t device_ = 0, inode_ = 0;
    struct timespec modified_ {};
    Buffer ownBuffer_;
    Buffer& buffer_;   // ownBuffer_ or a lent one
    size_t held_ = 0;  // bytes of buffer_ returned by the last next()
};

}  // namespace mon
