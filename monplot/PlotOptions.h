#pragma once
// The command line of monplot (see docs/monplot.1). Options are matched
// whole and case-sensitively; -res, -dir, -mon and -plot may be repeated,
// for the other options the last one wins. Anything that is not an option
// is an error, naming the option it nearly matches. -h, -help and --help
// ask for the usage, --version for the version.

#include <cstdint>
#include <string>
#include <vector>

#include "export/TimeRange.h"

// One run to read: several are drawn over each other.
struct RunSource {
    enum class Kind { Results, Directory, Monitor };
    Kind kind;
    std::string path;
};

struct PlotOptions {
    std::vector<RunSource> sources;  // in the order given
    std::string outFolder;
    bool png = false;
    bool pdf = false;
    bool allPlots = false;
    std::vector<std::string> plotNames;  // -plot, in the order given
    std::string varList;                 // -varlist: one plot of these variables
    std::string varRule;                 // -varrule: one plot of the matches
    // -x: every line against this variable; "STEP": each plot's own X (the
    // steps); empty: TIME for runs whose steps the reader numbered, else
    // each plot's own.
    std::string xVariable;
    enum class Scale { Template, Logarithmic, Linear };
    Scale scale = Scale::Template;
    bool wholeRange = false;  // -fullrange
    int32_t firstTimestep = 0;
    int32_t lastTimestep = 0;
    exporter::TimeRange times;  // -firsttime, -lasttime
    int32_t lastSteps = 0;      // -last
    double watchSeconds = 0;    // 0: draw once
    bool help = false;          // -h, -help, --help: print the usage, draw nothing
    bool version = false;       // --version
    // -serve [ADDRESS:]PORT: a live dashboard instead of files (monplot/serve/).
    std::string serveAddress;
    double pollSeconds = 2;                  // -poll
    std::vector<std::string> studyPatterns;  // -study, with -serve
    std::string matrixFile;                  // -matrix, with -study
    std::string convergedCriteria;           // -converged, with -serve

    bool selectsVariables() const { return !varList.empty() || !varRule.empty(); }
};

// The value of -x that draws each plot against its own X (the steps).
inline const std::string kStepAxis = "STEP";

// Scans argv[1..argc-1]; throws owl::Error for an unknown option, a missing
// or bad value, or a missing -out (none is needed for help, the version or
// -serve).
PlotOptions scanPlotOptions(int argc, const char* const* argv);

// What -help prints.
extern const char* const kPlotUsage;
