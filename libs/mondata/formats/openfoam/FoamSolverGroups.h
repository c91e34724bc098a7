#pragma once
// solverInfo files write, per solved field, a group of columns: the solver's
// name (text), initial and final residuals and iterations per component, and
// a true/false convergence flag. A field that was not solved in a time step
// is left out of that row, so the groups after it shift left. These
// functions find which header group each group of a row belongs to, so that
// no value ever lands in another field's column.

#include <vector>

namespace mon {

// headerCounts: the number of values of each header group, in order.
// rowCounts: the number of values of each group found in a row, in order.
// placement receives, for each row group, the header group it is, or -1
// when the row's groups could be placed in more than one way (or in none)
// that puts this group in different header groups: its values are then
// left out rather than guessed.
void alignSolverGroups(const std::vector<int>& headerCounts, const std::vector<int>& rowCounts,
                       std::vector<int>& placement);

}  // namespace mon
