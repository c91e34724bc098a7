#pragma once
// Opens the run named by -res, -dir or -mon (the first given, in that
// order) and reads its monitor data; the same sources monexport reads.

#include <memory>
#include <string>

#include "monplot/PlotOptions.h"

class MonDatabase;

// Throws owl::Error when no source is given or it cannot be read.
std::unique_ptr<MonDatabase> loadRun(const PlotOptions& options);
// The path of the source loadRun reads.
std::string sourcePath(const PlotOptions& options);
