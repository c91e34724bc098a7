#pragma once
// File names for plots: the plot name with every character other than
// letters, digits, '-', '_' and '.' turned into '_' (runs of them into one),
// no leading dot, at most 80 bytes; names that would clash with an earlier
// one, even by letter case only, get "-2", "-3", ... appended. The same plot
// list always gives the same names.

#include <string>
#include <vector>

namespace plot {

std::string safeFileStem(const std::string& plotName);
// One stem per plot name, in the same order, unique without regard to case.
std::vector<std::string> uniqueFileStems(const std::vector<std::string>& plotNames);

}  // namespace plot
