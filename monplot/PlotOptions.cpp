#include "monplot/PlotOptions.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "app/CommandLine.h"
#include "libs/exception/Error.h"

namespace {

[[noreturn]] void usageError(const std::string& message) {
    throw owl::internal::error("monplot", "main", message, owl::errorFatal);
}

double watchInterval(const char* text) {
    char* end = nullptr;
    const double seconds = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(seconds) || seconds <= 0)
        usageError(std::string("Option -watch needs a number of seconds above 0, not '") + text +
                   "'.");
    return seconds;
}

int32_t stepCount(const char* text) {
    char* end = nullptr;
    const long steps = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || steps <= 0 || steps > INT32_MAX)
        usageError(std::string("Option -last needs a number of steps above 0, not '") + text +
                   "'.");
    return static_cast<int32_t>(steps);
}

void addSource(PlotOptions& options, RunSource::Kind kind, const char* path) {
    options.sources.push_back({kind, path});
}

// One option: a flag sets its setting alone, the others read the next argument.
struct Option {
    const char* name;
    bool takesValue;
    void (*apply)(PlotOptions&, const char* value);
};

const Option kOptions[] = {
    {"-res", true,
     [](PlotOptions& o, const char* v) { addSource(o, RunSource::Kind::Results, v); }},
    {"-dir", true,
     [](PlotOptions& o, const char* v) { addSource(o, RunSource::Kind::Directory, v); }},
    {"-mon", true,
     [](PlotOptions& o, const char* v) { addSource(o, RunSource::Kind::Monitor, v); }},
    {"-out", true, [](PlotOptions& o, const char* v) { o.outFolder = v; }},
    {"-plot", true, [](PlotOptions& o, const char* v) { o.plotNames.emplace_back(v); }},
    {"-firsttimestep", true,
     [](PlotOptions& o, const char* v) { o.firstTimestep = saturatingAtoi(v); }},
    {"-lasttimestep", true,
     [](PlotOptions& o, const char* v) { o.lastTimestep = saturatingAtoi(v); }},
    {"-firsttime", true,
     [](PlotOptions& o, const char* v) { o.times.first = exporter::timeRange(v, "").first; }},
    {"-lasttime", true,
     [](PlotOptions& o, const char* v) { o.times.last = exporter::timeRange("", v).last; }},
    {"-last", true, [](PlotOptions& o, const char* v) { o.lastSteps = stepCount(v); }},
    {"-varlist", true, [](PlotOptions& o, const char* v) { o.varList = v; }},
    {"-varrule", true, [](PlotOptions& o, const char* v) { o.varRule = v; }},
    {"-x", true, [](PlotOptions& o, const char* v) { o.xVariable = v; }},
    {"-log", false, [](PlotOptions& o, const char*) { o.scale = PlotOptions::Scale::Logarithmic; }},
    {"-linear", false, [](PlotOptions& o, const char*) { o.scale = PlotOptions::Scale::Linear; }},
    {"-fullrange", false, [](PlotOptions& o, const char*) { o.wholeRange = true; }},
    {"-watch", true, [](PlotOptions& o, const char* v) { o.watchSeconds = watchInterval(v); }},
    {"-png", false, [](PlotOptions& o, const char*) { o.png = true; }},
    {"-pdf", false, [](PlotOptions& o, const char*) { o.pdf = true; }},
    {"-all", false, [](PlotOptions& o, const char*) { o.allPlots = true; }},
};

// Applies argv[i]; returns how many arguments it used.
int applyOption(PlotOptions& options, int argc, const char* const* argv, int i) {
    for (const Option& option : kOptions) {
        if (std::strcmp(argv[i], option.name) != 0) continue;
        if (!option.takesValue) {
            option.apply(options, nullptr);
            return 1;
        }
        if (i + 1 >= argc) usageError(std::string("Missing value for option ") + argv[i] + ".");
        option.apply(options, argv[i + 1]);
        return 2;
    }
    usageError(std::string("Unknown option '") + argv[i] +
               "'. Usage: monplot (-res FILE | -dir FOLDER | -mon FILE) -out FOLDER [options].");
}

}  // namespace

PlotOptions scanPlotOptions(int argc, const char* const* argv) {
    PlotOptions options;
    for (int i = 1; i < argc;) i += applyOption(options, argc, argv, i);
    if (options.outFolder.empty())
        usageError("No output folder has been specified: use -out FOLDER.");
    return options;
}
