#include "plot/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"

namespace plot {

namespace {
[[noreturn]] void fail(const std::string& path, const std::string& reason) {
    throw owl::internal::error("AtomicFile", "write",
                               "Cannot write '" + owl::printable(path) + "': " + reason + ".",
                               owl::errorFatal);
}
}  // namespace

std::string temporaryPathFor(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, nameStart) + "." + path.substr(nameStart) + ".tmp";
}

void replaceFileAtomically(const std::string& path,
                           const std::function<void(const std::string&)>& write) {
    const std::string temporary = temporaryPathFor(path);
    try {
        write(temporary);
    } catch (...) {
        std::remove(temporary.c_str());
        throw;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        std::remove(temporary.c_str());
        fail(path, reason);
    }
}

void writeFileAtomically(const std::string& path, const std::string& content) {
    replaceFileAtomically(path, [&](const std::string& temporary) {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) fail(temporary, std::strerror(errno));
        out << content;
        out.close();
        if (!out) fail(temporary, "the disk may be full");
    });
}

}  // namespace plot
