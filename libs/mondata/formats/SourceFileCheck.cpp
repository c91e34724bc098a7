#include "libs/mondata/formats/SourceFileCheck.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace mon {

const char* fileKindName(mode_t mode) {
    if (S_ISREG(mode)) return "a regular file";
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISSOCK(mode)) return "a socket";
    return "a special file";
}

std::string notRegularFileReason(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::strerror(errno);
    if (S_ISREG(info.st_mode)) return std::string();
    if (S_ISDIR(info.st_mode)) return std::strerror(EISDIR);
    return std::string("it is ") + fileKindName(info.st_mode) + ", not a regular file";
}

}  // namespace mon
