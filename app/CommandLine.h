#pragma once
// The command line of monexport: its options, and -h, -help, --help and
// --version, matched whole and case-sensitively; anything else is skipped;
// the last of repeated options wins, except -study and -pattern, which add
// one each time. See docs/monexport.1.

#include <cstdint>
#include <string>
#include <vector>

#include "export/ExportMode.h"

struct ExportSettings {
    std::string resFile;
    std::string runDir;
    std::string monFile;
    std::vector<std::string> studyPatterns;  // every -study, in order
    std::string matrixFile;
    std::string outFile;
    std::string varList;
    std::string varRule;
    std::vector<std::string> patterns;  // -pattern, each one given
    std::string patternsFile;
    ExportMode mode = TimeHistory;
    bool coeffLoops = true;
    bool header = true;
    int32_t firstTimestep = 0;
    int32_t lastTimestep = 0;
    std::string firstTime;  // -firsttime, -lasttime: texts (checked by exporter::timeRange)
    std::string lastTime;
    // -h, -help or --help: print the usage and do nothing else; --version:
    // print the version.
    bool help = false;
    bool version = false;
    // The statistics table's options, as texts (checked by statsSettings).
    std::string window;
    std::string cauchy;
    std::string converged;
    std::string reference;
    std::string tolerance;
};

// Scans argv[1..argc-1]. An option that needs a value but stands last throws
// an owl::Error ("Missing value for option -res.").
ExportSettings scanArguments(int argc, const char* const* argv);

// atoi's reading (leading white space, a sign, digits up to the first other
// character, 0 for text) with the result saturated to the 32-bit range.
int32_t saturatingAtoi(const char* text);
