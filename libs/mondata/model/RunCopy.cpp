#include "libs/mondata/model/RunCopy.h"

namespace mon {

bool holdsEverything(const RunData& run) {
    return !run.loadColumn && !run.loadDoubleColumn && !run.loadAttributes;
}

RunData copyOfRun(const RunData& run) {
    RunData copy = run;  // nothing left to be read on first use: only the rows are shared
    copy.rows = std::make_shared<const RowIndex>(*run.rows);
    return copy;
}

}  // namespace mon
