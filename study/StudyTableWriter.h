#pragma once
// The study's table as CSV: "RUN", the parameter columns, the value
// columns, "STEPS" and "ERROR"; one line per run in the rows' order. Values
// are written as the single-run tables write them (empty where a run has no
// value or lacks the variable); texts are quoted when they hold a comma, a
// quote or a line end, and an error's line ends become blanks.

#include <ostream>
#include <string>
#include <vector>

#include "study/RunParameters.h"
#include "study/StudyRow.h"

namespace study {

struct StudyLayout {
    const RunParameters* parameters = nullptr;  // per row
    std::vector<std::string> variables;
    std::vector<std::string> suffixes;
    bool header = true;
    int precision = kStudyPrecision;
};

void writeStudyTable(std::ostream& out, const std::vector<StudyRow>& rows,
                     const StudyLayout& layout);

}  // namespace study
