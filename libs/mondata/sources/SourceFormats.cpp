#include "libs/mondata/sources/SourceFormats.h"

#include <algorithm>

#include "libs/exception/MessageText.h"
#include "libs/mondata/formats/cgns/CgnsHistory.h"
#include "libs/mondata/formats/monitor/MonitorFile.h"
#include "libs/mondata/formats/monitor/MonitorFollow.h"
#include "libs/mondata/formats/monitor/RunDirectory.h"
#include "libs/mondata/formats/openfoam/FoamCase.h"
#include "libs/mondata/formats/openfoam/FoamCaseFollow.h"
#include "libs/mondata/formats/openfoam/FoamLog.h"
#include "libs/mondata/formats/openfoam/FoamLogFollow.h"
#include "libs/mondata/formats/results/ResultsFile.h"
#include "libs/mondata/formats/su2/Su2Follow.h"
#include "libs/mondata/formats/su2/Su2History.h"
#include "libs/mondata/formats/su2/Su2RunFolder.h"

namespace mon {

namespace {
// "monitor file, X or Y": a file given with -mon that nothing recognises
// may have been meant as any of the kinds -mon reads. The monitor file (the
// last, fallback format) comes first.
std::string monitorFileKinds() {
    std::vector<FileFormat> formats = monitorFileFormats();
    std::rotate(formats.begin(), formats.end() - 1, formats.end());
    return expectedFormats(formats);
}
// A reader that no read option concerns.
template <void (*read)(const std::string&, RunDataBuilder&)>
void withoutOptions(const std::string& path, RunDataBuilder& builder, const ReadOptions&) {
    read(path, builder);
}
}  // namespace

const std::vector<FileFormat>& monitorFileFormats() {
    static const std::vector<FileFormat> formats = {
        {"OpenFOAM data file", NameEncoding::Utf8, isFoamDataFile,
         withoutOptions<readFoamDataFileRun>, followFoamDataFile},
        {"OpenFOAM solver log", NameEncoding::Utf8,
         [](const std::string&, std::string_view head) { return looksLikeFoamLog(head); },
         readFoamLog, followFoamLog},
        {"SU2 history file", NameEncoding::Utf8,
         [](const std::string&, std::string_view head) { return isSu2History(head); },
         withoutOptions<readSu2History>, followSu2History},
        {"monitor file", NameEncoding::Latin1,
         [](const std::string&, std::string_view) { return true; },
         [](const std::string& path, RunDataBuilder& builder, const ReadOptions&) {
             readMonitorFile(path, builder, true, monitorFileKinds());
         },
         [](const std::string& path, RunDataBuilder& builder, const ReadOptions&) {
             return followMonitorFile(path, builder, monitorFileKinds());
         }},
    };
    return formats;
}

const std::vector<FolderFormat>& runFolderFormats() {
    static const std::vector<FolderFormat> formats = {
        {"OpenFOAM case", NameEncoding::Utf8, "no postProcessing/, no log.* solver log",
         isFoamCaseFolder, readFoamCase, followFoamCase},
        {"SU2 run folder", NameEncoding::Utf8, "no SU2 history*.csv/.dat", isSu2RunFolder,
         withoutOptions<readSu2RunFolder>, followSu2RunFolder},
        {"run directory", NameEncoding::Latin1, "no *.mon segments",
         [](const std::string&) { return true; },
         [](const std::string& folder, RunDataBuilder& builder, const ReadOptions&) {
             readRunDirectory(folder, builder, noRunFoundMessage(folder));
         },
         [](const std::string& folder, RunDataBuilder& builder, const ReadOptions&) {
             return followRunDirectory(folder, builder, noRunFoundMessage(folder));
         }},
    };
    return formats;
}

std::string noRunFoundMessage(const std::string& folder) {
    std::string message = "No run found in '" + owl::printable(folder) + "': ";
    const std::vector<FolderFormat>& formats = runFolderFormats();
    for (size_t i = 0; i < formats.size(); ++i)
        message += std::string(i > 0 ? ", " : "") + formats[i].lookedFor;
    return message + ".";
}

const std::vector<ResultsFormat>& resultsFileFormats() {
    static const std::vector<ResultsFormat> formats = {
        {"CGNS file", NameEncoding::Utf8, looksLikeCgns, readCgnsFile},
        {"results file", NameEncoding::Latin1,
         [](const std::string&, std::string_view) { return true; }, readResultsFile},
    };
    return formats;
}

}  // namespace mon
