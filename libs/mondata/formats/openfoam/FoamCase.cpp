#include "libs/mondata/formats/openfoam/FoamCase.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <tuple>

#include "libs/exception/Error.h"
#include "libs/mondata/formats/openfoam/FoamDataFile.h"
#include "libs/mondata/formats/openfoam/FoamDataParser.h"
#include "libs/mondata/sources/TimeKeyedHistory.h"
#include "libs/mondata/text/BlockReader.h"
#include "libs/system/FolderEntry.h"

namespace mon {

namespace {
constexpr double kNoSuffix = -std::numeric_limits<double>::infinity();

struct Entry {
    std::string name;
    bool folder;
};

std::string childPath(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string baseName(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string parentOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The entries of a folder (hidden ones left out), sorted by name; none when
// it cannot be read.
std::vector<Entry> listFolder(const std::string& folder) {
    std::vector<Entry> entries;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return entries;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (entry->d_name[0] == '.') continue;
        const owl::EntryKind kind = owl::entryKind(*entry, childPath(folder, entry->d_name));
        entries.push_back({entry->d_name, kind == owl::EntryKind::Folder});
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return entries;
}

// A start-time folder's name: a number ("0", "0.5", "1e-05", "100").
bool isTimeName(const std::string& name, double& time) {
    auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), time);
    return ec == std::errc() && end == name.data() + name.size() && std::isfinite(time);
}

bool hasStartFolders(const std::string& folder) {
    double time = 0;
    for (const Entry& entry : listFolder(folder))
        if (entry.folder && isTimeName(entry.name, time)) return true;
    return false;
}

// Whether a file holds function-object data; an empty one may be a data
// file just created, which counts only when its name says ".dat".
bool holdsData(const std::string& path, bool datName) {
    try {
        BlockReader file(path, 4096);
        const std::string_view head = file.next(0);
        if (head.empty()) return datName;
        return looksLikeFoamData(head);
    } catch (const owl::Error&) {
        return datName;  // reading it later reports why
    }
}

// "force.dat" -> force; "force_0.5.dat" -> force, restart suffix 0.5;
// "p" (a probe field, no ".dat") -> p.
void splitFileName(const std::string& name, FoamOrigin& origin, double& suffix) {
    suffix = kNoSuffix;
    origin.probes = name.size() <= 4 || name.compare(name.size() - 4, 4, ".dat") != 0;
    origin.file = origin.probes ? name : name.substr(0, name.size() - 4);
    const size_t underscore = origin.file.rfind('_');
    double time = 0;
    if (!origin.probes && underscore != std::string::npos &&
        isTimeName(origin.file.substr(underscore + 1), time)) {
        suffix = time;
        origin.file.resize(underscore);
    }
}

struct SegmentFile {
    double start;
    double suffix;
    std::string path;
    bool operator<(const SegmentFile& other) const {
        return std::tie(start, suffix, path) < std::tie(other.start, other.suffix, other.path);
    }
};

class CaseScanner {
  public:
    void scanRoot(const std::string& root) {
        for (const Entry& entry : listFolder(root)) {
            if (!entry.folder) continue;
            const std::string path = childPath(root, entry.name);
            if (hasStartFolders(path)) {
                scanFunctionObject(path, "", entry.name);
                continue;
            }
            for (const Entry& inner : listFolder(path))
                if (inner.folder)
                    scanFunctionObject(childPath(path, inner.name), entry.name, inner.name);
        }
    }

    void scanFunctionObject(const std::string& path, const std::string& region,
                            const std::string& name) {
        double start = 0;
        for (const Entry& entry : listFolder(path))
            if (entry.folder && isTimeName(entry.name, start))
                scanStartFolder(childPath(path, entry.name), start, region, name);
    }

    std::vector<FoamSeries> series() {
        std::vector<FoamSeries> all;
        bool regions = false;
        for (auto& [key, found] : found_) {
            std::sort(found.files.begin(), found.files.end());
            FoamSeries one{found.origin, {}};
            for (const SegmentFile& file : found.files) one.segments.push_back(file.path);
            regions = regions || !one.origin.region.empty();
            all.push_back(std::move(one));
        }
        for (FoamSeries& one : all) one.origin.regionInName = regions;
        return all;
    }

  private:
    struct Found {
        FoamOrigin origin;
        std::vector<SegmentFile> files;
    };

    void scanStartFolder(const std::string& folder, double start, const std::string& region,
                         const std::string& name) {
        for (const Entry& entry : listFolder(folder)) {
            if (entry.folder) continue;
            FoamOrigin origin{region, name, "", false, false};
            double suffix = kNoSuffix;
            splitFileName(entry.name, origin, suffix);
            const std::string path = childPath(folder, entry.name);
            if (!holdsData(path, !origin.probes)) continue;
            Found& found = found_[std::make_tuple(region, name, origin.file)];
            found.origin = origin;
            found.files.push_back({start, suffix, path});
        }
    }

    std::map<std::tuple<std::string, std::string, std::string>, Found> found_;
};

std::vector<FoamSeries> scanCase(const std::string& folder) {
    CaseScanner scanner;
    const std::string postProcessing = childPath(folder, "postProcessing");
    if (isFolder(postProcessing)) {
        scanner.scanRoot(postProcessing);
        return scanner.series();
    }
    scanner.scanRoot(folder);
    std::vector<FoamSeries> found = scanner.series();
    if (!found.empty() || !hasStartFolders(folder)) return found;
    scanner.scanFunctionObject(folder, "", baseName(folder));
    return scanner.series();
}
}  // namespace

bool isFoamCaseFolder(const std::string& folder) {
    return isFolder(childPath(folder, "postProcessing")) || !scanCase(folder).empty();
}

std::vector<FoamSeries> foamCaseSeries(const std::string& folder) {
    std::vector<FoamSeries> series = scanCase(folder);
    if (series.empty())
        throw owl::data::error("MonDatabase", "updateFrom",
                               "OpenFOAM case '" + folder +
                                   "' holds no function-object data "
                                   "(postProcessing/[REGION/]FUNCTION/STARTTIME/FILE).",
                               owl::errorFatal);
    return series;
}

void readFoamSeries(const std::vector<FoamSeries>& series, RunDataBuilder& builder) {
    const int timeColumn = builder.declare(foamTimeVariable());
    TimeKeyedHistory history;
    for (size_t source = 0; source < series.size(); ++source) {
        for (const std::string& path : series[source].segments) {
            builder.addSourceFile(path);
            FoamTable table = readFoamDataFile(path);
            std::vector<int> columns;
            columns.reserve(table.columns.size());
            for (const FoamColumn& column : table.columns)
                columns.push_back(builder.declare(foamVariable(series[source].origin, column)));
            history.addSegment(source, std::move(table), std::move(columns));
        }
    }
    history.deliver(builder, timeColumn);
}

void readFoamCase(const std::string& folder, RunDataBuilder& builder) {
    readFoamSeries(foamCaseSeries(folder), builder);
}

bool isFoamDataFile(const std::string&, std::string_view head) {
    return looksLikeFoamData(head);
}

void readFoamDataFileRun(const std::string& path, RunDataBuilder& builder) {
    FoamSeries one;
    double suffix = kNoSuffix, start = 0;
    splitFileName(baseName(path), one.origin, suffix);
    const std::string startFolder = parentOf(path);
    const bool inStartFolder = isTimeName(baseName(startFolder), start);
    one.origin.functionObject = inStartFolder ? baseName(parentOf(startFolder)) : one.origin.file;
    one.segments.push_back(path);
    readFoamSeries({one}, builder);
}

}  // namespace mon
