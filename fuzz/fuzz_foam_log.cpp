// Fuzzes the OpenFOAM solver-log reader: the line recognisers, lines skipped
// leniently, regions held for their line, patterns, the step buffering,
// outer iterations and restarts inside one log. Whatever follows a complete
// first step must never crash, hang, leave columns that disagree with the
// records, or change that step's values (a value in another variable's
// column would), unless it restarts the log with a Time line. The text is
// also read on its own, so that the reader does not yet know whether the
// log is a multi-region one.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/RunChecks.h"
#include "libs/exception/Error.h"
#include "libs/mondata/formats/openfoam/FoamLog.h"
#include "libs/mondata/formats/openfoam/FoamLogParser.h"

namespace {

const char* const kFirstStep =
    "Time = 1\n"
    "GAMG:  Solving for p, Initial residual = 0.5, Final residual = 0.25, No Iterations 3\n"
    "time step continuity errors : sum local = 7, global = 8, cumulative = 9\n"
    "Phase-1 volume fraction = 11  Min(alpha.water) = 12\n"
    "ExecutionTime = 13 s  ClockTime = 14 s\n";

// Each variable of the first step and its value there.
const struct {
    const char* name;
    float value;
} kFirstValues[] = {
    {"TIME", 1},
    {"p initial residual", 0.5f},
    {"p final residual", 0.25f},
    {"p iterations", 3},
    {"continuity errors sum local", 7},
    {"continuity errors global", 8},
    {"continuity errors cumulative", 9},
    {"volume", 11},
    {"min", 12},
    {"ExecutionTime", 13},
    {"ClockTime", 14},
};

void checkFirstStep(const mon::RunData& run) {
    if (run.rows->rowCount() == 0 || run.rows->stepAt(0) != 1) __builtin_trap();
    for (const auto& expected : kFirstValues) {
        size_t found = 0;
        while (found < run.variables.size() &&
               run.variables[found].name != QLatin1String(expected.name))
            ++found;
        if (found == run.variables.size() || run.columns[found][0] != expected.value)
            __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::string_view fuzz(reinterpret_cast<const char*>(bytes), size);
    volatile bool recognised = mon::looksLikeFoamLog(fuzz.substr(0, 4096));
    (void)recognised;
    static const std::vector<mon::FoamLogPattern> patterns = mon::compileFoamLogPatterns(
        {"Phase-1 volume fraction = {volume}  Min(alpha.water) = {min}"});
    for (bool afterFirstStep : {false, true}) {
        const std::string text = (afterFirstStep ? kFirstStep : "") + std::string(fuzz);
        mon::RunDataBuilder builder;
        try {
            mon::FoamLogParser(builder, "log.pimpleFoam", patterns).parse(text);
            const mon::RunData run = builder.finish();
            fuzzcheck::checkColumns(run);
            if (afterFirstStep && fuzz.find("Time") == std::string_view::npos) checkFirstStep(run);
        } catch (const owl::Error&) {
        }
    }
    return 0;
}
