// Variable selection and listing: -showvars, -varlist order, repeats, quotes
// and blanks, missing names, "COEFFICIENT LOOP" and -varrule.

#include <gtest/gtest.h>

#include <sstream>

#include "tests/CommandRunner.h"

namespace {

using e2e::example;
using e2e::monexport;
using e2e::monexportOutput;

std::string data(const std::string& name) {
    return e2e::testData("tables/" + name);
}

// The header line of a successful time-history export.
std::string header(std::vector<std::string> args) {
    args.insert(args.end(), {"-lasttimestep", "1"});
    const std::string out = monexportOutput(args);
    return out.substr(0, out.find('\n') + 1);
}

TEST(Selection, ListsAndRulesChooseTheColumns) {
    const std::string loops = data("loops.mon"), keys = "\"ACCUMULATED TIMESTEP\",";
    const std::string loopKeys = keys + "\"COEFFICIENT LOOP\",";
    for (const auto& [args, expected] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"-mon", loops, "-varlist", "Late;A"}, loopKeys + "\"Late\",\"A\"\n"},
             {{"-mon", data("names.mon"), "-varlist",
               " 'two words' ;\t\"say \"hi\"\" ; \"' two words '\" "},
              keys + "\"two words\",\"say \"\"hi\"\"\",\"two words\"\n"},
             // A listed but absent loop is skipped; the list still excludes the rest.
             {{"-mon", example("steady.mon"), "-varlist", "COEFFICIENT LOOP"},
              "\"ACCUMULATED TIMESTEP\"\n"},
             {{"-mon", loops, "-varlist", "COEFFICIENT LOOP;B"},
              loopKeys + "\"COEFFICIENT LOOP\",\"B\"\n"},
             {{"-mon", loops, "-nocoeffloops", "-varlist", "COEFFICIENT LOOP;B"}, keys + "\"B\"\n"},
             {{"-mon", loops, "-varrule", "SUBCATEGORY = POINT"}, loopKeys + "\"B\",\"Late\"\n"},
             {{"-mon", loops, "-varrule", "NAME = *", "-nocoeffloops"},
              keys + "\"A\",\"B\",\"Late\"\n"},
             {{"-mon", loops, "-varlist", "Late;A", "-varrule", "SUBCATEGORY = POINT"},
              loopKeys + "\"Late\",\"A\",\"B\"\n"},
             {{"-mon", loops, "-varrule", ""}, loopKeys + "\"A\",\"B\",\"Late\"\n"},
             {{"-mon", example("transient.mon"), "-nocoeffloops", "-varrule",
               "GROUP = \"Momentum and Mass\" and not SUBCATEGORY = RMS"},
              keys + "\"MAX P-Mass\",\"MAX U-Mom\",\"MAX V-Mom\",\"MAX W-Mom\"\n"},
             {{"-mon", data("ends.mon"), "-lastvaluesonly", "-varrule", "NAME = *E*", "-noheader"},
              "3,1\n"},
         })
        EXPECT_EQ(header(args), expected) << args[3];
}

TEST(Selection, RepeatedNamesAreRepeatedColumnsAndKeysStayIntegers) {
    EXPECT_EQ(monexportOutput({"-mon", data("loops.mon"), "-varlist", "A;A;ACCUMULATED TIMESTEP",
                               "-firsttimestep", "3", "-lasttimestep", "3"}),
              "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"A\",\"A\",\"ACCUMULATED TIMESTEP\"\n"
              "3,1,,,3\n3,2,1.00000001e-10,1.00000001e-10,3\n3,3,-inf,-inf,3\n");
}

// Every missing name is reported, in both tables, and nothing is written.
TEST(Selection, MissingNamesAreAllReported) {
    e2e::TempDir dir;
    const std::string loops = data("loops.mon"), out = dir.file("out.csv");
    EXPECT_TRUE(e2e::failsWith(monexport({"-mon", loops, "-varlist", "A;X;'Y';X", "-out", out}),
                               "Requested variable(s) not found: \n    X\n    Y\n    X"));
    EXPECT_FALSE(e2e::fileExists(out));
    EXPECT_TRUE(e2e::failsWith(monexport({"-mon", loops, "-varlist", "A;;'B\";''"}),
                               "Requested variable(s) not found: \n    \n    'B\"\n    "));
    EXPECT_TRUE(e2e::failsWith(monexport({"-mon", loops, "-lastvaluesonly", "-varlist", "Q"}),
                               "Requested variable(s) not found: \n    Q"));
}

// After the names it lacks, the run's (or the study's) nearest names: by
// their last words or within two edits, on lines of their own.
TEST(Selection, MissingNamesAreFollowedByTheNearestNamesTheRunHas) {
    const std::string run = e2e::testData("openfoam/org");
    EXPECT_TRUE(e2e::failsWith(
        monexport({"-dir", run, "-varlist", "Cd;forceCoefs Cl;nowhere;P"}),
        "Requested variable(s) not found: \n    Cd\n    forceCoefs Cl\n    nowhere\n    P\n"
        "Names the run has near 'Cd':\n    forceCoeffs Cd\n"
        "Names the run has near 'forceCoefs Cl':\n    forceCoeffs Cl\n"
        "Names the run has near 'P':\n    residuals p"));
    EXPECT_TRUE(e2e::failsWith(
        monexport({"-study", run, "-study", e2e::testData("openfoam/com"), "-varlist", "cd"}),
        "Requested variable(s) not found in any run of the study: \n    cd\n"
        "Names the runs have near 'cd':\n    forceCoeffs1 Cd\n    forceCoeffs Cd"));
}

// -showvars lists the keys, then the variables in declaration order; the
// default table has the same columns.
TEST(Selection, ShowVarsAndTheDefaultTableListEveryVariableInDeclarationOrder) {
    const std::string residuals =
        "RMS P-Mass\nMAX P-Mass\nRMS U-Mom\nMAX U-Mom\nRMS V-Mom\nMAX V-Mom\n"
        "RMS W-Mom\nMAX W-Mom\nRMS H-Energy\nMAX H-Energy\nRMS K-TurbKE\nMAX K-TurbKE\n"
        "RMS E-Diss.K\nMAX E-Diss.K\nRMS T-Energy Solid\nMAX T-Energy Solid\n"
        "P-Mass Imbalance\nU-Mom Imbalance\nH-Energy Imbalance\n";
    const std::string names = monexportOutput({"-showvars", "-mon", example("transient.mon")});
    EXPECT_EQ(names, "ACCUMULATED TIMESTEP\nCOEFFICIENT LOOP\n" + residuals +
                         "TIME\nTIME STEP SIZE\n"
                         "P1 Pressure\nP2 Pressure\nInlet Velocity\nT1 Temperature\nDrag Force\n"
                         "Lift Force\nTT Blade Force\nTIME Passage 1\nBlade Force Passage 1\n"
                         "TIME Passage 2\nBlade Force Passage 2\nOutlet Velocity\n");
    std::string expected, name;
    for (std::istringstream lines(names); std::getline(lines, name);)
        expected += (expected.empty() ? "\"" : ",\"") + name + "\"";
    EXPECT_EQ(header({"-mon", example("transient.mon")}), expected + "\n");
    // A steady run has no coefficient loop.
    EXPECT_EQ(monexportOutput({"-showvars", "-mon", example("steady.mon")}),
              "ACCUMULATED TIMESTEP\n" + residuals +
                  "P1 Pressure\nP2 Pressure\nInlet Velocity\nT1 Temperature\nDrag Force\n"
                  "Lift Force\n");
}

// Both the list and the table write names as Latin-1 where it spells every
// name of the run, else the whole run in UTF-8 (no '?' in place of what
// Latin-1 lacks), and read -varlist so; a run without variables lists the
// key only.
TEST(Selection, NamesAreWrittenAsLatin1WithTheirValuesOrAllInUtf8) {
    e2e::TempDir dir;
    const std::string latin = dir.write("latin.mon", "monitor-file 1\nvar \"caf\xc3\xa9\"\n1 3\n");
    EXPECT_EQ(monexportOutput({"-showvars", "-mon", latin}), "ACCUMULATED TIMESTEP\ncaf\xe9\n");
    EXPECT_EQ(monexportOutput({"-mon", latin, "-varlist", "caf\xe9"}),
              "\"ACCUMULATED TIMESTEP\",\"caf\xe9\"\n1,3.00000000e+00\n");
    const std::string mon =
        dir.write("greek.mon", "monitor-file 1\nvar \"\xce\x94p\"\nvar \"caf\xc3\xa9\"\n1 2.5 3\n");
    EXPECT_EQ(monexportOutput({"-showvars", "-mon", mon}),
              "ACCUMULATED TIMESTEP\n\xce\x94p\ncaf\xc3\xa9\n");
    EXPECT_EQ(monexportOutput({"-mon", mon, "-varlist", "caf\xc3\xa9;\xce\x94p"}),
              "\"ACCUMULATED TIMESTEP\",\"caf\xc3\xa9\",\"\xce\x94p\"\n"
              "1,3.00000000e+00,2.50000000e+00\n");
    EXPECT_EQ(monexportOutput({"-showvars", "-mon", dir.write("empty.mon", "monitor-file 1\n")}),
              "ACCUMULATED TIMESTEP\n");
}

// A malformed rule is reported as the user typed it, and nothing is written.
TEST(Selection, MalformedRuleGivesTheTwoLineReportAndWritesNothing) {
    e2e::TempDir dir;
    const std::string out = dir.file("table.csv");
    EXPECT_TRUE(e2e::failsWith(
        monexport({"-mon", example("transient.mon"), "-varrule",
                   "(GROUP = \"Momentum and Mass\" or NAME = caf\xc3\xa9", "-out", out}),
        "Invalid variable rule \"(GROUP = \"Momentum and Mass\" or NAME = caf\xc3\xa9\": "
        "expected 'and', 'or' or ')' at column 45."));
    EXPECT_FALSE(e2e::fileExists(out));
}

// The table is still written; a warning names the categories the run has.
TEST(Selection, ARuleThatMatchesNothingLeavesTheKeysOnlyAndWarns) {
    const std::string warning =
        "Exporter warning: The rule 'NAME = Nothing*' matches no variable; the categories of the "
        "run are: RESIDUAL, MONITOR.\n";
    for (const auto& [extra, out] : std::vector<std::pair<std::string, std::string>>{
             {"-nocoeffloops", "\"ACCUMULATED TIMESTEP\"\n"}, {"-lastvaluesonly", "\n\n"}}) {
        e2e::Result r =
            monexport({"-mon", data("loops.mon"), extra, "-varrule", "NAME = Nothing*"});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out.substr(0, out.size()), out);
        EXPECT_EQ(r.err, warning);
    }
}

}  // namespace
