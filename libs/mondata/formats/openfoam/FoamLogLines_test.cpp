#include "libs/mondata/formats/openfoam/FoamLogLines.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using mon::FoamLine;
using mon::FoamLineKind;
using mon::kNoValue;
using mon::recogniseFoamLine;
using Kind = FoamLineKind;

// A line, what it is read as (values as text: "nan" and "-" for none), and
// the problem it has.
struct Case {
    const char* text;
    Kind kind;
    const char* name;
    const char* region;
    const char* values;
    const char* problem;
};

std::string valuesOf(const FoamLine& line, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        const double v = line.values[i];
        text += (i ? " " : "") + (v == kNoValue ? "-" : std::isnan(v) ? "nan" : std::to_string(v));
    }
    return text;
}

const Case kCases[] = {
    // Solutions without residuals are left alone.
    {"DICPCG:  Solving for p:  solution singularity", Kind::Other, "", "", "", ""},
    {"MULES: Solving for alpha.water", Kind::Other, "", "", "", ""},
    {"BiCGStab:  Solving for U, Initial residual = (1 0.5 0), Final residual = (1e-06 1e-06 0), "
     "No Iterations 3",
     Kind::Other, "", "", "", ""},
    {"time step continuity errors : sum local = 2, global = x", Kind::Continuity, "", "",
     "2.000000 - -", "continuity errors: global 'x' is not a number"},
    {"PIMPLE: converged in 3 iterations", Kind::Other, "", "", "", ""},
    {"--> FOAM FATAL IO ERROR: ", Kind::Failure, "--> FOAM FATAL IO ERROR:", "", "", ""},
    {"#0  Foam::error::printStack(Foam::Ostream&) at ??:?", Kind::Failure,
     "#0  Foam::error::printStack(Foam::Ostream&) at ??:?", "", "", ""},
    {"#0 is not a trace", Kind::Other, "", "", "", ""},
    // A parallel run's error, each line prefixed by the rank.
    {"[12] --> FOAM FATAL ERROR: ", Kind::Failure, "[12] --> FOAM FATAL ERROR:", "", "", ""},
    {"[0] #0  Foam::error::printStack(Foam::Ostream&)", Kind::Failure,
     "[0] #0  Foam::error::printStack(Foam::Ostream&)", "", "", ""},
    {"[x] --> FOAM FATAL ERROR", Kind::Other, "", "", "", ""},
    {"[0]--> FOAM FATAL ERROR", Kind::Other, "", "", "", ""},
    // foam-extend's continuity errors of a moving mesh.
    {"Moving mesh time step continuity errors : sum local = 0.5, global = -0.25, cumulative = 2",
     Kind::Continuity, "moving mesh", "", "0.500000 -0.250000 2.000000", ""},
    // Recognised lines whose numbers do not read.
    {"Time = 0.0x5", Kind::Damaged, "", "", "", "time '0.0x5' is not a number"},
    {"Time = inf", Kind::Damaged, "", "", "", "time 'inf' is not a number"},
    {"deltaT = fast", Kind::Damaged, "", "", "", "deltaT 'fast' is not a number"},
    {"GAMG:  Solving for p, Initial residual = 1, Final residual = 0.0#1, No Iterations 3",
     Kind::Damaged, "", "", "", "solution of 'p': final residual '0.0#1' is not a number"},
    {"GAMG:  Solving for p, Initial residual = 1, Final residual = 0.1, No Iterations 3 and more",
     Kind::Damaged, "", "", "", "solution of 'p': unexpected text at the end"},
    {"Courant Number mean: 0.1 max: big", Kind::Damaged, "", "", "",
     "Courant Number: max 'big' is not a number"},
    {"time step continuity errors : sum local = ?", Kind::Damaged, "", "", "",
     "continuity errors: sum local '?' is not a number"},
    {"bounding k, min: 1 max: 2", Kind::Damaged, "", "", "", "bounding k: no average"},
    {"ExecutionTime = 1 s  ClockTime = ?", Kind::Damaged, "", "", "",
     "ClockTime '?' is not a number"},
    {"PIMPLE: iteration 0", Kind::Damaged, "", "", "",
     "PIMPLE iteration '0' is not a whole number from 1"},
};

TEST(FoamLogLines, ReadsEachKindOfLineAndSaysWhatIsWrongWithDamagedOnes) {
    for (const Case& c : kCases) {
        const FoamLine line = recogniseFoamLine(c.text);
        EXPECT_EQ(line.kind, c.kind) << c.text;
        EXPECT_EQ(line.name, c.name) << c.text;
        EXPECT_EQ(line.region, c.region) << c.text;
        EXPECT_EQ(line.problem, c.problem) << c.text;
        const size_t count = std::string(c.values).empty()
                                 ? 0
                                 : std::count(c.values, c.values + strlen(c.values), ' ') + 1;
        EXPECT_EQ(valuesOf(line, count), c.values) << c.text;
    }
}

// Numbers are read in double precision, correctly rounded; beyond the double
// range they become an infinity or zero.
TEST(FoamLogLines, NumbersAreReadInDoublePrecision) {
    const struct {
        const char* text;
        size_t length;
        double value;
    } cases[] = {
        {"0.05 s", 4, 0.05},     {"283.157,", 7, 283.157},
        {"8.1e+40,", 7, 8.1e40}, {"-1e+400", 7, -HUGE_VAL},
        {"1e-400", 6, 0.0},      {"0.12345678901234567890123", 25, 0.12345678901234568},
        {"x1", 0, -1.0},
    };
    for (const auto& c : cases) {
        double value = -1.0;
        EXPECT_EQ(mon::readFoamNumber(c.text, value), c.length) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

}  // namespace
