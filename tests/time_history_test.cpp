// The time-history table (the default mode): columns, lines per step and
// coefficient loop, the time-step range, empty fields, -noheader and -out;
// the -lastvaluesonly table; steps beyond what a float holds in both.

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

using e2e::monexportOutput;

const std::string kLoopsHeader =
    "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"A\",\"B\",\"Late\"\n";
const std::string kLoopsTable = kLoopsHeader +
                                "1,1,1.50000000e+00,-2.00000000e+00,\n"
                                "1,2,2.50000000e-01,,\n"
                                "3,1,,,\n"
                                "3,2,1.00000001e-10,nan,\n"
                                "3,3,-inf,7.00000000e+00,\n"
                                "5,1,1.00000000e+02,2.00000000e+02,3.00000000e+00\n";
const std::string kLoopsHeaderNoLoops = "\"ACCUMULATED TIMESTEP\",\"A\",\"B\",\"Late\"\n";

struct Table {
    const char* what;
    std::vector<std::string> args;
    std::string table;
};

TEST(TimeHistory, WritesTheTableTheOptionsAskFor) {
    const std::string loops = e2e::testData("tables/loops.mon"),
                      ends = e2e::testData("tables/ends.mon");
    const std::string lastOfLoops =
        "\"ACCUMULATED TIMESTEP\",\"A\",\"Late\"\n5,1.00000000e+02,3.00000000e+00\n";
    const Table cases[] = {
        {"one line per coefficient loop, empty fields for gaps", {"-mon", loops}, kLoopsTable},
        {"-nocoeffloops: each step's last loop",
         {"-mon", loops, "-nocoeffloops"},
         kLoopsHeaderNoLoops + "1,2.50000000e-01,,\n3,-inf,7.00000000e+00,\n"
                               "5,1.00000000e+02,2.00000000e+02,3.00000000e+00\n"},
        {"a run without loops has one key column",
         {"-mon", e2e::testData("tables/steady.mon")},
         "\"ACCUMULATED TIMESTEP\",\"RMS P-Mass\",\"Outlet Pressure\"\n"
         "1,6.30957335e-02,2.08187305e+03\n2,3.98107171e-02,\n3,2.51188651e-02,2.05488110e+03\n"},
        {"-noheader starts with the first data line",
         {"-mon", loops, "-noheader", "-lasttimestep", "1"},
         "1,1,1.50000000e+00,-2.00000000e+00,\n1,2,2.50000000e-01,,\n"},
        {"bounds outside the data are clamped to it",
         {"-mon", loops, "-firsttimestep", "1", "-lasttimestep", "2147483647"},
         kLoopsTable},
        {"steps missing inside the range have no line",
         {"-mon", loops, "-firsttimestep", "2", "-lasttimestep", "4", "-nocoeffloops"},
         kLoopsHeaderNoLoops + "3,-inf,7.00000000e+00,\n"},
        {"crossed range",
         {"-mon", loops, "-firsttimestep", "4", "-lasttimestep", "2"},
         kLoopsHeader},
        {"empty range without header", {"-mon", loops, "-firsttimestep", "6", "-noheader"}, ""},
        {"-lastvaluesonly: each variable's own last value, keys as integers",
         {"-mon", ends, "-lastvaluesonly"},
         "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"A\",\"B\",\"C\"\n"
         "3,1,3.00000000e+00,4.00000000e+01,\n"},
        {"-lastvaluesonly: listed variables in list order, repeats kept",
         {"-mon", ends, "-lastvaluesonly", "-varlist", "B;A;B;COEFFICIENT LOOP"},
         "\"B\",\"A\",\"B\",\"COEFFICIENT LOOP\"\n"
         "4.00000000e+01,3.00000000e+00,4.00000000e+01,1\n"},
        {"-lastvaluesonly: the last value of the last loop",
         {"-mon", loops, "-lastvaluesonly", "-varlist", "ACCUMULATED TIMESTEP;A;Late"},
         lastOfLoops},
        {"-lastvaluesonly: loop and range options do not change it",
         {"-mon", loops, "-lastvaluesonly", "-varlist", "ACCUMULATED TIMESTEP;A;Late",
          "-nocoeffloops", "-firsttimestep", "2", "-lasttimestep", "3"},
         lastOfLoops},
        {"-lastvaluesonly -noheader",
         {"-mon", ends, "-lastvaluesonly", "-noheader", "-varlist", "C;A"},
         ",3.00000000e+00\n"},
    };
    for (const Table& c : cases) EXPECT_EQ(monexportOutput(c.args), c.table) << c.what;
    for (const char* bound : {"0", "-1", "-2147483648"})  // bounds <= 0 are not set
        for (const char* option : {"-firsttimestep", "-lasttimestep"})
            EXPECT_EQ(monexportOutput({"-mon", loops, option, bound}), kLoopsTable) << bound;
}

// A run of 40,000 steps with 1 to 3 loops (enough lines for many output
// blocks written by several threads) and the table expected from it.
struct LargeRun {
    std::string mon = "monitor-file 1 coefficient-loops\nvar \"X\"\nvar \"Y\"\n";
    std::string table = "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"X\",\"Y\"\n";

    LargeRun() {
        for (int step = 1; step <= 40000; ++step)
            for (int loop = 1; loop <= 1 + step % 3; ++loop) {
                const std::string x = std::to_string(step % 1000), y = std::to_string(loop);
                mon +=
                    std::to_string(step) + " " + y + " " + x + " " + (step % 10 ? y : "-") + "\n";
                char line[96];
                std::snprintf(line, sizeof line, "%d,%d,%.8e,", step, loop, double(step % 1000));
                table += line + (step % 10 ? y + ".00000000e+00" : "") + "\n";
            }
    }
};

// -out replaces the file's content; a write that fails midway is reported.
TEST(TimeHistory, ALargeTableIsCompleteAndInOrder) {
    e2e::TempDir dir;
    const LargeRun run;
    const std::string mon = dir.write("big.mon", run.mon);
    const std::string out = dir.write("big.csv", "old content that must go\n");
    EXPECT_EQ(monexportOutput({"-mon", mon, "-out", out}), "");
    EXPECT_TRUE(e2e::readFile(out) == run.table);
    EXPECT_TRUE(
        e2e::failsWith(e2e::monexport({"-mon", mon, "-out", "/dev/full"}),
                       "Failed to write output file '/dev/full': No space left on device."));
    EXPECT_TRUE(e2e::failsWith(e2e::run("/bin/sh", {"-c", "\"$0\" -mon \"$1\" > /dev/full",
                                                    e2e::binary("monexport"), mon}),
                               "Failed to write to standard output."));
}

// The monitor file, a run directory holding it as its one segment, and the
// results file monpack makes of it.
std::vector<std::vector<std::string>> sourcesOf(const e2e::TempDir& dir, const std::string& name) {
    const std::string mon = e2e::testData("tables/" + name), packed = dir.file(name + ".res");
    dir.write(name + ".dir/segment-001.mon", e2e::readFile(mon));
    const e2e::Result pack = e2e::monpack({"-mon", mon, "-out", packed});
    EXPECT_EQ(pack.status, 0) << pack.err;
    return {{"-mon", mon}, {"-dir", dir.file(name + ".dir")}, {"-res", packed}};
}

// Steps beyond 2^24, which a float cannot hold, keep their exact numbers from
// every source of the run (the test input named by what).
TEST(LargeSteps, BothTablesKeepEveryStepAndLoopExactly) {
    const std::string header = "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"A\"\n";
    for (const Table& c : {
             Table{"large-steps.mon",
                   {},
                   header + "16777216,1,1.50000000e+00\n16777217,1,2.50000000e+00\n16777217,2,\n"
                            "16777218,1,3.50000000e+00\n2147483520,1,4.50000000e+00\n"
                            "2147483583,1,\n2147483583,2,5.50000000e+00\n"},
             Table{"large-steps-steady.mon",
                   {},
                   "\"ACCUMULATED TIMESTEP\",\"B\"\n16777217,1.00000000e+00\n"
                   "2147483583,2.00000000e+00\n2147483646,3.00000000e+00\n2147483647,\n"},
             Table{"large-steps.mon",
                   {"-nocoeffloops", "-firsttimestep", "16777217", "-lasttimestep", "2147483583"},
                   "\"ACCUMULATED TIMESTEP\",\"A\"\n16777217,\n16777218,3.50000000e+00\n"
                   "2147483520,4.50000000e+00\n2147483583,5.50000000e+00\n"},
             Table{"large-steps.mon",
                   {"-varlist", "COEFFICIENT LOOP;ACCUMULATED TIMESTEP", "-firsttimestep",
                    "2147483583", "-noheader"},
                   "2147483583,1,1,2147483583\n2147483583,2,2,2147483583\n"},
             Table{
                 "large-steps.mon", {"-lastvaluesonly"}, header + "2147483583,2,5.50000000e+00\n"},
             Table{"large-steps-steady.mon",
                   {"-lastvaluesonly", "-varlist", "B;ACCUMULATED TIMESTEP"},
                   "\"B\",\"ACCUMULATED TIMESTEP\"\n3.00000000e+00,2147483647\n"},
         }) {
        e2e::TempDir dir;
        for (std::vector<std::string> args : sourcesOf(dir, c.what)) {
            const std::string source = args[0];
            args.insert(args.end(), c.args.begin(), c.args.end());
            EXPECT_EQ(monexportOutput(args), c.table) << source << " " << c.what;
        }
    }
}

}  // namespace
