#pragma once
// The value columns of a study's table. Variables: the listed names first,
// in list order (those some run has), then every other selected variable in
// the order the runs, taken by path, first show it. Each variable gives one
// column per field of the mode: "NAME" alone for last values; "NAME",
// "NAME STDERR", "NAME STD", "NAME MIN", "NAME MAX", "NAME NOTE",
// "NAME NEFF", "NAME COUNT", "NAME PERIOD", "NAME AMPLITUDE" (and
// "NAME VERDICT", "NAME REASON" with a verdict) for statistics.

#include <string>
#include <vector>

#include "study/StudyRow.h"

namespace study {

// Throws owl::data::notFound naming the listed names that no read run has,
// and the names near them that the runs have.
std::vector<std::string> studyVariables(const std::vector<StudyRow>& rows,
                                        const std::vector<std::string>& listed);
// The same from each run's variables, in run order, for rows read apart;
// nearMissing: the runs' names near listed ones they lack.
std::vector<std::string> studyVariables(const std::vector<std::vector<std::string>>& perRun,
                                        bool anyRead, const std::vector<std::string>& listed,
                                        const std::vector<std::string>& nearMissing = {});

// The suffixes of a variable's columns, in order ("" for the first).
std::vector<std::string> fieldSuffixes(StudyMode mode, bool verdicts);

}  // namespace study
