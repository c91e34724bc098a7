#include "libs/mondata/formats/openfoam/FoamLogPattern.h"

#include <gtest/gtest.h>

#include "libs/exception/Error.h"

namespace {

using mon::FoamLogPattern;

const char* const kVolume = "Phase-1 volume fraction = {alpha}  Min(alpha.water) = {min|IMBALANCE}";

TEST(FoamLogPattern, MatchesTextWithANumberAtEveryName) {
    struct Case {
        const char* line;
        bool matches;
        double alpha, min;
    } cases[] = {
        {"  Phase-1 volume fraction =\t0.5 Min(alpha.water) = 0", true, 0.5f, 0},
        {"Phase-1 volume fraction = x  Min(alpha.water) = 0", false, 0, 0},
        {"Phase-1 volume fraction = 0.5  Max(alpha.water) = 1", false, 0, 0},
        {"Phase-1 volume fraction = 0.5  Min(alpha.water) =", false, 0, 0},
        // The text is searched in the line, past a first place that does not match.
        {"Phase-1 Phase-1 volume fraction = 1  Min(alpha.water) = 2", true, 1, 2},
    };
    const FoamLogPattern pattern(kVolume);
    ASSERT_EQ(pattern.values().size(), 2u);
    EXPECT_EQ(pattern.values()[1].category, "IMBALANCE");
    for (const Case& c : cases) {
        double values[2] = {0, 0};
        EXPECT_EQ(pattern.match(c.line, values), c.matches) << c.line;
        EXPECT_EQ(values[0], c.matches ? c.alpha : values[0]) << c.line;
        EXPECT_EQ(values[1], c.matches ? c.min : values[1]) << c.line;
    }
}

TEST(FoamLogPattern, MalformedPatternsSayWhatIsWrong) {
    struct Case {
        const char* pattern;
        const char* problem;
    } cases[] = {
        {"volume = 1", "it names no value: write {NAME} where a number stands"},
        {"{alpha} = volume", "it must start with text, not with a {NAME}"},
        {"a = {x}{y}", "two {NAME}s need text between them"},
        {"a = {x", "'{' without '}'"},
        {"a = x}", "'}' without '{'"},
        {"a = {}", "a {...} without a name"},
        {"a = {x|A|B|C}", "{NAME|CATEGORY|GROUP} has more than three parts"},
        {"a = {x} b = {x}", "{x} is named twice"},
    };
    for (const Case& c : cases) {
        try {
            FoamLogPattern pattern(c.pattern);
            ADD_FAILURE() << c.pattern;
        } catch (const owl::Error& error) {
            EXPECT_EQ(error.getErrorText(),
                      std::string("Pattern '") + c.pattern + "': " + c.problem);
        }
    }
}

}  // namespace
