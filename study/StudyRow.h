#pragma once
// One run of a study, read and reduced to its row: each selected variable's
// fields, the run's last step, or why it could not be read. The run's data
// is released before the row is returned, so that a study holds rows, not
// runs.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "export/TableFormat.h"
#include "study/StudySettings.h"

namespace study {

// A field of a row: a number as the tables write it, or a text.
struct StudyField {
    owl::TableField number;
    std::string text;
    bool isText = false;
};

struct StudyRow {
    std::string run;
    // Each selected variable the run has, in selection order, with its
    // fields (one per column the mode gives a variable).
    std::vector<std::pair<std::string, std::vector<StudyField>>> variables;
    std::vector<std::string> missing;  // listed names the run lacks
    std::optional<int32_t> steps;      // the run's last step
    std::string error;                 // empty when the run was read
    // A verdict (-converged, -reference) failed: a variable's tests, a
    // variable missing, or a criterion rule that matches nothing here.
    bool failedTest = false;
    std::string warnings;                     // the reader's messages, one per line
    std::vector<std::string> unmatchedRules;  // -converged rules matching no variable
    // The names the run has near those it lacks, for the error that names them.
    std::vector<std::string> nearMissing;
};

// What the ERROR column says: why the run could not be read, else which
// criterion rules matched none of its variables; empty when neither.
std::string errorText(const StudyRow& row);

// Never throws for the run's faults: they become the row's error.
StudyRow readRow(const std::string& run, const StudySettings& settings);

}  // namespace study
