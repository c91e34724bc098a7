#include "libs/utilities/NearestNames.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(EditDistance, CountsInsertsDeletesReplacementsAndSwapsIgnoringCase) {
    const std::tuple<const char*, const char*, size_t> cases[] = {{"convergd", "converged", 1},
                                                                  {"refrence", "REFERENCE", 1},
                                                                  {"wnidow", "window", 1},
                                                                  {"ca", "abc", 3},
                                                                  {"", "abc", 3},
                                                                  {"kitten", "sitting", 3},
                                                                  {"stats", "stats", 0}};
    for (const auto& [a, b, edits] : cases) {
        EXPECT_EQ(owl::editDistance(a, b), edits) << a << " " << b;
        EXPECT_EQ(owl::editDistance(b, a), edits) << b << " " << a;
    }
}

TEST(NearestNames, NearestWithinTwoEditsOrByTheLastWords) {
    const std::vector<std::string> run = {
        "TIME",        "forceCoeffs Cd", "forceCoeffs Cl", "other Cd",
        "residuals p", "yPlus ball min", "forceCoeffs Cm", "k"};
    const std::pair<const char*, std::vector<size_t>> cases[] = {
        {"Cd", {1, 3}},          // a last word, in run order
        {"CD", {1, 3}},          // in another case
        {"forceCoefs Cl", {2}},  // one edit from the whole name
        {"ball min", {5}},       // the last two words
        {"P", {4}},              // one letter: only the same letter is near
        {"x", {}},               // one letter replaced is no near miss
        {"Tmie", {0}},           // a swap
        {"pressure", {}},        // too far from everything
        {"", {}}};
    for (const auto& [wanted, nearest] : cases)
        EXPECT_EQ(owl::nearestNames(wanted, run), nearest) << wanted;
    EXPECT_EQ(owl::nearestNames("Cd", run, 1), std::vector<size_t>{1});
}

TEST(NearestOptions, ComparesStemsAndNamesEachSpellingOnce) {
    const std::vector<std::string> options = {"-res", "-converged", "-help", "--help", "-h"};
    const std::pair<const char*, std::vector<size_t>> cases[] = {
        {"-convergd", {1}}, {"--Converged", {1}}, {"-HELP", {2}}, {"--hlep", {2}},
        {"-H", {4}},        {"-x", {}},           {"-", {}},      {"convergd", {}}};
    for (const auto& [argument, nearest] : cases)
        EXPECT_EQ(owl::nearestOptions(argument, options), nearest) << argument;
    EXPECT_EQ(owl::unknownOptionText("-convergd", {"-converged"}, "."),
              "Unknown option '-convergd': did you mean '-converged'?");
    EXPECT_EQ(owl::unknownOptionText("-x\n", {}, " (see -help)."),
              "Unknown option '-x\\n' (see -help).");
    EXPECT_EQ(owl::quotedChoices({"a", "b", "c"}), "'a', 'b' or 'c'");
}

}  // namespace
