// -varrule: a malformed rule is reported in two lines before anything is read
// or written; valid ones select what they say.

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

using e2e::monexport;

using e2e::example;

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

// The header row of a table selected by the rule alone (a crossed step range
// writes no data lines), without the leading key column.
std::string selectedBy(const std::string& rule) {
    e2e::Result r = monexport({"-mon", example("transient.mon"), "-varrule", rule, "-nocoeffloops",
                               "-firsttimestep", "5", "-lasttimestep", "4"});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string key = "\"ACCUMULATED TIMESTEP\"";
    EXPECT_EQ(r.out.substr(0, key.size()), key);
    return r.out.size() > key.size() + 1 ? r.out.substr(key.size() + 1) : "";
}

TEST(VariableRuleOption, RulesSelectWhatTheySayOnTheTransientExample) {
    const std::string rms =
        "\"RMS P-Mass\",\"RMS U-Mom\",\"RMS V-Mom\",\"RMS W-Mom\",\"RMS H-Energy\","
        "\"RMS K-TurbKE\",\"RMS E-Diss.K\",\"RMS T-Energy Solid\"";
    const std::string max =
        "\"MAX P-Mass\",\"MAX U-Mom\",\"MAX V-Mom\",\"MAX W-Mom\",\"MAX H-Energy\","
        "\"MAX K-TurbKE\",\"MAX E-Diss.K\",\"MAX T-Energy Solid\"";
    EXPECT_EQ(selectedBy("SUBCATEGORY = MAX"), max + "\n");
    EXPECT_EQ(selectedBy("CATEGORY = RESIDUAL and SUBCATEGORY = RMS"), rms + "\n");
    EXPECT_EQ(selectedBy("NAME = P*"), "\"P-Mass Imbalance\",\"P1 Pressure\",\"P2 Pressure\"\n");
    EXPECT_EQ(selectedBy("GROUP = \"Momentum and Mass\""),
              "\"RMS P-Mass\",\"MAX P-Mass\",\"RMS U-Mom\",\"MAX U-Mom\",\"RMS V-Mom\","
              "\"MAX V-Mom\",\"RMS W-Mom\",\"MAX W-Mom\"\n");
    EXPECT_EQ(
        selectedBy("not CATEGORY = RESIDUAL and not CATEGORY = FORCE and not CATEGORY = TIME"),
        "\"P-Mass Imbalance\",\"U-Mom Imbalance\",\"H-Energy Imbalance\","
        "\"P1 Pressure\",\"P2 Pressure\",\"Inlet Velocity\",\"T1 Temperature\","
        "\"Outlet Velocity\"\n");
    EXPECT_EQ(selectedBy("(CATEGORY = RESIDUAL or CATEGORY = IMBALANCE) and NAME != *W-Mom*"),
              "\"RMS P-Mass\",\"MAX P-Mass\",\"RMS U-Mom\",\"MAX U-Mom\",\"RMS V-Mom\","
              "\"MAX V-Mom\",\"RMS H-Energy\",\"MAX H-Energy\",\"RMS K-TurbKE\","
              "\"MAX K-TurbKE\",\"RMS E-Diss.K\",\"MAX E-Diss.K\",\"RMS T-Energy Solid\","
              "\"MAX T-Energy Solid\",\"P-Mass Imbalance\",\"U-Mom Imbalance\","
              "\"H-Energy Imbalance\"\n");
    EXPECT_EQ(selectedBy("NAME = nothing*"), "");
}

}  // namespace
