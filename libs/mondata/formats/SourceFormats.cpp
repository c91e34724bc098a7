#include "libs/mondata/formats/SourceFormats.h"

#include "libs/mondata/formats/CgnsHistory.h"
#include "libs/mondata/formats/FoamCase.h"
#include "libs/mondata/formats/FoamLog.h"
#include "libs/mondata/formats/MonitorFile.h"
#include "libs/mondata/formats/ResultsFile.h"
#include "libs/mondata/formats/RunDirectory.h"
#include "libs/mondata/formats/Su2History.h"
#include "libs/mondata/formats/Su2RunFolder.h"

namespace mon {

const std::vector<FileFormat>& monitorFileFormats() {
    static const std::vector<FileFormat> formats = {
        {"OpenFOAM data file", isFoamDataFile, readFoamDataFileRun},
        {"OpenFOAM solver log",
         [](const std::string&, std::string_view head) { return looksLikeFoamLog(head); },
         readFoamLog},
        {"SU2 history file",
         [](const std::string&, std::string_view head) { return isSu2History(head); },
         readSu2History},
        {"monitor file", [](const std::string&, std::string_view) { return true; },
         [](const std::string& path, RunDataBuilder& builder) {
             readMonitorFile(path, builder, true);
         }},
    };
    return formats;
}

const std::vector<FolderFormat>& runFolderFormats() {
    static const std::vector<FolderFormat> formats = {
        {"OpenFOAM case", isFoamCaseFolder, readFoamCase},
        {"SU2 run folder", isSu2RunFolder, readSu2RunFolder},
        {"run directory", [](const std::string&) { return true; }, readRunDirectory},
    };
    return formats;
}

const std::vector<ResultsFormat>& resultsFileFormats() {
    static const std::vector<ResultsFormat> formats = {
        {"CGNS file", looksLikeCgns, readCgnsFile},
        {"results file", [](const std::string&, std::string_view) { return true; },
         readResultsFile},
    };
    return formats;
}

}  // namespace mon
