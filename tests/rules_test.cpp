// -varrule: a malformed rule is reported in two lines before anything is read
// or written; a valid one is accepted.

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

using e2e::monexport;

std::string example(const std::string& name) {
    return e2e::sourcePath("examples/" + name);
}

TEST(VariableRuleOption, MalformedRuleGivesTheTwoLineReportAndWritesNothing) {
    e2e::TempDir dir;
    const std::string out = dir.file("table.csv");
    e2e::Result r =
        monexport({"-mon", example("transient.mon"), "-varrule", "CATEGORY =", "-out", out});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, e2e::errorReport(
                         "Invalid variable rule \"CATEGORY =\": expected a value at column 11."));
    EXPECT_FALSE(e2e::fileExists(out));
}

TEST(VariableRuleOption, RuleIsReportedAsTheUserTypedIt) {
    e2e::Result r = monexport({"-mon", example("transient.mon"), "-varrule",
                               "(GROUP = \"Momentum and Mass\" or NAME = caf\xc3\xa9"});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err,
              e2e::errorReport("Invalid variable rule \"(GROUP = \"Momentum and Mass\" or NAME = "
                               "caf\xc3\xa9\": expected 'and', 'or' or ')' at column 45."));
}

TEST(VariableRuleOption, ValidRuleIsAccepted) {
    e2e::Result r =
        monexport({"-showvars", "-mon", example("steady.mon"), "-varrule",
                   "(CATEGORY = RESIDUAL or CATEGORY = IMBALANCE) and NAME != *W-Mom*"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
}

}  // namespace
