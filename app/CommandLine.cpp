#include "app/CommandLine.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "libs/utilities/NearestNames.h"

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

[[noreturn]] void scanError(const std::string& message) {
    throw owl::internal::error("monexport", "main", message, owl::errorFatal);
}

// The value that follows option argv[i]; an option standing last has none.
const char* valueOf(int argc, const char* const* argv, int i) {
    if (i + 1 >= argc) scanError(std::string("Missing value for option ") + argv[i] + ".");
    return argv[i + 1];
}

// The fourteen options the command was first made with keep their
// leniency: a near miss of one is skipped without a word, like any argument
// that is no option. A near miss of an option added since is an error, so
// that no new feature (a gate above all) is lost to a typing error.
enum Origin { kOriginal, kAdded };

// Values that must read as numbers: kNumber, or a number or the word given.
const char* const kNumber = "";

// One command-line option and the setting it changes: a text (checked to be
// a number where the option expects one), a number read like atoi, a list,
// or a fixed assignment for options without a value.
struct Option {
    const char* name;
    Origin origin;
    std::string ExportSettings::*text = nullptr;
    const char* numberOr = nullptr;
    int32_t ExportSettings::*atoiNumber = nullptr;
    std::vector<std::string> ExportSettings::*list = nullptr;
    void (*flag)(ExportSettings&) = nullptr;

    Option(const char* n, Origin o, std::string ExportSettings::*t, const char* number = nullptr)
        : name(n), origin(o), text(t), numberOr(number) {}
    Option(const char* n, Origin o, int32_t ExportSettings::*number)
        : name(n), origin(o), atoiNumber(number) {}
    Option(const char* n, Origin o, std::vector<std::string> ExportSettings::*l)
        : name(n), origin(o), list(l) {}
    Option(const char* n, Origin o, void (*f)(ExportSettings&)) : name(n), origin(o), flag(f) {}
};

using S = ExportSettings;

// The options, in the order every argument is compared with them.
const Option kOptions[] = {
    {"-res", kOriginal, &S::resFile},
    {"-dir", kOriginal, &S::runDir},
    {"-mon", kOriginal, &S::monFile},
    {"-study", kAdded, &S::studyPatterns},
    {"-matrix", kAdded, &S::matrixFile},
    {"-out", kOriginal, &S::outFile},
    {"-plotinfo", kOriginal, [](S& s) { s.mode = PlotInfo; }},
    {"-varinfo", kOriginal, [](S& s) { s.mode = VarInfo; }},
    {"-showvars", kOriginal, [](S& s) { s.mode = ShowVars; }},
    {"-varlist", kOriginal, &S::varList},
    {"-varrule", kOriginal, &S::varRule},
    {"-nocoeffloops", kOriginal, [](S& s) { s.coeffLoops = false; }},
    {"-noheader", kOriginal, [](S& s) { s.header = false; }},
    {"-lastvaluesonly", kOriginal, [](S& s) { s.mode = LastValues; }},
    {"-firsttimestep", kOriginal, &S::firstTimestep},
    {"-lasttimestep", kOriginal, &S::lastTimestep},
    {"-firsttime", kAdded, &S::firstTime, kNumber},
    {"-lasttime", kAdded, &S::lastTime, kNumber},
    {"-stats", kAdded, [](S& s) { s.mode = Stats; }},
    {"-window", kAdded, &S::window, "auto"},
    {"-cauchy", kAdded, &S::cauchy, kNumber},
    {"-converged", kAdded, &S::converged},
    {"-reference", kAdded, &S::reference},
    {"-tolerance", kAdded, &S::tolerance},
    {"-h", kAdded, [](S& s) { s.help = true; }},
    {"-help", kAdded, [](S& s) { s.help = true; }},
    {"--help", kAdded, [](S& s) { s.help = true; }},
    {"--version", kAdded, [](S& s) { s.version = true; }},
    {"-pattern", kAdded, &S::patterns},
    {"-patterns", kAdded, &S::patternsFile},
};

// With these the command is a gate or a study, which must never pass on a
// command line it misread: every argument that looks like an option must be
// one.
const char* const kStrictOptions[] = {"-converged", "-reference", "-study"};

bool isNumber(const char* text) {
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    return end != text && *end == '\0' && std::isfinite(value);
}

// The mistake in a value that is not the number its option expects, or "".
std::string numberMistake(const Option& option, const char* value) {
    if (!option.numberOr || isNumber(value) ||
        (*option.numberOr && value == std::string_view(option.numberOr)))
        return "";
    const std::string expected = *option.numberOr
                                     ? std::string("'") + option.numberOr + "' or a number"
                                     : std::string("a number");
    return "Invalid value '" + owl::printable(value) + "' for option " + option.name +
           ": expected " + expected + ".";
}

// An argument that matches no option.
struct Unmatched {
    int position;
    const char* argument;
};

// The scan's findings besides the settings: whether the command is strict,
// the arguments no option matched and the first wrong value.
struct Scan {
    ExportSettings settings;
    bool strict = false;
    std::vector<Unmatched> unmatched;
    int mistakeAt = 0;
    std::string mistake;
};

// Applies argv[i] if it is an option; returns how many arguments it used
// (0 when it matches no option).
int applyOption(Scan& scan, int argc, const char* const* argv, int i) {
    ExportSettings& s = scan.settings;
    for (const Option& option : kOptions) {
        if (std::strcmp(argv[i], option.name) != 0) continue;
        for (const char* strict : kStrictOptions)
            scan.strict |= option.name == std::string_view(strict);
        if (option.flag) {
            option.flag(s);
            return 1;
        }
        const char* value = valueOf(argc, argv, i);
        if (option.text) s.*option.text = value;
        if (option.atoiNumber) s.*option.atoiNumber = saturatingAtoi(value);
        if (option.list) (s.*option.list).push_back(value);
        if (scan.mistake.empty() && !(scan.mistake = numberMistake(option, value)).empty())
            scan.mistakeAt = i;
        return 2;
    }
    return 0;
}

// The error for an argument no option matched, or "" to skip it.
std::string unmatchedMistake(const char* argument, bool strict) {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const Option& option : kOptions) all.emplace_back(option.name);
        return all;
    }();
    std::vector<std::string> near;
    bool nearAdded = false;
    for (size_t i : owl::nearestOptions(argument, names)) {
        near.push_back(names[i]);
        nearAdded |= kOptions[i].origin == kAdded;
    }
    if (!nearAdded && !(strict && argument[0] == '-')) return "";
    return owl::unknownOptionText(argument, near,
                                  ": with -converged, -reference or -study every argument must be "
                                  "an option or its value (see monexport -help).");
}

// The first mistake on the command line, in argument order, or "".
std::string firstMistake(const Scan& scan) {
    for (const Unmatched& unmatched : scan.unmatched) {
        if (!scan.mistake.empty() && scan.mistakeAt < unmatched.position) break;
        std::string mistake = unmatchedMistake(unmatched.argument, scan.strict);
        if (!mistake.empty()) return mistake;
    }
    return scan.mistake;
}

}  // namespace

ExportSettings scanArguments(int argc, const char* const* argv) {
    Scan scan;
    for (int i = 1; i < argc;) {
        const int used = applyOption(scan, argc, argv, i);
        if (used == 0) scan.unmatched.push_back({i, argv[i]});
        i += used == 0 ? 1 : used;
    }
    if (scan.settings.help || scan.settings.version) return scan.settings;
    const std::string mistake = firstMistake(scan);
    if (!mistake.empty()) scanError(mistake);
    return scan.settings;
}
