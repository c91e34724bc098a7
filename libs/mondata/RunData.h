#pragma once
// A run's monitor data as a source delivers it: its records, its declared
// variables in order of first declaration, and either every variable's values
// (one float per record, FLT_MAX where the variable has no value) or a loader
// that reads one variable's values when they are first asked for.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "libs/mondata/FloatColumn.h"
#include "libs/mondata/RowIndex.h"
#include "libs/mondata/VariableInfo.h"

namespace mon {

struct RunData {
    bool hasCoefficientLoops = false;
    std::shared_ptr<const RowIndex> rows = std::make_shared<RowIndex>();
    std::vector<VariableInfo> variables;
    // Filled by sources that read everything at once: one column per variable.
    std::vector<FloatColumn> columns;
    // Set by sources that read a variable's values on demand.
    std::function<FloatColumn(size_t variable)> loadColumn;
    // Every file the data came from, so that output never overwrites one.
    std::vector<std::string> sourceFiles;
};

}  // namespace mon
