// The time-history table (the default mode): columns, lines per step and
// coefficient loop, the time-step range, empty fields, -noheader and -out.

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

using e2e::monexportOutput;

std::string data(const std::string& name) {
    return e2e::testData("tables/" + name);
}

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
    const std::string loops = data("loops.mon");
    const Table cases[] = {
        {"one line per coefficient loop, empty fields for gaps", {"-mon", loops}, kLoopsTable},
        {"-nocoeffloops: each step's last loop",
         {"-mon", loops, "-nocoeffloops"},
         kLoopsHeaderNoLoops + "1,2.50000000e-01,,\n3,-inf,7.00000000e+00,\n"
                               "5,1.00000000e+02,2.00000000e+02,3.00000000e+00\n"},
        {"a run without loops has one key column",
         {"-mon", data("steady.mon")},
         "\"ACCUMULATED TIMESTEP\",\"RMS P-Mass\",\"Outlet Pressure\"\n"
         "1,6.30957335e-02,2.08187305e+03\n2,3.98107171e-02,\n3,2.51188651e-02,2.05488110e+03\n"},
        {"the example run with loops",
         {"-mon", e2e::example("transient.mon"), "-varlist", "RMS P-Mass;TIME", "-firsttimestep",
          "3", "-lasttimestep", "4"},
         "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"RMS P-Mass\",\"TIME\"\n"
         "3,1,1.01018352e-02,3.00000003e-03\n3,2,2.17651599e-03,3.00000003e-03\n"
         "4,1,6.05202233e-03,4.00000019e-03\n"},
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
        {"range after the data", {"-mon", loops, "-firsttimestep", "6"}, kLoopsHeader},
        {"a step the run does not have",
         {"-mon", loops, "-firsttimestep", "4", "-lasttimestep", "4"},
         kLoopsHeader},
        {"empty range without header", {"-mon", loops, "-firsttimestep", "6", "-noheader"}, ""},
        {"names with quotes doubled, commas kept inside",
         {"-mon", data("names.mon")},
         "\"ACCUMULATED TIMESTEP\",\"say \"\"hi\"\"\",\"two words\",\"a,b;c\"\n"
         "10,1.00000000e+00,2.00000000e+00,3.00000000e+00\n"
         "20,4.00000000e+00,5.00000000e+00,6.00000000e+00\n"},
    };
    for (const Table& c : cases) EXPECT_EQ(monexportOutput(c.args), c.table) << c.what;
    // Bounds of zero or below are not set.
    for (const char* bound : {"0", "-1", "-2147483648"})
        for (const char* option : {"-firsttimestep", "-lasttimestep"})
            EXPECT_EQ(monexportOutput({"-mon", loops, option, bound}), kLoopsTable) << bound;
}

TEST(TimeHistory, OutWritesTheTableToTheFileOnly) {
    e2e::TempDir dir;
    const std::string out = dir.write("table.csv", "old content that must go\n");
    EXPECT_EQ(monexportOutput({"-mon", data("loops.mon"), "-out", out}), "");
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
    EXPECT_EQ(monexportOutput({"-mon", dir.write("big.mon", run.mon), "-out", dir.file("big.csv")}),
              "");
    EXPECT_TRUE(e2e::readFile(dir.file("big.csv")) == run.table);
}

TEST(TimeHistory, AnOutputThatFailsMidwayIsReported) {
    e2e::TempDir dir;
    const std::string mon = dir.write("big.mon", LargeRun().mon);
    EXPECT_TRUE(
        e2e::failsWith(e2e::monexport({"-mon", mon, "-out", "/dev/full"}),
                       "Failed to write output file '/dev/full': No space left on device."));
    EXPECT_TRUE(e2e::failsWith(e2e::run("/bin/sh", {"-c", "\"$0\" -mon \"$1\" > /dev/full",
                                                    e2e::binary("monexport"), mon}),
                               "Failed to write to standard output."));
}

}  // namespace
