#pragma once
// A run's monitor data as a source delivers it: its records, its declared
// variables in order of first declaration, and either every variable's values
// (one float per record, FLT_MAX where the variable has no value) or a loader
// that reads one variable's values when they are first asked for. Variables
// held in double precision have their doubles as well (FLT_MAX, as a double,
// where they have no value). A source
// may likewise leave the variables' attributes to be read when first needed.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "libs/mondata/model/FloatColumn.h"
#include "libs/mondata/model/NameEncoding.h"
#include "libs/mondata/model/RowIndex.h"
#include "libs/mondata/model/VariableInfo.h"

namespace mon {

struct RunData {
    bool hasCoefficientLoops = false;
    NameEncoding names = NameEncoding::Latin1;  // set from the source's format
    // The steps are the positions of the times the reader met (an OpenFOAM
    // run whose times are not whole numbers), not numbers the solver wrote.
    bool stepsNumberedByReader = false;
    std::shared_ptr<const RowIndex> rows = std::make_shared<RowIndex>();
    std::vector<VariableInfo> variables;
    // Filled by sources that read everything at once: one column per variable.
    std::vector<FloatColumn> columns;
    // Set by sources that read a variable's values on demand.
    std::function<FloatColumn(size_t variable)> loadColumn;
    // The doubles of the variables whose precision is Double, one column per
    // variable (empty for the others), beside their floats in columns.
    std::vector<DoubleColumn> doubleColumns;
    // Set by sources that read on demand and learn a variable's precision
    // only then: its doubles when the source holds it in double precision,
    // else nothing (its values come from loadColumn).
    std::function<std::optional<DoubleColumn>(size_t variable)> loadDoubleColumn;
    // Set by sources that read the attributes when first asked for: returns
    // every variable's attributes, in the order of variables.
    std::function<std::vector<Attributes>()> loadAttributes;
    // Every file the data came from, so that output never overwrites one.
    std::vector<std::string> sourceFiles;
    // What the user should know about the reading (lines of a solver log
    // that were skipped, say), one message each; the commands show them on
    // standard error.
    std::vector<std::string> warnings;
};

// Reads the attributes a source left for later into the run's variables.
// Everything that reads attributes from a RunData calls it first.
inline void completeAttributes(RunData& run) {
    if (!run.loadAttributes) return;
    auto attributes = run.loadAttributes();
    for (size_t i = 0; i < run.variables.size() && i < attributes.size(); ++i)
        run.variables[i].attributes = std::move(attributes[i]);
    run.loadAttributes = nullptr;
}

}  // namespace mon
