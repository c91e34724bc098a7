#include "libs/mondata/formats/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "libs/exception/Error.h"

namespace mon {

namespace {
[[noreturn]] void fail(const std::string& path, const std::string& reason) {
    throw owl::data::error("MonDatabase", "updateFrom",
                           "Cannot read '" + path + "': " + reason + ".", owl::errorFatal);
}
}  // namespace

MappedFile::MappedFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) fail(path, std::strerror(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        int saved = errno;
        ::close(fd);
        fail(path, std::strerror(saved));
    }
    if (S_ISDIR(info.st_mode)) {
        ::close(fd);
        fail(path, std::strerror(EISDIR));
    }
    size_ = static_cast<size_t>(info.st_size);
    if (size_ > 0) {
        mapping_ = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
        if (mapping_ == MAP_FAILED) {
            int saved = errno;
            ::close(fd);
            mapping_ = nullptr;
            fail(path, std::strerror(saved));
        }
        ::madvise(mapping_, size_, MADV_SEQUENTIAL);
        data_ = static_cast<const char*>(mapping_);
    }
    ::close(fd);
}

MappedFile::~MappedFile() {
    if (mapping_) ::munmap(mapping_, size_);
}

}  // namespace mon
