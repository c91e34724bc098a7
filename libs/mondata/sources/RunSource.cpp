#include "libs/mondata/sources/RunSource.h"

#include <fcntl.h>
#include <unistd.h>

#include "libs/mondata/sources/SourceFormats.h"

namespace mon {

namespace {
// The first bytes of a file, or nothing when it cannot be read: the format
// that reads it then reports why.
std::string readHead(const std::string& path) {
    std::string head(kFormatHeadSize, '\0');
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::string();
    ssize_t count = ::read(fd, head.data(), head.size());
    ::close(fd);
    head.resize(count > 0 ? static_cast<size_t>(count) : 0);
    return head;
}

template <typename Format, typename... Subject>
const Format& formatOf(const std::vector<Format>& formats, const Subject&... subject) {
    for (const Format& format : formats)
        if (format.recognises(subject...)) return format;
    return formats.back();
}
}  // namespace

RunData readRun(SourceKind kind, const std::string& path) {
    if (kind == SourceKind::ResultsFile) {
        const std::string head = readHead(path);
        return formatOf(resultsFileFormats(), path, std::string_view(head)).open(path);
    }
    RunDataBuilder builder;
    if (kind == SourceKind::RunDirectory) {
        formatOf(runFolderFormats(), path).read(path, builder);
    } else {
        const std::string head = readHead(path);
        formatOf(monitorFileFormats(), path, std::string_view(head)).read(path, builder);
    }
    return builder.finish();
}

}  // namespace mon
