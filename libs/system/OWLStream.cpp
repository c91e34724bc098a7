#include "libs/system/OWLStream.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <streambuf>
#include <vector>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"

namespace owl {

namespace {
std::string quoted(const std::string& path) {
    return "'" + owl::printable(path) + "'";
}
}  // namespace

// A stream buffer over a POSIX file descriptor that remembers the first
// failing write's errno, so the error can say why the output was lost.
class OWLStream::FileBuffer : public std::streambuf {
  public:
    // The buffer is left uninitialised: its pages cost nothing until output
    // reaches them, so a short output does not pay for a megabyte.
    static constexpr size_t kBufferBytes = 1 << 20;
    static constexpr size_t kDirectBytes = kBufferBytes / 4;

    explicit FileBuffer(int fd) : fd_(fd), buffer_(new char[kBufferBytes]) {
        setp(buffer_.get(), buffer_.get() + kBufferBytes);
    }
    ~FileBuffer() override { closeFile(); }

    int error() const { return error_; }

    // Flushes and closes; returns false when any write failed.
    bool closeFile() {
        if (fd_ < 0) return error_ == 0;
        sync();
        if (::close(fd_) != 0 && error_ == 0) error_ = errno;
        fd_ = -1;
        return error_ == 0;
    }

  protected:
    int_type overflow(int_type ch) override {
        if (!drain()) return traits_type::eof();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }

    std::streamsize xsputn(const char* data, std::streamsize count) override {
        // Large blocks bypass the buffer: one write instead of a copy (a
        // table's blocks of lines are somewhat under a megabyte).
        if (count >= static_cast<std::streamsize>(kDirectBytes)) {
            if (!drain() || !writeAll(data, static_cast<size_t>(count))) return 0;
            return count;
        }
        return std::streambuf::xsputn(data, count);
    }

    int sync() override { return drain() ? 0 : -1; }

  private:
    bool drain() {
        size_t pending = static_cast<size_t>(pptr() - pbase());
        bool ok = writeAll(pbase(), pending);
        setp(buffer_.get(), buffer_.get() + kBufferBytes);
        return ok;
    }

    bool writeAll(const char* data, size_t size) {
        if (error_ != 0 || fd_ < 0) return size == 0 && error_ == 0;
        while (size > 0) {
            ssize_t written = ::write(fd_, data, size);
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) {
                error_ = written < 0 ? errno : EIO;
                return false;
            }
            data += written;
            size -= static_cast<size_t>(written);
        }
        return true;
    }

    int fd_;
    int error_ = 0;
    std::unique_ptr<char[]> buffer_;
};

OWLStream::OWLStream(const std::string& fileName, int openMode, bool /*binary*/)
    : fileName_(fileName), defaultMode_(openMode) {}

OWLStream::~OWLStream() {
    stream_.reset();
    buffer_.reset();
}

std::ostream* OWLStream::getOstream(int openMode) {
    if (stream_) return stream_.get();
    int mode = openMode != 0 ? openMode : defaultMode_;
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC;
    flags |= (mode & App) ? O_APPEND : ((mode & Trunc) || !(mode & Ate) ? O_TRUNC : 0);
    int fd = ::open(fileName_.c_str(), flags, 0666);
    if (fd < 0) {
        throw internal::error(
            "OWLStream", "getOstream",
            "Cannot open output file " + quoted(fileName_) + ": " + std::strerror(errno) + ".",
            errorFatal);
    }
    buffer_ = std::make_unique<FileBuffer>(fd);
    stream_ = std::make_unique<std::ostream>(buffer_.get());
    return stream_.get();
}

void OWLStream::close() {
    if (!buffer_) return;
    stream_->flush();
    if (!buffer_->closeFile()) {
        throw internal::error("OWLStream", "close",
                              "Failed to write output file " + quoted(fileName_) + ": " +
                                  std::strerror(buffer_->error()) + ".",
                              errorFatal);
    }
}

}  // namespace owl
