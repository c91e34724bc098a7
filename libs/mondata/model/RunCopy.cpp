#include "libs/mondata/model/RunCopy.h"

namespace mon {

bool holdsEverything(const RunData& run) {
    return !run.loadColumn && !run.loadDoubleColumn && !run.loadAttributes;
}

RunData copyOfRun(const RunData& run) {
    RunData copy;
    copy.hasCoefficientLoops = run.hasCoefficientLoops;
    copy.names = run.names;
    copy.stepsNumberedByReader = run.stepsNumberedByReader;
    copy.rows = std::make_shared<const RowIndex>(*run.rows);
    copy.variables = run.variables;
    copy.columns = run.columns;
    copy.doubleColumns = run.doubleColumns;
    copy.sourceFiles = run.sourceFiles;
    copy.warnings = run.warnings;
    return copy;
}

}  // namespace mon
