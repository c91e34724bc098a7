// monexport -study on a study the test writes: monitor files, a results
// file, an OpenFOAM case, an SU2 folder and a damaged file, each row checked
// against the single-run -lastvaluesonly table of that run.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "tests/CommandRunner.h"

namespace {

namespace fs = std::filesystem;
using Fields = std::vector<std::string>;

Fields csvFields(const std::string& line) {
    Fields fields(1);
    bool quoted = false;
    for (char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

std::vector<Fields> csvLines(const std::string& text) {
    std::vector<Fields> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(csvFields(line));
    return lines;
}

// The study under <temp>/study: alpha=N/<run>, and the options of each
// run's single-run command.
struct Study {
    e2e::TempDir temp;
    std::vector<Fields> singleRuns;  // {source option, path}
    std::string root() const { return temp.file("study"); }

    Study() {
        const std::string alpha = root() + "/alpha=";
        for (int n = 1; n <= 5; ++n) fs::create_directories(alpha + std::to_string(n));
        const std::string packed = temp.file("packed.mon");
        for (const Fields& tool : std::vector<Fields>{
                 {"monsynth", "--out", alpha + "1/run.mon", "--steps", "30", "--variables", "3"},
                 {"monsynth", "--out", packed, "--steps", "20", "--seed", "2"},
                 {"monpack", "-mon", packed, "-out", alpha + "2/run.res"}}) {
            const e2e::Result r =
                e2e::run(e2e::binary(tool[0]), Fields(tool.begin() + 1, tool.end()));
            EXPECT_EQ(r.status, 0) << r.err;
        }
        fs::copy(e2e::testData("openfoam/com"), alpha + "3/case", fs::copy_options::recursive);
        fs::create_directory(alpha + "4/su2");
        e2e::writeFile(alpha + "4/su2/history.csv",
                       "\"Inner_Iter\",\"rms[Rho]\",\"CL\"\n0, -1, 0.5\n1, -2, 0.75\n");
        e2e::writeFile(alpha + "5/run.mon", "not a monitor file\n");
        singleRuns = {{"-mon", alpha + "1/run.mon"},
                      {"-res", alpha + "2/run.res"},
                      {"-dir", alpha + "3/case"},
                      {"-dir", alpha + "4/su2"},
                      {"-mon", alpha + "5/run.mon"}};
    }
};

const Study& study() {
    static const Study shared;
    return shared;
}

TEST(Study, EveryRowIsItsRunsLastValuesTableAndDamagedRunsAreRows) {
    const std::vector<Fields> table =
        csvLines(e2e::monexportOutput({"-study", study().root() + "/*/*"}));
    const Fields& header = table.at(0);
    ASSERT_EQ(table.size(), 6u);
    EXPECT_EQ(Fields(header.begin(), header.begin() + 2), (Fields{"RUN", "alpha"}));
    EXPECT_EQ(Fields(header.end() - 2, header.end()), (Fields{"STEPS", "ERROR"}));
    for (size_t r = 0; r < 5; ++r) {
        const Fields& row = table[r + 1];
        const Fields& run = study().singleRuns[r];
        ASSERT_EQ(row.size(), header.size());
        const e2e::Result single = e2e::monexport({run[0], run[1], "-lastvaluesonly"});
        Fields expected(header.size());
        expected[0] = run[1], expected[1] = std::to_string(r + 1);
        if (single.status == 0) {
            const std::vector<Fields> lines = csvLines(single.out);
            for (size_t c = 0; c < lines[0].size(); ++c) {
                const auto at = std::find(header.begin(), header.end() - 2, lines[0][c]);
                ASSERT_NE(at, header.end() - 2) << lines[0][c];
                expected[at - header.begin()] = lines[1][c];
                if (lines[0][c] == "ACCUMULATED TIMESTEP")
                    expected[header.size() - 2] = lines[1][c];
            }
        } else {  // the report's second line, without its line end
            expected.back() = single.err.substr(single.err.find('\n') + 1);
            expected.back().pop_back();
        }
        EXPECT_EQ(row, expected) << run[1];
    }
}

TEST(Study, OneWorkerWritesWhatSeveralWrite) {
    const std::string pattern = study().root() + "/**/run.*";
    const e2e::Result many = e2e::monexport({"-study", pattern});
    const e2e::Result one =
        e2e::run("/usr/bin/taskset", {"-c", "0", e2e::binary("monexport"), "-study", pattern});
    EXPECT_EQ(csvLines(many.out).size(), 4u);  // run.mon twice, run.res
    EXPECT_EQ(one.out, many.out);
    EXPECT_EQ(one.err, many.err);
}

TEST(Study, ListFileMatrixSelectionAndOutputFile) {
    const Study& s = study();
    e2e::writeFile(s.temp.file("runs.txt"), s.root() + "/alpha=4/su2\n\n" + s.root() +
                                                "/alpha=1/run.mon\n" + s.root() + "/missing\n");
    e2e::writeFile(s.temp.file("matrix.csv"),
                   "case,mach,mesh\nalpha=1,0.5,\"fine, 2\"\nsu2,0.7,x\n");
    const std::string out = s.temp.file("table.csv");
    EXPECT_EQ(
        e2e::monexportOutput({"-study", "@" + s.temp.file("runs.txt"), "-matrix",
                              s.temp.file("matrix.csv"), "-varlist", "CL;Drag Force", "-out", out}),
        "");
    const std::string alpha = s.root() + "/alpha=";
    const std::vector<Fields> lines = csvLines(e2e::readFile(out));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], (Fields{"RUN", "mach", "mesh", "CL", "Drag Force", "STEPS", "ERROR"}));
    EXPECT_EQ(Fields(lines[1].begin(), lines[1].begin() + 4),
              (Fields{alpha + "1/run.mon", "0.5", "fine, 2", ""}));
    EXPECT_EQ(lines[2], (Fields{alpha + "4/su2", "0.7", "x", "7.50000000e-01", "", "1", ""}));
    EXPECT_EQ(Fields(lines[3].begin(), lines[3].end() - 1),
              (Fields{s.root() + "/missing", "", "", "", "", ""}));
    EXPECT_NE(lines[3].back(), "");
}

TEST(Study, StatsRowsAreTheRunsStatsTablesAndFailedTestsSetTheStatus) {
    const std::vector<std::string> options = {"-stats", "-varlist", "Drag Force;Lift Force",
                                              "-converged", "NAME = 'Drag Force' : below 0"};
    std::vector<std::string> args = {"-study", study().root() + "/alpha=[12]/run.*"};
    args.insert(args.end(), options.begin(), options.end());
    const e2e::Result r = e2e::monexport(args);
    EXPECT_EQ(r.status, 1) << r.err;
    const std::vector<Fields> table = csvLines(r.out);
    ASSERT_EQ(table.size(), 3u);
    const Fields& header = table[0];
    for (size_t i = 0; i < 2; ++i) {
        std::vector<std::string> single = {study().singleRuns[i][0], study().singleRuns[i][1]};
        single.insert(single.end(), options.begin(), options.end());
        const e2e::Result one = e2e::monexport(single);
        EXPECT_EQ(one.status, 1);
        const std::vector<Fields> rows = csvLines(one.out);
        ASSERT_EQ(rows.size(), 3u) << one.err;
        for (size_t v = 1; v < rows.size(); ++v) {
            const std::string& name = rows[v][0];
            for (const char* statistic : {"MEAN", "STDERR", "STD", "MIN", "MAX", "VERDICT"}) {
                const std::string column =
                    name + (statistic == std::string("MEAN") ? "" : " " + std::string(statistic));
                const size_t at = std::find(header.begin(), header.end(), column) - header.begin();
                const size_t in =
                    std::find(rows[0].begin(), rows[0].end(), statistic) - rows[0].begin();
                ASSERT_LT(at, header.size()) << column;
                EXPECT_EQ(table[i + 1].at(at), rows[v].at(in)) << column;
            }
        }
    }
}

TEST(Study, FailuresNameTheirCause) {
    const Study& s = study();
    const std::string damaged = s.root() + "/alpha=5/run.mon";
    const e2e::Result none = e2e::monexport({"-study", damaged, "-noheader"});
    EXPECT_EQ(none.status, 255);
    EXPECT_EQ(csvLines(none.out).size(), 1u);
    EXPECT_NE(none.err.find("None of the 1 runs of the study could be read"), std::string::npos);
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"-study", s.root() + "/*/run.mon", "-varlist", "CL;nowhere"},
         "Requested variable(s) not found in any run of the study: \n    CL\n    nowhere"},
        {{"-study", s.root() + "/nothing*"}, "No path matches the -study patterns."},
        {{"-study", damaged, "-mon", damaged},
         "-study reads the runs its patterns match: -res, -dir and -mon cannot be given with it."},
        {{"-study", damaged, "-matrix", s.temp.file("nomatrix.csv")},
         "Cannot read the run matrix '" + s.temp.file("nomatrix.csv") + "'."},
        {{"-study", damaged, "-out", damaged},
         "Refusing to write the output to '" + damaged + "': it is a run of the study."},
    };
    for (const Case& c : cases) {
        const e2e::Result r = e2e::monexport(c.args);
        EXPECT_EQ(r.status, 255);
        EXPECT_NE(r.err.find(e2e::errorReport(c.message)), std::string::npos) << r.err;
    }
}

}  // namespace
