#include "libs/mondata/formats/su2/Su2History.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>

#include "tests/CommandRunner.h"

namespace {

const char* const kHeader =
    "\"Time_Iter\",\"Outer_Iter\",\"Inner_Iter\",    \"rms[Rho]\"    ,       \"CL\"       \n";

mon::Su2Table parse(const std::string& text) {
    return mon::parseSu2History("history.csv", text);
}

std::string parseError(const std::string& text) {
    return e2e::errorOf([&] { parse(text); });
}

// The run the tables make, keys and values as text: "step/loop: v v ...".
std::vector<std::string> records(const std::vector<mon::Su2Table>& tables) {
    mon::RunDataBuilder builder;
    mon::Su2Layout layout;
    layout.unsteady = mon::isUnsteadySu2Run(tables);
    builder.setCoefficientLoops(layout.unsteady);
    mon::addSu2History(tables, layout, builder);
    mon::RunData run = builder.finish();
    std::vector<std::string> lines;
    for (int64_t row = 0; row < run.rows->rowCount(); ++row) {
        const int position = run.rows->positionOfRecord(row);
        std::string line = std::to_string(run.rows->stepAt(position)) + "/" +
                           std::to_string(run.rows->loopOfRecord(row)) + ":";
        for (const auto& column : run.columns)
            line += column[row] == FLT_MAX ? " -" : " " + std::to_string(column[row]).substr(0, 5);
        lines.push_back(line);
    }
    return lines;
}

// Values are held as written, in double precision; beyond the double range
// they saturate.
TEST(Su2History, KeepsValuesAsWrittenInDoublePrecision) {
    mon::Su2Table table = parse(
        "\"a\",\"b\",\"c\",\"d\",\"e\",\"f\",\"g\",\"h\"\n"
        "-inf, inf , nan,-32, +1.5, 1e+300, -1e-400, 0.05\n");
    const double inf = INFINITY, expected[] = {-inf, inf, NAN, -32.0, 1.5, 1e300, -0.0, 0.05};
    ASSERT_EQ(table.values.size(), 8u);
    for (size_t i : {0, 1, 3, 4, 5, 6, 7}) EXPECT_EQ(table.values[i], expected[i]) << i;
    EXPECT_TRUE(std::isnan(table.values[2]));
    EXPECT_TRUE(std::signbit(table.values[6]));
}

// A history read from its file block by block is the history read whole,
// whatever the block size: a line cut by a block comes again whole.
TEST(Su2History, AFileReadInBlocksIsTheFileReadWhole) {
    const std::string text = std::string("TITLE = \"run\"\nVARIABLES = \\\n") + kHeader +
                             "0, 0, 0, -1.5, 0.25\r\n0, 0, 1, -2.5, 0.5\n\n"
                             "1, 0, 0, -3.5, 0.75\n1, 0, 1, -4e-01, 1.25\n2, 0, 0, -5";
    e2e::TempDir dir;
    const std::string path = dir.write("history.csv", text);
    const std::vector<std::string> whole = records({parse(text)});
    ASSERT_EQ(whole.size(), 4u);
    for (size_t block = 1; block <= text.size(); ++block)
        EXPECT_EQ(records({mon::readSu2HistoryFile(path, block)}), whole)
            << block << "-byte blocks";
}

// A header still being written, or a new file, is an empty run.
TEST(Su2History, AHeaderCutShortOrANewFileIsAnEmptyRun) {
    EXPECT_EQ(parse("\"Inner_Iter\",\"rms[P]\"").names.size(), 0u);
    EXPECT_EQ(parse("").rowCount, 0u);
}

// A row that does not read is skipped, and the table's warning says why;
// the rows around it are kept.
TEST(Su2History, DamagedRowsAreSkippedWithOneWarning) {
    const std::string iteration =
        "' of column 'Inner_Iter' is not a whole number "
        "from 0 to 2147483647";
    const std::string headerAgain(kHeader, std::strlen(kHeader) - 1);  // runs appended
    const std::pair<std::string, std::string> cases[] = {
        {"0,0,1,-1,2,3", "row has more values than the 5 columns of the header"},
        {"0,0,1,-1", "row has 4 values but the header names 5 columns"},
        {"0,0,-1,-1,2", "iteration '-1" + iteration},
        {"0,0,1.5,-1,2", "iteration '1.5" + iteration},
        {"0,0,1,,2", "value '' of column 'rms[Rho]' is not a number"},
        {"0,0,1,-1,0.0#5", "value '0.0#5' of column 'CL' is not a number"},
        {headerAgain,
         "iteration '\"Time_Iter\"' of column 'Time_Iter' is not a whole number from 0 "
         "to 2147483647"},
    };
    for (const auto& [row, message] : cases) {
        const mon::Su2Table table =
            parse(kHeader + std::string("0,0,0,-1,1\n") + row + "\n0,0,2,-3,3\n0,0,3,x,4\n");
        EXPECT_EQ(table.rowCount, 2u) << row;
        EXPECT_EQ(records({table}),
                  (std::vector<std::string>{"0/1: -1.00 1.000", "2/1: -3.00 3.000"}))
            << row;
        EXPECT_EQ(table.skipped, "history.csv:3: skipped: " + message +
                                     "; history.csv:5: skipped: value 'x' of column 'rms[Rho]' is "
                                     "not a number (2 lines skipped)")
            << row;
    }
}

// A header that does not read is an error.
TEST(Su2History, DamagedHeaderNamesFileAndLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"\"CL\",\"CD\",\"CL\"\n", "1: column 'CL' appears twice in the header (columns 1 and 3)"},
        {"\"CL\",  ,\"CD\"\n", "1: column 2 of the header has no name"},
        {"VARIABLES = \"COEFFICIENT LOOP\"\n",
         "1: 'COEFFICIENT LOOP' is the name of a record key and cannot be a column"},
    };
    for (const auto& [text, message] : cases) EXPECT_EQ(parseError(text), "history.csv:" + message);
}

TEST(Su2History, RecognisesItsFlavoursFromTheirHeader) {
    EXPECT_TRUE(mon::isSu2History(kHeader));
    EXPECT_TRUE(mon::isSu2History("\xEF\xBB\xBF\n  VARIABLES = \\\n\"Inner_Iter\",\"CL\"\n"));
    EXPECT_TRUE(mon::isSu2History(
        "TITLE = \"SU2 Simulation\"\nVARIABLES = \"Iteration\",\"CLift\",\"Res_Flow[0]\"\n"));
    EXPECT_TRUE(mon::isSu2History("    \"rms[P]\"    ,    \"rms[T]\""));
    EXPECT_FALSE(mon::isSu2History("monitor-file 1\n"));
    EXPECT_FALSE(mon::isSu2History("VARIABLES = \\\n"));
    // SU2's solution files in the same formats are no histories.
    EXPECT_FALSE(mon::isSu2History("\"PointID\",\"x\",\"y\",\"Density\"\n"));
    EXPECT_FALSE(mon::isSu2History(
        "TITLE = \"Visualization of the surface solution\"\nVARIABLES = \"x\",\"y\",\"Pressure\"\n"
        "ZONE NODES= 4, ELEMENTS= 2\n"));
    EXPECT_FALSE(mon::isSu2History("\"ACCUMULATED TIMESTEP\",\"RMS P-Mass\"\n"));
    EXPECT_FALSE(mon::isSu2History("CL,CD\n\"Inner_Iter\"\n"));
    EXPECT_FALSE(mon::isSu2History(""));
}

// A multizone run counts outer iterations; repeated ones keep the last.
TEST(Su2History, MultizoneRunsCountOuterIterations) {
    EXPECT_EQ(records({parse(std::string(kHeader) + "0,0,0,-1,2\n0,0,1,-2,3\n0,1,0,-3,4\n")}),
              (std::vector<std::string>{"0/1: -2.00 3.000", "1/1: -3.00 4.000"}));
}

TEST(Su2History, UnsteadyRunsLoopOverInnerIterationsAndRestartsReplace) {
    mon::Su2Table first = parse(std::string(kHeader) + "0,0,0,-1,1\n0,0,1,-2,2\n1,0,0,-3,3\n");
    mon::Su2Table restart = parse(std::string(kHeader) + "1,0,0,-4,4\n1,0,2,-5,5\n");
    EXPECT_EQ(records({first, restart}),
              (std::vector<std::string>{"0/1: -1.00 1.000", "0/2: -2.00 2.000", "1/1: -4.00 4.000",
                                        "1/3: -5.00 5.000"}));
    // One time iteration per file, but not the same one: unsteady too.
    mon::Su2Table later = parse(std::string(kHeader) + "3,0,0,-6,6\n");
    EXPECT_TRUE(mon::isUnsteadySu2Run({parse(std::string(kHeader) + "2,0,0,-1,1\n"), later}));
    EXPECT_FALSE(mon::isUnsteadySu2Run({parse(std::string(kHeader) + "3,0,0,-1,1\n"), later}));
}

TEST(Su2History, AnInnerIterationBeyondTheLoopLimitIsAnError) {
    mon::Su2Table table = parse(std::string(kHeader) + "0,0,0,-1,1\n1,0,100000,-2,2\n");
    EXPECT_EQ(e2e::errorOf([&] { records({table}); }),
              "history.csv:3: iteration 100000 is beyond the 100000 coefficient loops that a "
              "time step can hold");
}

}  // namespace
