#pragma once
// The parameters of a study's runs: named columns with one text per run,
// taken from the runs' paths (PathParameters) or joined from a run matrix
// (RunMatrix).

#include <string>
#include <utility>
#include <vector>

namespace study {

struct RunParameters {
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> values;  // per run, one per name ("" when unknown)
    // The run matrix's lines that name no run: the run as written, its values.
    std::vector<std::pair<std::string, std::vector<std::string>>> unmatched;
};

// Puts the runs, and their values with them, in the order of the
// parameters' values: a parameter whose values are all numbers (empty ones
// apart) compares as numbers, empty values last; the others do not take
// part. Ties keep the runs' order (by path).
void sortByParameters(std::vector<std::string>& runs, RunParameters& parameters);

}  // namespace study
