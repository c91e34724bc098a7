#pragma once
// Whether a path names a regular file, examined without opening it: opening
// a FIFO blocks until a writer comes, and a device can be read forever.

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace mon {

// What a file mode describes, as messages name it: "a directory", "a FIFO",
// "a character device", ...
const char* fileKindName(mode_t mode);

// Empty when path names a regular file (or a link to one); otherwise why it
// cannot be read as a data file: the system's reason when it cannot be
// examined ("No such file or directory"), "Is a directory", or
// "it is a FIFO, not a regular file".
std::string notRegularFileReason(const std::string& path);

// Whether the file is a regular file that starts like an HDF5 file.
bool looksLikeHdf5(const std::string& path);

// The first bytes of a file, as many as a format needs to recognise it.
constexpr size_t kFormatHeadSize = 4096;

}  // namespace mon
