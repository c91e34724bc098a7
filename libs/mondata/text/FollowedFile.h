#pragma once
// A text file read as its writer appends to it. It keeps what tells the file
// it read from any other (device and inode, its first bytes and the bytes
// just before where reading stopped), the size and modification time last
// seen, and the offset after the last piece a reader took whole: a line
// still being written is read again, complete, at the next reading.
//
// Changes are found by stat polling, which sees the writes of other NFS
// nodes where inotify does not.

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "libs/mondata/text/BlockReader.h"

namespace mon {

class FollowedFile {
  public:
    enum class Change {
        None,       // nothing to read
        Appended,   // bytes after the offset (or a file not read yet)
        Restarted,  // truncated below the offset, or replaced: read it again from its start
        Missing,    // cannot be seen now; followed again when it can
    };
    // Bytes compared at the start and before the offset to tell a file
    // rewritten from its start (a solver started again into the same log).
    static constexpr size_t kFingerprintBytes = 4096;

    explicit FollowedFile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    // What happened to the file since it was last read: a stat, and the
    // bytes compared when the stat shows a change.
    Change poll();
    // Why the last poll found the file missing, as a message says it, and
    // whether it was there at the poll before.
    const std::string& missingReason() const { return missingReason_; }
    bool wentMissing() const { return wentMissing_; }
    bool missing() const { return missing_; }

    // Reads from the offset to the file's end, a block at a time, handing
    // the text to parseLines; parseLines returns how many bytes it took and
    // the rest comes again at the start of the next call. Returns false,
    // reading nothing, when the file turned out to have been replaced or cut
    // since the poll. Errors of reading are owl::data::error naming the file.
    bool readAppended(const std::function<size_t(std::string_view)>& parseLines,
                      BlockReader::Buffer* buffer = nullptr,
                      size_t blockBytes = BlockReader::kBlockBytes);

    // Bytes taken by the reader so far.
    uint64_t offset() const { return offset_; }
    // Whether the file was read at all.
    bool opened() const { return opened_; }
    // Its size when last polled or read.
    uint64_t size() const { return size_; }

  private:
    void keepFingerprint(std::string_view taken);
    bool fingerprintHolds() const;

    std::string path_;
    bool opened_ = false;
    uint64_t device_ = 0, inode_ = 0;
    uint64_t size_ = 0;  // last seen
    struct timespec modified_ {};
    uint64_t offset_ = 0;
    std::string head_;  // the file's first bytes, up to kFingerprintBytes
    std::string tail_;  // the bytes before offset_, up to kFingerprintBytes
    std::string missingReason_;
    bool missing_ = false;
    bool wentMissing_ = false;
};

}  // namespace mon
