#include "libs/mondata/formats/su2/Su2RunFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <tuple>
#include <utility>

#include "libs/exception/Error.h"
#include "libs/mondata/formats/su2/Su2History.h"
#include "libs/mondata/sources/MergedRuns.h"
#include "libs/mondata/sources/SourceFileCheck.h"
#include "libs/system/FolderEntry.h"

namespace mon {

namespace {
// The restart suffix is the restart iteration padded to five digits; a
// zone's is its number, unpadded.
const size_t kRestartDigits = 5;
const size_t kMaxNumberDigits = 9;

struct HistoryFile : Su2FolderFile {
    Su2Table table;  // read once the folder's files are known
};

[[noreturn]] void fail(const std::string& message) {
    throw owl::data::error("MonDatabase", "updateFrom", message, owl::errorFatal);
}

// Removes a trailing "_DIGITS" from stem and returns the digits, or "".
std::string takeNumberSuffix(std::string& stem) {
    const size_t underscore = stem.find_last_of('_');
    if (underscore == std::string::npos || underscore == 0) return std::string();
    std::string digits = stem.substr(underscore + 1);
    if (digits.empty() || digits.size() > kMaxNumberDigits ||
        digits.find_first_not_of("0123456789") != std::string::npos)
        return std::string();
    stem.resize(underscore);
    return digits;
}

// Any extension, or none: SU2 5 wrote CSV histories named ".vtk", SU2 6 and
// earlier legacy ones named "history" without one. The content decides.
bool parseHistoryName(const std::string& name, Su2FolderFile& file) {
    if (name.empty() || name[0] == '.') return false;
    std::string stem = name.substr(0, name.find_last_of('.'));
    std::string number = takeNumberSuffix(stem);
    if (number.size() >= kRestartDigits) {
        file.restart = std::stol(number);
        number = takeNumberSuffix(stem);
    }
    file.zone = number.empty() ? number : std::to_string(std::stol(number));
    file.base = stem;
    return true;
}

bool hasSu2Content(const std::string& path) {
    std::string head(kFormatHeadSize, '\0');
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    const ssize_t count = ::read(fd, head.data(), head.size());
    ::close(fd);
    head.resize(count > 0 ? static_cast<size_t>(count) : 0);
    return isSu2History(head);
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The folder's SU2 history files, in zone order and run order; none when the
// folder cannot be listed.
std::vector<HistoryFile> historyFiles(const std::string& folder) {
    std::vector<owl::FolderEntry> entries;
    owl::listFolder(folder, entries);
    std::vector<HistoryFile> files;
    for (owl::FolderEntry& entry : entries) {
        HistoryFile file;
        file.path = std::move(entry.path);
        if (parseHistoryName(entry.name, file) && isRegularFile(file.path) &&
            hasSu2Content(file.path))
            files.push_back(std::move(file));
    }
    std::sort(files.begin(), files.end());
    return files;
}

template <typename File>
void checkOneRun(const std::string& folder, const std::vector<File>& files) {
    for (const Su2FolderFile& file : files)
        if (file.base != files.front().base)
            fail("SU2 run folder '" + folder + "' holds the histories of more than one run ('" +
                 files.front().base + "' and '" + file.base +
                 "'): give one history file with -mon.");
}

// Of the files of one slot (history and history.dat, history.csv and
// history.dat: a case run again with other output settings, or a file a new
// run has only just created) the one with the most rows is the history; on
// equal counts the first by name.
std::vector<HistoryFile> fullestOfEachSlot(std::vector<HistoryFile> files) {
    std::vector<HistoryFile> kept;
    for (HistoryFile& file : files) {
        file.table = readSu2HistoryFile(file.path);
        if (!kept.empty() && kept.back().sameSlot(file)) {
            if (file.table.rowCount > kept.back().table.rowCount) kept.back() = std::move(file);
            continue;
        }
        kept.push_back(std::move(file));
    }
    return kept;
}

std::vector<Su2Table> tablesOf(std::vector<HistoryFile>& files) {
    std::vector<Su2Table> tables;
    for (HistoryFile& file : files) tables.push_back(std::move(file.table));
    return tables;
}

// The folder's files (in zone order) split into one history per zone.
std::vector<std::vector<HistoryFile>> historiesByZone(std::vector<HistoryFile>& files) {
    std::vector<std::vector<HistoryFile>> zones;
    for (HistoryFile& file : files) {
        if (zones.empty() || zones.back().front().zone != file.zone) zones.emplace_back();
        zones.back().push_back(std::move(file));
    }
    return zones;
}

// Reads one zone's history into a run of its own.
RunData readZone(const std::vector<Su2Table>& tables, const Su2Layout& layout) {
    RunDataBuilder builder;
    builder.setCoefficientLoops(layout.unsteady);
    addSu2History(tables, layout, builder);
    return builder.finish();
}
}  // namespace

bool isSu2RunFolder(const std::string& folder) {
    return !historyFiles(folder).empty();
}

bool Su2FolderFile::operator<(const Su2FolderFile& other) const {
    return std::make_tuple(zone.size(), zone, restart, path) <
           std::make_tuple(other.zone.size(), other.zone, other.restart, other.path);
}

std::vector<Su2FolderFile> su2FolderFiles(const std::string& folder) {
    std::vector<Su2FolderFile> files;
    for (HistoryFile& file : historyFiles(folder)) files.push_back(std::move(file));
    if (!files.empty()) checkOneRun(folder, files);
    return files;
}

void readSu2RunFolder(const std::string& folder, RunDataBuilder& builder) {
    std::vector<HistoryFile> files = historyFiles(folder);
    if (files.empty()) fail("SU2 run folder '" + folder + "' holds no SU2 history file.");
    checkOneRun(folder, files);
    for (const HistoryFile& file : files) builder.addSourceFile(file.path);
    files = fullestOfEachSlot(std::move(files));
    std::vector<Su2Layout> layouts;
    std::vector<std::vector<Su2Table>> histories;
    bool unsteady = false;
    for (std::vector<HistoryFile>& zoneFiles : historiesByZone(files)) {
        histories.push_back(tablesOf(zoneFiles));
        layouts.push_back(Su2Layout{false, zoneFiles.front().zone});
        // Only an unsteady run writes restart files.
        unsteady = unsteady || zoneFiles.back().restart >= 0 || isUnsteadySu2Run(histories.back());
    }
    builder.setCoefficientLoops(unsteady);
    std::vector<RunData> zones;
    for (size_t i = 0; i < histories.size(); ++i) {
        layouts[i].unsteady = unsteady;
        zones.push_back(readZone(histories[i], layouts[i]));
    }
    addMergedRuns(zones, builder);
}

}  // namespace mon
