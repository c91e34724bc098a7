// Time steps beyond 2^24, which a 32-bit float cannot hold, keep their exact
// numbers in both tables and from every source.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "tests/CommandRunner.h"

namespace {

std::string data(const std::string& name) {
    return e2e::testData("tables/" + name);
}

// The monitor file, a run directory holding it as its one segment, and the
// results file monpack makes of it.
std::vector<std::vector<std::string>> sourcesOf(const e2e::TempDir& dir, const std::string& name) {
    const std::string folder = dir.file(name + ".dir");
    ::mkdir(folder.c_str(), 0777);
    e2e::writeFile(folder + "/segment-001.mon", e2e::readFile(data(name)));
    const std::string packed = dir.file(name + ".res");
    e2e::Result pack = e2e::run(e2e::binary("monpack"), {"-mon", data(name), "-out", packed});
    EXPECT_EQ(pack.status, 0) << pack.err;
    return {{"-mon", data(name)}, {"-dir", folder}, {"-res", packed}};
}

// Runs monexport on every source of the run and expects the same output.
void expectOutput(const std::string& name, const std::vector<std::string>& options,
                  const std::string& expected) {
    e2e::TempDir dir;
    for (std::vector<std::string> args : sourcesOf(dir, name)) {
        const std::string source = args[0];
        args.insert(args.end(), options.begin(), options.end());
        e2e::Result r = e2e::monexport(args);
        EXPECT_EQ(r.err, "") << source;
        EXPECT_EQ(r.status, 0) << source;
        EXPECT_EQ(r.out, expected) << source;
    }
}

const char* const kHeader = "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"A\"\n";

TEST(LargeSteps, TimeHistoryWritesEveryStepAndLoopExactly) {
    expectOutput("large-steps.mon", {},
                 std::string(kHeader) +
                     "16777216,1,1.50000000e+00\n"
                     "16777217,1,2.50000000e+00\n"
                     "16777217,2,\n"
                     "16777218,1,3.50000000e+00\n"
                     "2147483520,1,4.50000000e+00\n"
                     "2147483583,1,\n"
                     "2147483583,2,5.50000000e+00\n");
    expectOutput("large-steps-steady.mon", {},
                 "\"ACCUMULATED TIMESTEP\",\"B\"\n"
                 "16777217,1.00000000e+00\n"
                 "2147483583,2.00000000e+00\n"
                 "2147483646,3.00000000e+00\n"
                 "2147483647,\n");
}

TEST(LargeSteps, RangesLastLoopsAndRepeatedKeyColumns) {
    expectOutput("large-steps.mon",
                 {"-nocoeffloops", "-firsttimestep", "16777217", "-lasttimestep", "2147483583"},
                 "\"ACCUMULATED TIMESTEP\",\"A\"\n"
                 "16777217,\n"
                 "16777218,3.50000000e+00\n"
                 "2147483520,4.50000000e+00\n"
                 "2147483583,5.50000000e+00\n");
    expectOutput("large-steps.mon",
                 {"-varlist", "COEFFICIENT LOOP;ACCUMULATED TIMESTEP", "-firsttimestep",
                  "2147483583", "-noheader"},
                 "2147483583,1,1,2147483583\n"
                 "2147483583,2,2,2147483583\n");
}

TEST(LargeSteps, LastValuesHoldTheExactKeysOfTheLastRecord) {
    expectOutput("large-steps.mon", {"-lastvaluesonly"},
                 std::string(kHeader) + "2147483583,2,5.50000000e+00\n");
    expectOutput("large-steps.mon",
                 {"-lastvaluesonly", "-varlist", "A;ACCUMULATED TIMESTEP;COEFFICIENT LOOP"},
                 "\"A\",\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\"\n"
                 "5.50000000e+00,2147483583,2\n");
    expectOutput("large-steps-steady.mon",
                 {"-lastvaluesonly", "-varlist", "B;ACCUMULATED TIMESTEP"},
                 "\"B\",\"ACCUMULATED TIMESTEP\"\n3.00000000e+00,2147483647\n");
}

}  // namespace
