#include "libs/mondata/sources/RunSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/formats/cgns/CgnsHistory.h"
#include "libs/mondata/formats/openfoam/FoamLogPattern.h"
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

[[noreturn]] void useOption(const std::string& path, const std::string& kind, const char* option) {
    throw owl::data::error(
        "MonDatabase", "updateFrom",
        "'" + owl::printable(path) + "' is " + kind + ": use " + option + " to read it.",
        owl::errorFatal);
}

// HDF5 (results files, CGNS files stored so) or ADF (older CGNS files).
bool isResultsKind(std::string_view head) {
    return head.substr(0, 8) == "\x89HDF\r\n\x1a\n" ||
           head.find("ADF Database") != std::string_view::npos;
}

// A source of a known kind given with another kind's option is reported with
// the option that reads it, before the wrong reader says what it is not.
void refuseWrongOption(SourceKind kind, const std::string& path, std::string_view head) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return;  // the reader reports why
    if (S_ISDIR(info.st_mode)) {
        if (kind != SourceKind::RunDirectory) useOption(path, "a folder", "-dir");
        return;
    }
    if (!S_ISREG(info.st_mode)) return;
    if (isResultsKind(head)) {
        if (kind == SourceKind::ResultsFile) return;
        const bool cgns = looksLikeCgns(path, head);
        useOption(path, cgns ? "a CGNS file" : "an HDF5 file (a results file)", "-res");
    }
    if (kind == SourceKind::MonitorFile) return;
    const FileFormat& format = formatOf(monitorFileFormats(), path, head);
    const bool known = &format != &monitorFileFormats().back();
    if (known) useOption(path, std::string("an ") + format.name, "-mon");
    if (head.substr(0, 12) == "monitor-file") useOption(path, "a monitor file", "-mon");
    if (kind == SourceKind::RunDirectory) useOption(path, "a file", "-mon");
}
}  // namespace

namespace {
// The format of the list of the source's kind that reads it.
struct ChosenFormat {
    const FileFormat* file = nullptr;
    const FolderFormat* folder = nullptr;
    const ResultsFormat* results = nullptr;
    NameEncoding names = NameEncoding::Latin1;
};

ChosenFormat chooseFormat(SourceKind kind, const std::string& path, const ReadOptions& options) {
    compileFoamLogPatterns(options.logPatterns);
    const std::string head = readHead(path);
    refuseWrongOption(kind, path, head);
    ChosenFormat chosen;
    if (kind == SourceKind::ResultsFile) {
        chosen.results = &formatOf(resultsFileFormats(), path, std::string_view(head));
        chosen.names = chosen.results->names;
    } else if (kind == SourceKind::RunDirectory) {
        chosen.folder = &formatOf(runFolderFormats(), path);
        chosen.names = chosen.folder->names;
    } else {
        chosen.file = &formatOf(monitorFileFormats(), path, std::string_view(head));
        chosen.names = chosen.file->names;
    }
    return chosen;
}
}  // namespace

RunData readRun(SourceKind kind, const std::string& path, const ReadOptions& options) {
    const ChosenFormat chosen = chooseFormat(kind, path, options);
    RunData run;
    if (chosen.results) {
        run = chosen.results->open(path);
    } else {
        RunDataBuilder builder;
        if (chosen.folder)
            chosen.folder->read(path, builder, options);
        else
            chosen.file->read(path, builder, options);
        run = builder.finish();
    }
    run.names = chosen.names;
    return run;
}

std::string formatName(SourceKind kind, const std::string& path, const ReadOptions& options) {
    const ChosenFormat chosen = chooseFormat(kind, path, options);
    return chosen.results  ? chosen.results->name
           : chosen.folder ? chosen.folder->name
                           : chosen.file->name;
}

std::unique_ptr<FollowedSource> followRun(SourceKind kind, const std::string& path,
                                          const ReadOptions& options, RunDataBuilder& builder) {
    const ChosenFormat chosen = chooseFormat(kind, path, options);
    const FollowSource follow = chosen.folder ? chosen.folder->follow
                                : chosen.file ? chosen.file->follow
                                              : nullptr;
    builder.setNames(chosen.names);
    return follow ? follow(path, builder, options) : nullptr;
}

}  // namespace mon
