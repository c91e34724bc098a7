#include "monplot/PlotOptions.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "app/CommandLine.h"
#include "libs/exception/Error.h"
#include "libs/utilities/NearestNames.h"

namespace {

[[noreturn]] void usageError(const std::string& message) {
    throw owl::internal::error("monplot", "main", message, owl::errorFatal);
}

double seconds(const char* option, const char* text) {
    char* end = nullptr;
    const double seconds = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(seconds) || seconds <= 0)
        usageError(std::string("Option ") + option + " needs a number of seconds above 0, not '" +
                   text + "'.");
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
    {"-watch", true, [](PlotOptions& o, const char* v) { o.watchSeconds = seconds("-watch", v); }},
    {"-serve", true, [](PlotOptions& o, const char* v) { o.serveAddress = v; }},
    {"-poll", true, [](PlotOptions& o, const char* v) { o.pollSeconds = seconds("-poll", v); }},
    {"-study", true, [](PlotOptions& o, const char* v) { o.studyPatterns.emplace_back(v); }},
    {"-matrix", true, [](PlotOptions& o, const char* v) { o.matrixFile = v; }},
    {"-converged", true, [](PlotOptions& o, const char* v) { o.convergedCriteria = v; }},
    {"-png", false, [](PlotOptions& o, const char*) { o.png = true; }},
    {"-pdf", false, [](PlotOptions& o, const char*) { o.pdf = true; }},
    {"-all", false, [](PlotOptions& o, const char*) { o.allPlots = true; }},
    {"-h", false, [](PlotOptions& o, const char*) { o.help = true; }},
    {"-help", false, [](PlotOptions& o, const char*) { o.help = true; }},
    {"--help", false, [](PlotOptions& o, const char*) { o.help = true; }},
    {"--version", false, [](PlotOptions& o, const char*) { o.version = true; }},
};

const char* const kUsageLine =
    "Usage: monplot (-res FILE | -dir FOLDER | -mon FILE) -out FOLDER [options]";

[[noreturn]] void unknownOption(const char* argument) {
    std::vector<std::string> names, near;
    for (const Option& option : kOptions) names.emplace_back(option.name);
    for (size_t i : owl::nearestOptions(argument, names)) near.push_back(names[i]);
    usageError(owl::unknownOptionText(argument, near, std::string(". ") + kUsageLine + "."));
}

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
    unknownOption(argv[i]);
}

}  // namespace

PlotOptions scanPlotOptions(int argc, const char* const* argv) {
    PlotOptions options;
    for (int i = 1; i < argc;) i += applyOption(options, argc, argv, i);
    if (options.outFolder.empty() && options.serveAddress.empty() && !options.help &&
        !options.version)
        usageError("No output folder has been specified: use -out FOLDER.");
    return options;
}

const char* const kPlotUsage =
    R"(Usage: monplot (-res FILE | -dir FOLDER | -mon FILE)... -out FOLDER [options]
Draws a run's default monitor plots as SVG files with an index.html.

  -res FILE, -dir FOLDER, -mon FILE
                    a run to read, as for monexport; several are drawn over
                    each other
  -out FOLDER       where the pictures go (created if missing); required
  -png, -pdf        also write PNG files, and plots.pdf
  -plot NAME        only the plot of that name; may be repeated
  -all              the hidden plots too
  -varlist "A;B"    one plot of these variables instead of the defaults
  -varrule RULE     one plot of the variables RULE matches
  -x VARIABLE       every line against this variable (e.g. TIME); STEP: the
                    steps. Default: TIME for a run whose steps the reader
                    numbered, else the steps
  -log, -linear     force logarithmic or linear value axes
  -fullrange        show every value, the start-up transient included
  -last N           only the last N steps
  -firsttimestep N, -lasttimestep N
                    only the steps from N, or up to N (0: open)
  -firsttime T, -lasttime T
                    only the steps whose TIME is T or later, or T or earlier
  -watch SECONDS    keep redrawing while the run grows
  -serve [ADDRESS:]PORT
                    serve a live dashboard of the runs instead (-out not
                    needed); it prints the address to open, with its token
  -study PATTERN    with -serve: every path the pattern matches is a run,
                    globbed again while serving; may be repeated
  -matrix FILE.csv  with -study: the runs' parameters from a run matrix
  -poll SECONDS     with -serve: how often the sources are looked at (2)
  -converged CRITERIA
                    with -serve: each run's live verdict, as for monexport
  -h, -help, --help print this text
  --version         print the version

On failure: "Plot error:" and the reason on standard error, status 255.
Manual: man monplot (docs/monplot.1).
)";
