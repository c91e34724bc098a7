#include "libs/mondata/sources/SourceFileCheck.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>

// HDF5 1.10 loses a few hundred bytes each time it rejects a damaged object
// header. The loss is the library's own and bounded by the one file a run
// reads; it must not fail leak-checking (sanitizer and fuzzing) runs. The
// CGNS library's ADF reader likewise loses a buffer on some damaged files.
// Fontconfig, under cairo's text drawing, keeps its font configuration for
// the life of the process on purpose. (Defined here because every program
// that reads a run, from a results or a CGNS file alike, links this file.)
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libhdf5_serial.so\nleak:libcgns.so\nleak:libfontconfig.so\n";
}
// Leaks suppressed above are known: their count on standard error would only
// add noise to a program's report.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}

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

bool looksLikeHdf5(const std::string& path) {
    // The signature sits at offset 0, or at 512, 1024, 2048, ... after a user
    // block, within the file: the search ends at its end.
    static const char kSignature[8] = {'\x89', 'H', 'D', 'F', '\r', '\n', '\x1a', '\n'};
    if (!notRegularFileReason(path).empty()) return false;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : 0;
    for (std::streamoff offset = 0; in && offset + 8 <= size;
         offset = offset == 0 ? 512 : offset * 2) {
        char bytes[8] = {};
        in.seekg(offset);
        if (!in.read(bytes, sizeof bytes)) return false;
        if (std::memcmp(bytes, kSignature, sizeof bytes) == 0) return true;
    }
    return false;
}

}  // namespace mon
