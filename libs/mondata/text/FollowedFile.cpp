#include "libs/mondata/text/FollowedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace mon {

namespace {
// The bytes of the file at [offset, offset + bytes.size()) equal bytes.
bool holdsAt(int fd, uint64_t offset, const std::string& bytes) {
    std::string read(bytes.size(), '\0');
    size_t done = 0;
    while (done < read.size()) {
        const ssize_t got =
            ::pread(fd, read.data() + done, read.size() - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += static_cast<size_t>(got);
    }
    return read == bytes;
}

bool sameTime(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}
}  // namespace

FollowedFile::Change FollowedFile::poll() {
    struct stat info {};
    const bool seen = ::stat(path_.c_str(), &info) == 0;
    wentMissing_ = !seen && !missing_;
    missing_ = !seen;
    if (!seen) {
        missingReason_ = std::strerror(errno);
        return Change::Missing;
    }
    const auto size = static_cast<uint64_t>(info.st_size);
    if (!opened_) {
        size_ = size;
        return Change::Appended;
    }
    if (static_cast<uint64_t>(info.st_dev) != device_ ||
        static_cast<uint64_t>(info.st_ino) != inode_ || size < offset_)
        return Change::Restarted;
    if (size == size_ && sameTime(info.st_mtim, modified_)) return Change::None;
    if (!fingerprintHolds()) return Change::Restarted;
    if (size > offset_) return Change::Appended;
    size_ = size;
    modified_ = info.st_mtim;
    return Change::None;
}

// A file opened again may have been replaced since the stat: the bytes are
// compared on what is open.
bool FollowedFile::fingerprintHolds() const {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat info {};
    const bool same = ::fstat(fd, &info) == 0 && static_cast<uint64_t>(info.st_ino) == inode_ &&
                      static_cast<uint64_t>(info.st_dev) == device_ && holdsAt(fd, 0, head_) &&
                      holdsAt(fd, offset_ - tail_.size(), tail_);
    ::close(fd);
    return same;
}

bool FollowedFile::readAppended(const std::function<size_t(std::string_view)>& parseLines,
                                BlockReader::Buffer* buffer, size_t blockBytes) {
    BlockReader reader(path_, blockBytes, buffer, offset_);
    if (opened_ &&
        (reader.device() != device_ || reader.inode() != inode_ || reader.size() < offset_))
        return false;
    size_ = reader.size();
    modified_ = reader.modified();
    opened_ = true;
    device_ = reader.device();
    inode_ = reader.inode();
    size_t consumed = 0;
    for (std::string_view text = reader.next(0); !text.empty(); text = reader.next(consumed)) {
        consumed = parseLines(text);
        keepFingerprint(text.substr(0, consumed));
        offset_ += consumed;
    }
    return true;
}

void FollowedFile::keepFingerprint(std::string_view taken) {
    if (head_.size() < kFingerprintBytes)
        head_.append(taken.substr(0, kFingerprintBytes - head_.size()));
    if (taken.size() >= kFingerprintBytes) {
        tail_.assign(taken.substr(taken.size() - kFingerprintBytes));
        return;
    }
    tail_.append(taken);
    if (tail_.size() > kFingerprintBytes) tail_.erase(0, tail_.size() - kFingerprintBytes);
}

}  // namespace mon
