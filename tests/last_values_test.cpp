// -lastvaluesonly: one line with each selected variable's own last value.

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

using e2e::monexport;

std::string data(const std::string& name) {
    return e2e::testData("tables/" + name);
}

std::string lastValues(std::vector<std::string> args) {
    args.push_back("-lastvaluesonly");
    e2e::Result r = monexport(args);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
    return r.out;
}

TEST(LastValues, EachVariableGivesItsOwnLastValueAndKeysAreIntegers) {
    EXPECT_EQ(lastValues({"-mon", data("ends.mon")}),
              "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"A\",\"B\",\"C\"\n"
              "3,1,3.00000000e+00,4.00000000e+01,\n");
}

TEST(LastValues, ListedVariablesInListOrderWithRepeats) {
    EXPECT_EQ(lastValues({"-mon", data("ends.mon"), "-varlist", "B;A;B;COEFFICIENT LOOP"}),
              "\"B\",\"A\",\"B\",\"COEFFICIENT LOOP\"\n"
              "4.00000000e+01,3.00000000e+00,4.00000000e+01,1\n");
}

TEST(LastValues, LoopAndRangeOptionsDoNotChangeTheTable) {
    const std::string expected =
        "\"ACCUMULATED TIMESTEP\",\"A\",\"Late\"\n5,1.00000000e+02,3.00000000e+00\n";
    const std::string list = "ACCUMULATED TIMESTEP;A;Late";
    EXPECT_EQ(lastValues({"-mon", data("loops.mon"), "-varlist", list}), expected);
    EXPECT_EQ(lastValues({"-mon", data("loops.mon"), "-varlist", list, "-nocoeffloops",
                          "-firsttimestep", "2", "-lasttimestep", "3"}),
              expected);
}

TEST(LastValues, NoHeaderAndOut) {
    e2e::TempDir dir;
    EXPECT_EQ(lastValues({"-mon", data("ends.mon"), "-noheader", "-varlist", "C;A", "-out",
                          dir.file("last.csv")}),
              "");
    EXPECT_EQ(e2e::readFile(dir.file("last.csv")), ",3.00000000e+00\n");
}

}  // namespace
