#pragma once
// Reads a study's runs on several workers, each taking the next run not yet
// taken, so that at most one run per worker is in memory at once. Rows come
// back in the order of the runs, whatever the workers' order.

#include <string>
#include <vector>

#include "study/StudyRow.h"

namespace study {

// workers 0: the statistics' rule (the usable cores, at most 8).
std::vector<StudyRow> gatherRows(const std::vector<std::string>& runs,
                                 const StudySettings& settings, unsigned workers = 0);

}  // namespace study
