#include "libs/rcl/RCLPath.h"

#include <gtest/gtest.h>

namespace {

// The steps as "type|name;" and, after "->", the last name.
std::string describe(const char* text) {
    const owl::RCLPath path(text);
    std::string out;
    for (const auto& step : path.getSteps()) out += step.type + "|" + step.name + ";";
    return out + "->" + path.getLastName();
}

TEST(RCLPath, StepsSplitAtSlashesAndTheFirstColon) {
    const std::pair<const char*, const char*> cases[] = {
        {" A B : x /C:y:z/ plain ", "A B|x;C|y:z;|plain;->plain"},
        {"MONITOR WORKSPACE : Run", "MONITOR WORKSPACE|Run;->Run"},
        {"/T: a//", "T|a;->a"},
        {"/", "->"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(describe(text), expected) << text;
}

}  // namespace
