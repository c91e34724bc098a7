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

// One command-line option and the setting it changes: a text, a number read
// like atoi, a fixed assignment for options without a value, or a list.
struct Option {
    const char* name;
    std::string ExportSettings::*text;
    int32_t ExportSettings::*number;
    void (*apply)(ExportSettings&);
    std::vector<std::string> ExportSettings::*list = nullptr;
};

// The options, in the order every argument is compared with them.
const Option kOptions[] = {
    {"-res", &ExportSettings::resFile, nullptr, nullptr},
    {"-dir", &ExportSettings::runDir, nullptr, nullptr},
    {"-mon", &ExportSettings::monFile, nullptr, nullptr},
    {"-study", nullptr, nullptr, nullptr, &ExportSettings::studyPatterns},
    {"-matrix", &ExportSettings::matrixFile, nullptr, nullptr},
    {"-out", &ExportSettings::outFile, nullptr, nullptr},
    {"-plotinfo", nullptr, nullptr, [](ExportSettings& s) { s.mode = PlotInfo; }},
    {"-varinfo", nullptr, nullptr, [](ExportSettings& s) { s.mode = VarInfo; }},
    {"-showvars", nullptr, nullptr, [](ExportSettings& s) { s.mode = ShowVars; }},
    {"-varlist", &ExportSettings::varList, nullptr, nullptr},
    {"-varrule", &ExportSettings::varRule, nullptr, nullptr},
    {"-nocoeffloops", nullptr, nullptr, [](ExportSettings& s) { s.coeffLoops = false; }},
    {"-noheader", nullptr, nullptr, [](ExportSettings& s) { s.header = false; }},
    {"-lastvaluesonly", nullptr, nullptr, [](ExportSettings& s) { s.mode = LastValues; }},
    {"-firsttimestep", nullptr, &ExportSettings::firstTimestep, nullptr},
    {"-lasttimestep", nullptr, &ExportSettings::lastTimestep, nullptr},
    {"-firsttime", &ExportSettings::firstTime, nullptr, nullptr},
    {"-lasttime", &ExportSettings::lastTime, nullptr, nullptr},
    {"-stats", nullptr, nullptr, [](ExportSettings& s) { s.mode = Stats; }},
    {"-window", &ExportSettings::window, nullptr, nullptr},
    {"-cauchy", &ExportSettings::cauchy, nullptr, nullptr},
    {"-converged", &ExportSettings::converged, nullptr, nullptr},
    {"-reference", &ExportSettings::reference, nullptr, nullptr},
    {"-tolerance", &ExportSettings::tolerance, nullptr, nullptr},
    {"-h", nullptr, nullptr, [](ExportSettings& s) { s.help = true; }},
    {"-help", nullptr, nullptr, [](ExportSettings& s) { s.help = true; }},
    {"--help", nullptr, nullptr, [](ExportSettings& s) { s.help = true; }},
    {"--version", nullptr, nullptr, [](ExportSettings& s) { s.version = true; }},
    {"-pattern", nullptr, nullptr, nullptr, &ExportSettings::patterns},
    {"-patterns", &ExportSettings::patternsFile, nullptr, nullptr},
};

// Applies argv[i] if it is an option; returns how many arguments it used
// (0 when it matches no option).
int applyOption(ExportSettings& s, int argc, const char* const* argv, int i) {
    for (const Option& option : kOptions) {
        if (std::strcmp(argv[i], option.name) != 0) continue;
        if (option.apply) {
            option.apply(s);
            return 1;
        }
        const char* value = valueOf(argc, argv, i);
        if (option.text) s.*option.text = value;
        if (option.number) s.*option.number = saturatingAtoi(value);
        if (option.list) (s.*option.list).push_back(value);
        return 2;
    }
    return 0;
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
