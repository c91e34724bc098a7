#include "libs/system/FileIdentity.h"

#include <sys/stat.h>

namespace owl {

FileIdentity::FileIdentity(const std::string& path) {
    struct stat info {};
    exists_ = ::stat(path.c_str(), &info) == 0;
    regular_ = exists_ && S_ISREG(info.st_mode);
    device_ = info.st_dev;
    inode_ = info.st_ino;
}

bool FileIdentity::isFileAt(const std::string& path) const {
    struct stat info {};
    return exists_ && ::stat(path.c_str(), &info) == 0 && info.st_dev == device_ &&
           info.st_ino == inode_;
}

}  // namespace owl
