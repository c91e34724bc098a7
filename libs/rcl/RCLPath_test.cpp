#include "libs/rcl/RCLPath.h"

#include <gtest/gtest.h>

namespace {

TEST(RCLPath, LastNameIsTheNameOfTheLastStep) {
    EXPECT_EQ(owl::RCLPath("/MONITOR WORKSPACE: Run/MONITOR PLOT:Pressure Probes").getLastName(),
              "Pressure Probes");
    EXPECT_EQ(owl::RCLPath("MONITOR WORKSPACE : Run").getLastName(), "Run");
    EXPECT_EQ(owl::RCLPath("/T: a: b = c").getLastName(), "a: b = c");
    EXPECT_EQ(owl::RCLPath("/T: a//").getLastName(), "a");
    EXPECT_EQ(owl::RCLPath("/").getLastName(), "");
    EXPECT_EQ(owl::RCLPath("").getLastName(), "");
}

TEST(RCLPath, StepsSplitAtSlashesAndTheFirstColon) {
    const owl::RCLPath path(" A B : x /C:y:z/ plain ");
    const auto& steps = path.getSteps();
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].type, "A B");
    EXPECT_EQ(steps[0].name, "x");
    EXPECT_EQ(steps[1].type, "C");
    EXPECT_EQ(steps[1].name, "y:z");
    EXPECT_EQ(steps[2].type, "");
    EXPECT_EQ(steps[2].name, "plain");
}

}  // namespace
