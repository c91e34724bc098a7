// -showvars: the variable-name list.

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

using e2e::example;
using e2e::monexportOutput;

const std::string kResiduals =
    "RMS P-Mass\nMAX P-Mass\nRMS U-Mom\nMAX U-Mom\nRMS V-Mom\nMAX V-Mom\n"
    "RMS W-Mom\nMAX W-Mom\nRMS H-Energy\nMAX H-Energy\nRMS K-TurbKE\nMAX K-TurbKE\n"
    "RMS E-Diss.K\nMAX E-Diss.K\nRMS T-Energy Solid\nMAX T-Energy Solid\n"
    "P-Mass Imbalance\nU-Mom Imbalance\nH-Energy Imbalance\n";

TEST(ShowVars, ListsKeysFirstThenVariablesInDeclarationOrder) {
    EXPECT_EQ(monexportOutput({"-showvars", "-mon", example("transient.mon")}),
              "ACCUMULATED TIMESTEP\nCOEFFICIENT LOOP\n" + kResiduals +
                  "TIME\nTIME STEP SIZE\n"
                  "P1 Pressure\nP2 Pressure\nInlet Velocity\nT1 Temperature\nDrag Force\n"
                  "Lift Force\nTT Blade Force\nTIME Passage 1\nBlade Force Passage 1\n"
                  "TIME Passage 2\nBlade Force Passage 2\nOutlet Velocity\n");
    // A steady run has no coefficient loop.
    EXPECT_EQ(monexportOutput({"-showvars", "-mon", example("steady.mon")}),
              "ACCUMULATED TIMESTEP\n" + kResiduals +
                  "P1 Pressure\nP2 Pressure\nInlet Velocity\nT1 Temperature\nDrag Force\n"
                  "Lift Force\n");
}

TEST(ShowVars, NamesAreWrittenAsLatin1AndARunWithoutVariablesListsTheKeyOnly) {
    e2e::TempDir dir;
    const std::string mon =
        dir.write("names.mon",
                  "monitor-file 1\n"
                  "var \"caf\xc3\xa9 \xce\x94p\"\n"         // café Δp
                  "var \"a \\\"quoted\\\"; name, here\"\n"  // a "quoted"; name, here
                  "1 1 2\n");
    EXPECT_EQ(monexportOutput({"-showvars", "-mon", mon}),
              "ACCUMULATED TIMESTEP\ncaf\xe9 ?p\na \"quoted\"; name, here\n");
    EXPECT_EQ(monexportOutput({"-showvars", "-mon", dir.write("empty.mon", "monitor-file 1\n")}),
              "ACCUMULATED TIMESTEP\n");
}

}  // namespace
