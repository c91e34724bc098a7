#include "libs/mondata/RunSource.h"

#include "libs/mondata/MonitorFile.h"
#include "libs/mondata/ResultsFile.h"
#include "libs/mondata/RunDirectory.h"

namespace mon {

RunData readRun(SourceKind kind, const std::string& path) {
    if (kind == SourceKind::ResultsFile) return readResultsFile(path);
    RunDataBuilder builder;
    if (kind == SourceKind::RunDirectory)
        readRunDirectory(path, builder);
    else
        readMonitorFile(path, builder, true);
    return builder.finish();
}

}  // namespace mon
