// Time steps beyond 2^24, which a 32-bit float cannot hold, keep their exact
// numbers in both tables and from every source.

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

// The monitor file, a run directory holding it as its one segment, and the
// results file monpack makes of it.
std::vector<std::vector<std::string>> sourcesOf(const e2e::TempDir& dir, const std::string& name) {
    const std::string mon = e2e::testData("tables/" + name), packed = dir.file(name + ".res");
    dir.write(name + ".dir/segment-001.mon", e2e::readFile(mon));
    const e2e::Result pack = e2e::monpack({"-mon", mon, "-out", packed});
    EXPECT_EQ(pack.status, 0) << pack.err;
    return {{"-mon", mon}, {"-dir", dir.file(name + ".dir")}, {"-res", packed}};
}

// Every source of the run gives the same exact table.
TEST(LargeSteps, BothTablesKeepEveryStepAndLoopExactly) {
    const std::string header = "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"A\"\n";
    struct Case {
        std::string mon;
        std::vector<std::string> options;
        std::string expected;
    };
    for (const Case& c : {
             Case{"large-steps.mon",
                  {},
                  header + "16777216,1,1.50000000e+00\n16777217,1,2.50000000e+00\n16777217,2,\n"
                           "16777218,1,3.50000000e+00\n2147483520,1,4.50000000e+00\n"
                           "2147483583,1,\n2147483583,2,5.50000000e+00\n"},
             Case{"large-steps-steady.mon",
                  {},
                  "\"ACCUMULATED TIMESTEP\",\"B\"\n16777217,1.00000000e+00\n"
                  "2147483583,2.00000000e+00\n2147483646,3.00000000e+00\n2147483647,\n"},
             Case{"large-steps.mon",
                  {"-nocoeffloops", "-firsttimestep", "16777217", "-lasttimestep", "2147483583"},
                  "\"ACCUMULATED TIMESTEP\",\"A\"\n16777217,\n16777218,3.50000000e+00\n"
                  "2147483520,4.50000000e+00\n2147483583,5.50000000e+00\n"},
             Case{"large-steps.mon",
                  {"-varlist", "COEFFICIENT LOOP;ACCUMULATED TIMESTEP", "-firsttimestep",
                   "2147483583", "-noheader"},
                  "2147483583,1,1,2147483583\n2147483583,2,2,2147483583\n"},
             Case{"large-steps.mon", {"-lastvaluesonly"}, header + "2147483583,2,5.50000000e+00\n"},
             Case{"large-steps-steady.mon",
                  {"-lastvaluesonly", "-varlist", "B;ACCUMULATED TIMESTEP"},
                  "\"B\",\"ACCUMULATED TIMESTEP\"\n3.00000000e+00,2147483647\n"},
         }) {
        e2e::TempDir dir;
        for (std::vector<std::string> args : sourcesOf(dir, c.mon)) {
            const std::string source = args[0];
            args.insert(args.end(), c.options.begin(), c.options.end());
            EXPECT_EQ(e2e::monexportOutput(args), c.expected) << source << " " << c.mon;
        }
    }
}

}  // namespace
