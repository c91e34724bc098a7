// -showvars: the variable-name list.

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

using e2e::monexport;

using e2e::example;

TEST(ShowVars, ListsKeysFirstThenVariablesInDeclarationOrder) {
    e2e::Result r = monexport({"-showvars", "-mon", example("transient.mon")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "ACCUMULATED TIMESTEP\nCOEFFICIENT LOOP\n"
              "RMS P-Mass\nMAX P-Mass\nRMS U-Mom\nMAX U-Mom\nRMS V-Mom\nMAX V-Mom\n"
              "RMS W-Mom\nMAX W-Mom\nRMS H-Energy\nMAX H-Energy\nRMS K-TurbKE\nMAX K-TurbKE\n"
              "RMS E-Diss.K\nMAX E-Diss.K\nRMS T-Energy Solid\nMAX T-Energy Solid\n"
              "P-Mass Imbalance\nU-Mom Imbalance\nH-Energy Imbalance\nTIME\nTIME STEP SIZE\n"
              "P1 Pressure\nP2 Pressure\nInlet Velocity\nT1 Temperature\nDrag Force\nLift Force\n"
              "TT Blade Force\nTIME Passage 1\nBlade Force Passage 1\nTIME Passage 2\n"
              "Blade Force Passage 2\nOutlet Velocity\n");
}

TEST(ShowVars, SteadyRunHasNoCoefficientLoop) {
    e2e::Result r = monexport({"-showvars", "-mon", example("steady.mon")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "ACCUMULATED TIMESTEP\n"
              "RMS P-Mass\nMAX P-Mass\nRMS U-Mom\nMAX U-Mom\nRMS V-Mom\nMAX V-Mom\n"
              "RMS W-Mom\nMAX W-Mom\nRMS H-Energy\nMAX H-Energy\nRMS K-TurbKE\nMAX K-TurbKE\n"
              "RMS E-Diss.K\nMAX E-Diss.K\nRMS T-Energy Solid\nMAX T-Energy Solid\n"
              "P-Mass Imbalance\nU-Mom Imbalance\nH-Energy Imbalance\n"
              "P1 Pressure\nP2 Pressure\nInlet Velocity\nT1 Temperature\nDrag Force\nLift Force\n");
}

TEST(ShowVars, NamesAreWrittenAsLatin1) {
    e2e::TempDir dir;
    std::string mon = dir.file("names.mon");
    e2e::writeFile(mon,
                   "monitor-file 1\n"
                   "var \"caf\xc3\xa9 \xce\x94p\"\n"         // café Δp
                   "var \"a \\\"quoted\\\"; name, here\"\n"  // a "quoted"; name, here
                   "1 1 2\n");
    e2e::Result r = monexport({"-showvars", "-mon", mon});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "ACCUMULATED TIMESTEP\ncaf\xe9 ?p\na \"quoted\"; name, here\n");
}

TEST(ShowVars, RunWithoutVariablesListsTheKeyOnly) {
    e2e::TempDir dir;
    e2e::writeFile(dir.file("empty.mon"), "monitor-file 1\n");
    e2e::Result r = monexport({"-showvars", "-mon", dir.file("empty.mon")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "ACCUMULATED TIMESTEP\n");
}

TEST(ShowVars, MalformedFileIsReportedWithItsLine) {
    e2e::TempDir dir;
    std::string mon = dir.file("bad.mon");
    const std::string text = "monitor-file 1\nvar A\n1 1.0\n2 oops\n";
    e2e::writeFile(mon, text);
    e2e::Result r = monexport({"-showvars", "-mon", mon});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, e2e::errorReport(mon + ":4: value 'oops' of variable 'A' is not a number"));
    EXPECT_EQ(e2e::readFile(mon), text);
}

}  // namespace
