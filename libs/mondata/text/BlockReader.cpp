#include "libs/mondata/text/BlockReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"

namespace mon {

void BlockReader::fail(const std::string& reason) const {
    throw owl::data::error("MonDatabase", "updateFrom",
                           "Cannot read '" + owl::printable(path_) + "': " + reason + ".",
                           owl::errorFatal);
}

BlockReader::BlockReader(const std::string& path, size_t blockBytes, Buffer* buffer, uint64_t from)
    : path_(path),
      blockBytes_(std::max<size_t>(blockBytes, 1)),
      buffer_(buffer ? *buffer : ownBuffer_) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) fail(std::strerror(errno));
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        const int saved = errno;
        ::close(fd_);
        fail(std::strerror(saved));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd_);
        fail(S_ISDIR(info.st_mode) ? std::strerror(EISDIR)
                                   : "not a regular file (a device, FIFO or socket)");
    }
    size_ = static_cast<size_t>(info.st_size);
    offset_ = static_cast<size_t>(std::min<uint64_t>(from, size_));
    device_ = static_cast<uint64_t>(info.st_dev);
    inode_ = static_cast<uint64_t>(info.st_ino);
    modified_ = info.st_mtim;
}

BlockReader::~BlockReader() {
    ::close(fd_);
}

std::string_view BlockReader::next(size_t consumed) {
    const size_t carried = held_ - std::min(consumed, held_);
    const size_t wanted = std::min(blockBytes_, size_ - offset_);
    if (wanted == 0) return {};
    if (buffer_.size() < carried + wanted) buffer_.resize(carried + wanted);
    std::memmove(buffer_.data(), buffer_.data() + (held_ - carried), carried);
    held_ = carried + readInto(buffer_.data() + carried, wanted);
    return std::string_view(buffer_.data(), held_);
}

void BlockReader::feed(const std::function<size_t(std::string_view)>& parseLines) {
    size_t consumed = 0;
    for (std::string_view text = next(0); !text.empty(); text = next(consumed))
        consumed = parseLines(text);
}

// Reads exactly count bytes at the offset: the file held them when opened,
// so reaching its end first means it shrank. A read that races with a
// truncation may copy the zeroed tail of the cut page instead of reaching
// the end: the size, asked again after reading, tells.
size_t BlockReader::readInto(char* to, size_t count) {
    const char* const shrank =
        "the file shrank while it was read (truncated or replaced by its writer)";
    size_t done = 0;
    while (done < count) {
        const ssize_t got =
            ::pread(fd_, to + done, count - done, static_cast<off_t>(offset_ + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) fail(std::strerror(errno));
        if (got == 0) fail(shrank);
        done += static_cast<size_t>(got);
    }
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && static_cast<size_t>(info.st_size) < offset_ + done)
        fail(shrank);
    offset_ += done;
    return done;
}

}  // namespace mon
