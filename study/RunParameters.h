#pragma once
// The parameters of a study's runs: named columns with one text per run,
// taken from the runs' paths (PathParameters) or joined from a run matrix
// (RunMatrix).

#include <string>
#include <vector>

namespace study {

struct RunParameters {
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> values;  // per run, one per name ("" when unknown)
};

}  // namespace study
