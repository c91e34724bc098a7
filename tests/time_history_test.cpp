// The time-history table (the default mode): columns, lines per step and
// coefficient loop, the time-step range, empty fields, -noheader and -out.

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

using e2e::monexport;

std::string data(const std::string& name) {
    return e2e::testData("tables/" + name);
}
using e2e::example;

const char* const kLoopsTable =
    "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"A\",\"B\",\"Late\"\n"
    "1,1,1.50000000e+00,-2.00000000e+00,\n"
    "1,2,2.50000000e-01,,\n"
    "3,1,,,\n"
    "3,2,1.00000001e-10,nan,\n"
    "3,3,-inf,7.00000000e+00,\n"
    "5,1,1.00000000e+02,2.00000000e+02,3.00000000e+00\n";

const char* const kLoopsHeaderNoLoops = "\"ACCUMULATED TIMESTEP\",\"A\",\"B\",\"Late\"\n";

// Standard output of a successful run.
std::string table(const std::vector<std::string>& args) {
    e2e::Result r = monexport(args);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
    return r.out;
}

TEST(TimeHistory, DefaultsWriteOneLinePerCoefficientLoopWithEmptyFieldsForGaps) {
    EXPECT_EQ(table({"-mon", data("loops.mon")}), kLoopsTable);
}

TEST(TimeHistory, NoCoeffLoopsWritesEachStepsLastLoop) {
    EXPECT_EQ(table({"-mon", data("loops.mon"), "-nocoeffloops"}),
              std::string(kLoopsHeaderNoLoops) +
                  "1,2.50000000e-01,,\n"
                  "3,-inf,7.00000000e+00,\n"
                  "5,1.00000000e+02,2.00000000e+02,3.00000000e+00\n");
}

TEST(TimeHistory, ARunWithoutCoefficientLoopsHasOneKeyColumn) {
    EXPECT_EQ(table({"-mon", data("steady.mon")}),
              "\"ACCUMULATED TIMESTEP\",\"RMS P-Mass\",\"Outlet Pressure\"\n"
              "1,6.30957335e-02,2.08187305e+03\n"
              "2,3.98107171e-02,\n"
              "3,2.51188651e-02,2.05488110e+03\n");
}

TEST(TimeHistory, ExampleRunWithCoefficientLoops) {
    const std::string out = table({"-mon", example("transient.mon"), "-varlist", "RMS P-Mass;TIME",
                                   "-firsttimestep", "3", "-lasttimestep", "4"});
    EXPECT_EQ(out,
              "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"RMS P-Mass\",\"TIME\"\n"
              "3,1,1.01018352e-02,3.00000003e-03\n"
              "3,2,2.17651599e-03,3.00000003e-03\n"
              "4,1,6.05202233e-03,4.00000019e-03\n");
}

TEST(TimeHistory, NoHeaderStartsWithTheFirstDataLine) {
    const std::string out = table({"-mon", data("loops.mon"), "-noheader", "-lasttimestep", "1"});
    EXPECT_EQ(out, "1,1,1.50000000e+00,-2.00000000e+00,\n1,2,2.50000000e-01,,\n");
}

TEST(TimeHistory, TimeStepBoundsOfZeroOrBelowAreNotSet) {
    for (const char* bound : {"0", "-1", "-2147483648"}) {
        EXPECT_EQ(table({"-mon", data("loops.mon"), "-firsttimestep", bound}), kLoopsTable);
        EXPECT_EQ(table({"-mon", data("loops.mon"), "-lasttimestep", bound}), kLoopsTable);
    }
}

TEST(TimeHistory, BoundsOutsideTheDataAreClampedToIt) {
    EXPECT_EQ(
        table({"-mon", data("loops.mon"), "-firsttimestep", "1", "-lasttimestep", "2147483647"}),
        kLoopsTable);
}

TEST(TimeHistory, StepsMissingInsideTheRangeHaveNoLine) {
    EXPECT_EQ(table({"-mon", data("loops.mon"), "-firsttimestep", "2", "-lasttimestep", "4",
                     "-nocoeffloops"}),
              std::string(kLoopsHeaderNoLoops) + "3,-inf,7.00000000e+00,\n");
}

TEST(TimeHistory, EmptyRangesWriteTheHeaderOnly) {
    const std::string header =
        "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"A\",\"B\",\"Late\"\n";
    EXPECT_EQ(table({"-mon", data("loops.mon"), "-firsttimestep", "4", "-lasttimestep", "2"}),
              header);  // crossed
    EXPECT_EQ(table({"-mon", data("loops.mon"), "-firsttimestep", "6"}), header);
    EXPECT_EQ(table({"-mon", data("loops.mon"), "-firsttimestep", "4", "-lasttimestep", "4"}),
              header);  // a step the run does not have
    EXPECT_EQ(table({"-mon", data("loops.mon"), "-firsttimestep", "6", "-noheader"}), "");
}

TEST(TimeHistory, HeaderDoublesQuotesInNamesAndKeepsCommasInside) {
    EXPECT_EQ(table({"-mon", data("names.mon")}),
              "\"ACCUMULATED TIMESTEP\",\"say \"\"hi\"\"\",\"two words\",\"a,b;c\"\n"
              "10,1.00000000e+00,2.00000000e+00,3.00000000e+00\n"
              "20,4.00000000e+00,5.00000000e+00,6.00000000e+00\n");
}

TEST(TimeHistory, OutWritesTheTableToTheFileOnly) {
    e2e::TempDir dir;
    const std::string out = dir.file("table.csv");
    e2e::writeFile(out, "old content that must go\n");
    EXPECT_EQ(table({"-mon", data("loops.mon"), "-out", out}), "");
    EXPECT_EQ(e2e::readFile(out), kLoopsTable);
}

// A run of 40,000 steps with 1 to 3 loops (enough lines for many output
// blocks written by several threads) and the table expected from it.
struct LargeRun {
    std::string mon = "monitor-file 1 coefficient-loops\nvar \"X\"\nvar \"Y\"\n";
    std::string table = "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"X\",\"Y\"\n";

    LargeRun() {
        for (int step = 1; step <= 40000; ++step)
            for (int loop = 1; loop <= 1 + step % 3; ++loop) addRecord(step, loop);
    }

    void addRecord(int step, int loop) {
        const std::string x = std::to_string(step % 1000), y = std::to_string(loop);
        mon += std::to_string(step) + " " + y + " " + x + " " + (step % 10 ? y : "-") + "\n";
        char line[96];
        std::snprintf(line, sizeof line, "%d,%d,%.8e,", step, loop, double(step % 1000));
        table += line;
        if (step % 10) table += y + ".00000000e+00";
        table += "\n";
    }
};

TEST(TimeHistory, ALargeTableIsCompleteAndInOrder) {
    e2e::TempDir dir;
    const LargeRun run;
    e2e::writeFile(dir.file("big.mon"), run.mon);
    EXPECT_EQ(table({"-mon", dir.file("big.mon"), "-out", dir.file("big.csv")}), "");
    EXPECT_TRUE(e2e::readFile(dir.file("big.csv")) == run.table);
}

TEST(TimeHistory, AnOutputThatFailsMidwayIsReported) {
    e2e::TempDir dir;
    e2e::writeFile(dir.file("big.mon"), LargeRun().mon);
    e2e::Result r = monexport({"-mon", dir.file("big.mon"), "-out", "/dev/full"});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err, e2e::errorReport(
                         "Failed to write output file '/dev/full': No space left on device."));
    r = e2e::run("/bin/sh", {"-c", "\"$0\" -mon \"$1\" > /dev/full", e2e::binary("monexport"),
                             dir.file("big.mon")});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err, e2e::errorReport("Failed to write to standard output."));
}

}  // namespace
