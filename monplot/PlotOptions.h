#pragma once
// The command line of monplot (see docs/monplot.1). Options are matched
// whole and case-sensitively; -plot may be repeated, for the other options
// the last one wins. Anything that is not an option is an error.

#include <cstdint>
#include <string>
#include <vector>

struct PlotOptions {
    std::string resFile;
    std::string runDir;
    std::string monFile;
    std::string outFolder;
    bool png = false;
    bool pdf = false;
    bool allPlots = false;
    std::vector<std::string> plotNames;  // -plot, in the order given
    int32_t firstTimestep = 0;
    int32_t lastTimestep = 0;
    double watchSeconds = 0;  // 0: draw once
};

// Scans argv[1..argc-1]; throws owl::Error for an unknown option, a missing
// or bad value, or a missing -out.
PlotOptions scanPlotOptions(int argc, const char* const* argv);
