#include "libs/mondata/formats/SourceFormats.h"

#include "libs/mondata/formats/CgnsHistory.h"
#include "libs/mondata/formats/MonitorFile.h"
#include "libs/mondata/formats/ResultsFile.h"
#include "libs/mondata/formats/RunDirectory.h"

namespace mon {

const std::vector<FileFormat>& monitorFileFormats() {
    static const std::vector<FileFormat> formats = {
        {"monitor file", [](const std::string&, std::string_view) { return true; },
         [](const std::string& path, RunDataBuilder& builder) {
             readMonitorFile(path, builder, true);
         }},
    };
    return formats;
}

const std::vector<FolderFormat>& runFolderFormats() {
    static const std::vector<FolderFormat> formats = {
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
