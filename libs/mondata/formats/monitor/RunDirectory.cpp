#include "libs/mondata/formats/monitor/RunDirectory.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/formats/monitor/MonitorFile.h"
#include "libs/system/FolderEntry.h"

namespace mon {

namespace {
[[noreturn]] void fail(const std::string& message) {
    throw owl::data::error("MonDatabase", "updateFrom", message, owl::errorFatal);
}

bool isMonitorFileName(const std::string& name) {
    const std::string suffix = ".mon";
    return name.size() > suffix.size() &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}
}  // namespace

std::vector<std::string> runDirectorySegments(const std::string& folder,
                                              const std::string& noSegments) {
    std::vector<owl::FolderEntry> entries;
    if (!owl::listFolder(folder, entries))
        fail("Cannot read run directory '" + owl::printable(folder) + "': " + std::strerror(errno) +
             ".");
    // Sub-folders are not segments. Anything else named *.mon is, so that a
    // FIFO or a device among the segments is reported by the reader.
    std::vector<std::string> files;
    for (owl::FolderEntry& entry : entries)
        if (isMonitorFileName(entry.name) && entry.kind == owl::EntryKind::Other)
            files.push_back(std::move(entry.path));
    if (files.empty())
        fail(noSegments.empty()
                 ? "Run directory '" + owl::printable(folder) + "' holds no monitor files (*.mon)."
                 : noSegments);
    return files;
}

namespace {
uint64_t totalBytes(const std::vector<std::string>& paths) {
    uint64_t bytes = 0;
    for (const std::string& path : paths) {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0) bytes += static_cast<uint64_t>(info.st_size);
    }
    return bytes;
}
}  // namespace

void readRunDirectory(const std::string& folder, RunDataBuilder& builder,
                      const std::string& noSegments) {
    const std::vector<std::string> segments = runDirectorySegments(folder, noSegments);
    RunSegments run;
    run.bytes = totalBytes(segments);
    run.files = segments.size();
    bool first = true;
    for (const std::string& path : segments) {
        builder.addSourceFile(path);
        if (readMonitorSegment(path, builder, first, run)) first = false;
    }
    if (first)
        throw owl::data::noRecordsYet(
            "MonDatabase", "updateFrom",
            "Run directory '" + owl::printable(folder) +
                "' has no records yet: none of its monitor files has a complete first line.",
            owl::errorFatal);
}

}  // namespace mon
