#pragma once
// What monplot does with its options: loads the run, draws its plots once,
// and with -watch keeps drawing them while the run grows.

#include "monplot/PlotOptions.h"

// orbDataDir is the environment's ORB_DATA_DIR (empty when unset). Throws
// owl::Error for anything that keeps the first drawing from being made.
void runMonplot(const PlotOptions& options, const std::string& orbDataDir);
