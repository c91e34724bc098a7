#pragma once
// The command line of monexport: its options, and -h, -help, --help and
// --version, matched whole and case-sensitively; the last of repeated
// options wins, except -study and -pattern, which add one each time.
// Anything else is skipped, except a near miss of an option added to the
// first fourteen and, in a gate or a study, any unknown '-' argument. See
// docs/monexport.1.

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

// Scans argv[1..argc-1]. Throws an owl::Error for an option that needs a
// value but stands last ("Missing value for option -res."), and, unless
// help or the version is asked for, for a misspelt added option
// ("Unknown option '-convergd': did you mean '-converged'?"), an unknown
// option of a gate or study, or a value that is not the number its option
// expects (-window, -cauchy).
ExportSettings scanArguments(int argc, const char* const* argv);

// atoi's reading (leading white space, a sign, digits up to the first other
// character, 0 for text) with the result saturated to the 32-bit range.
int32_t saturatingAtoi(const char* text);
