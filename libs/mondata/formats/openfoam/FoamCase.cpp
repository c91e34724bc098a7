#include "libs/mondata/formats/openfoam/FoamCase.h"

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
#include "libs/mondata/formats/openfoam/FoamLog.h"
#include "libs/mondata/formats/openfoam/FoamLogPattern.h"
#include "libs/mondata/sources/SourceFileCheck.h"
#include "libs/mondata/sources/TimeKeyedHistory.h"
#include "libs/mondata/text/BlockReader.h"
#include "libs/system/FolderEntry.h"

namespace mon {

namespace {
constexpr double kNoSuffix = -std::numeric_limits<double>::infinity();

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

using Entry = owl::FolderEntry;

bool isFolder(const Entry& entry) {
    return entry.kind == owl::EntryKind::Folder;
}

// The entries of a folder (hidden ones left out), sorted by name; none when
// it cannot be read.
std::vector<Entry> listFolder(const std::string& folder) {
    std::vector<Entry> entries;
    owl::listFolder(folder, entries);
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const Entry& entry) { return entry.name[0] == '.'; }),
                  entries.end());
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
        if (isFolder(entry) && isTimeName(entry.name, time)) return true;
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

// Regions of a case: the folders of constant/ and system/ that hold a
// region's own files, when the case is at hand.
bool isCaseRegion(const std::string& caseFolder, const std::string& name) {
    return !caseFolder.empty() && (isFolder(childPath(childPath(caseFolder, "constant"), name)) ||
                                   isFolder(childPath(childPath(caseFolder, "system"), name)));
}

class CaseScanner {
  public:
    explicit CaseScanner(std::string caseFolder = "") : caseFolder_(std::move(caseFolder)) {}

    // Function objects are root/FUNCTION, or, in a multi-region case,
    // root/REGION/FUNCTION (openfoam.org, and openfoam.com for most function
    // objects) or root/FUNCTION/REGION (openfoam.com's probes of a region).
    void scanRoot(const std::string& root) {
        std::vector<std::pair<std::string, std::string>> nested;  // outer, inner
        for (const Entry& entry : listFolder(root)) {
            if (!isFolder(entry)) continue;
            const std::string& path = entry.path;
            if (hasStartFolders(path)) {
                scanFunctionObject(path, "", entry.name);
                continue;
            }
            for (const Entry& inner : listFolder(path))
                if (isFolder(inner)) nested.emplace_back(entry.name, inner.name);
        }
        for (const auto& [outer, inner] : nested) {
            const std::string path = childPath(childPath(root, outer), inner);
            if (innerIsRegion(nested, outer, inner))
                scanFunctionObject(path, inner, outer);
            else
                scanFunctionObject(path, outer, inner);
        }
    }

    void scanFunctionObject(const std::string& path, const std::string& region,
                            const std::string& name) {
        double start = 0;
        for (const Entry& entry : listFolder(path))
            if (isFolder(entry) && isTimeName(entry.name, start))
                scanStartFolder(entry.path, start, region, name);
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
    // FUNCTION/REGION when the case says the inner name is a region and not
    // the outer one, or, without the case, when the inner name is a region
    // elsewhere (the outer folder of other function objects).
    bool innerIsRegion(const std::vector<std::pair<std::string, std::string>>& nested,
                       const std::string& outer, const std::string& inner) const {
        if (isCaseRegion(caseFolder_, outer)) return false;
        if (isCaseRegion(caseFolder_, inner)) return true;
        return std::any_of(nested.begin(), nested.end(),
                           [&](const auto& other) { return other.first == inner; });
    }

    struct Found {
        FoamOrigin origin;
        std::vector<SegmentFile> files;
    };

    void scanStartFolder(const std::string& folder, double start, const std::string& region,
                         const std::string& name) {
        for (const Entry& entry : listFolder(folder)) {
            if (isFolder(entry)) continue;
            FoamOrigin origin{region, name, "", false, false};
            double suffix = kNoSuffix;
            splitFileName(entry.name, origin, suffix);
            const std::string& path = entry.path;
            if (!holdsData(path, !origin.probes)) continue;
            Found& found = found_[std::make_tuple(region, name, origin.file)];
            found.origin = origin;
            found.files.push_back({start, suffix, path});
        }
    }

    std::string caseFolder_;
    std::map<std::tuple<std::string, std::string, std::string>, Found> found_;
};

}  // namespace

owl::data::error noFoamCaseData(const std::string& folder) {
    return owl::data::error("MonDatabase", "updateFrom",
                            "OpenFOAM case '" + folder +
                                "' holds no function-object data "
                                "(postProcessing/[REGION/]FUNCTION/STARTTIME/FILE) "
                                "and no solver log (log.*).",
                            owl::errorFatal);
}

std::vector<FoamSeries> scanCase(const std::string& folder) {
    const std::string postProcessing = childPath(folder, "postProcessing");
    if (isFolder(postProcessing)) {
        CaseScanner scanner(folder);
        scanner.scanRoot(postProcessing);
        return scanner.series();
    }
    CaseScanner scanner(baseName(folder) == "postProcessing" ? parentOf(folder) : "");
    scanner.scanRoot(folder);
    std::vector<FoamSeries> found = scanner.series();
    if (!found.empty() || !hasStartFolders(folder)) return found;
    scanner.scanFunctionObject(folder, "", baseName(folder));
    return scanner.series();
}

// The solver logs of a case: its log.* files that read as one.
std::vector<std::string> caseLogs(const std::string& folder) {
    std::vector<std::string> logs;
    for (const Entry& entry : listFolder(folder)) {
        if (isFolder(entry) || entry.name.compare(0, 4, "log.") != 0) continue;
        const std::string& path = entry.path;
        try {
            BlockReader file(path, kFormatHeadSize);
            if (looksLikeFoamLog(file.next(0))) logs.push_back(path);
        } catch (const owl::Error&) {
            // not readable: not taken for a log
        }
    }
    return logs;
}

namespace {
struct CaseLog {
    std::string path;
    FoamTable table;
};

// The logs as segments of one history, in run order: by the first time
// they write, then by name (log.potentialFoam, which writes no time, does
// not count).
std::vector<CaseLog> readCaseLogs(const std::vector<std::string>& paths, RunDataBuilder& builder,
                                  const ReadOptions& options) {
    const std::vector<FoamLogPattern> patterns = compileFoamLogPatterns(options.logPatterns);
    std::vector<CaseLog> logs;
    for (const std::string& path : paths) {
        CaseLog log{path, {}};
        if (readFoamLogTable(path, builder, patterns, log.table)) logs.push_back(std::move(log));
    }
    auto firstTime = [](const CaseLog& log) {
        return log.table.rows.empty() ? std::numeric_limits<double>::infinity()
                                      : log.table.rows.front().time;
    };
    std::stable_sort(logs.begin(), logs.end(), [&](const CaseLog& a, const CaseLog& b) {
        return firstTime(a) < firstTime(b);
    });
    return logs;
}

void readFoamSeries(const std::vector<FoamSeries>& series, RunDataBuilder& builder,
                    std::vector<CaseLog> logs) {
    const int timeColumn = builder.declare(foamTimeVariable());
    TimeKeyedHistory history;
    size_t source = 0;
    if (!logs.empty()) {
        std::vector<int> identity(builder.variableCount());
        for (size_t i = 0; i < identity.size(); ++i) identity[i] = static_cast<int>(i);
        for (CaseLog& log : logs) history.addSegment(source, std::move(log.table), identity);
        ++source;
    }
    for (const FoamSeries& one : series) {
        for (const std::string& path : one.segments) {
            builder.addSourceFile(path);
            FoamTable table = readFoamDataFile(path);
            std::vector<int> columns;
            columns.reserve(table.columns.size());
            for (const FoamColumn& column : table.columns)
                columns.push_back(builder.declare(foamVariable(one.origin, column)));
            history.addSegment(source, std::move(table), std::move(columns));
        }
        ++source;
    }
    history.deliver(builder, timeColumn);
}
}  // namespace

bool isFoamCaseFolder(const std::string& folder) {
    return isFolder(childPath(folder, "postProcessing")) || !caseLogs(folder).empty() ||
           !scanCase(folder).empty();
}

void readFoamCase(const std::string& folder, RunDataBuilder& builder, const ReadOptions& options) {
    const std::vector<FoamSeries> series = scanCase(folder);
    const std::vector<std::string> logPaths = caseLogs(folder);
    if (series.empty() && logPaths.empty()) throw noFoamCaseData(folder);
    builder.declare(foamTimeVariable());  // first, before the logs' variables
    readFoamSeries(series, builder, readCaseLogs(logPaths, builder, options));
}

bool isFoamDataFile(const std::string&, std::string_view head) {
    return looksLikeFoamData(head);
}

FoamSeries foamDataFileSeries(const std::string& path) {
    FoamSeries one;
    double suffix = kNoSuffix, start = 0;
    splitFileName(baseName(path), one.origin, suffix);
    const std::string startFolder = parentOf(path);
    const bool inStartFolder = isTimeName(baseName(startFolder), start);
    one.origin.functionObject = inStartFolder ? baseName(parentOf(startFolder)) : one.origin.file;
    one.segments.push_back(path);
    return one;
}

void readFoamDataFileRun(const std::string& path, RunDataBuilder& builder) {
    readFoamSeries({foamDataFileSeries(path)}, builder, {});
}

}  // namespace mon
