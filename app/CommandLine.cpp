#include "app/CommandLine.h"

#include <cctype>
#include <cstring>
#include <limits>

#include "libs/exception/Error.h"

int32_t saturatingAtoi(const char* text) {
    while (std::isspace(static_cast<unsigned char>(*text))) ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                   : std::numeric_limits<int32_t>::max();
    int64_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude >= limit) {
            magnitude = limit;
            break;
        }
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

namespace {

// The value that follows option argv[i]; an option standing last has none.
const char* valueOf(int argc, const char* const* argv, int i) {
    if (i + 1 >= argc)
        throw owl::internal::error("monexport", "main",
                                   std::string("Missing value for option ") + argv[i] + ".",
                                   owl::errorFatal);
    return argv[i + 1];
}

// Applies argv[i] if it is an option; returns how many arguments it used
// (0 when it matches no option).
int applyOption(ExportSettings& s, int argc, const char* const* argv, int i) {
    const std::string arg = argv[i];
    std::string* text = nullptr;
    int32_t* number = nullptr;
    if (arg == "-res") text = &s.resFile;
    else if (arg == "-dir") text = &s.runDir;
    else if (arg == "-mon") text = &s.monFile;
    else if (arg == "-out") text = &s.outFile;
    else if (arg == "-plotinfo") s.mode = PlotInfo;
    else if (arg == "-varinfo") s.mode = VarInfo;
    else if (arg == "-showvars") s.mode = ShowVars;
    else if (arg == "-varlist") text = &s.varList;
    else if (arg == "-varrule") text = &s.varRule;
    else if (arg == "-nocoeffloops") s.coeffLoops = false;
    else if (arg == "-noheader") s.header = false;
    else if (arg == "-lastvaluesonly") s.mode = LastValues;
    else if (arg == "-firsttimestep") number = &s.firstTimestep;
    else if (arg == "-lasttimestep") number = &s.lastTimestep;
    else return 0;
    if (text) *text = valueOf(argc, argv, i);
    if (number) *number = saturatingAtoi(valueOf(argc, argv, i));
    return (text || number) ? 2 : 1;
}

}  // namespace

ExportSettings scanArguments(int argc, const char* const* argv) {
    ExportSettings settings;
    for (int i = 1; i < argc;) {
        int used = applyOption(settings, argc, argv, i);
        i += used == 0 ? 1 : used;
    }
    return settings;
}
