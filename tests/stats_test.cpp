// -stats, -converged and -reference end to end, on an OpenFOAM case and an
// SU2 history written here in the solvers' layouts; -study on a study the
// test writes (monitor files, a results file, an OpenFOAM case, an SU2 folder
// and a damaged file), each row checked against that run's own table.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "stats/StatsSignals.h"
#include "tests/CommandRunner.h"

namespace {

using e2e::monexport;
namespace fs = std::filesystem;
using Fields = std::vector<std::string>;

using e2e::csvFields;

std::vector<Fields> csvLines(const std::string& text) {
    std::vector<Fields> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(csvFields(line));
    return lines;
}

constexpr int kSteps = 3000;

std::string fixed(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

// An OpenFOAM case: force coefficients with a start-up transient on
// correlated noise (Cd, Cl) and a slow drift (CmPitch); residuals that fall
// 4 orders in 1000 steps and stay.
void writeFoamCase(const e2e::TempDir& dir) {
    stats::signals::Ar1 cd(0.8, 11), cl(0.5, 12), noise(0.5, 13);
    std::ostringstream forces, residuals;
    forces << "# Force coefficients\n# dragDir     : (1 0 0)\n"
           << "# Time                Cd                  Cl                  CmPitch\n";
    residuals << "# Residuals\n# Time          \tp               \tUx\n";
    for (int step = 1; step <= kSteps; ++step) {
        const double startUp = std::exp(-step / 150.0);
        forces << step << '\t' << fixed(1.2 + 0.005 * cd(0) + 0.5 * startUp) << '\t'
               << fixed(0.3 + 0.001 * cl(0) - 0.2 * startUp) << '\t'
               << fixed(0.05 + 1e-5 * step + 1e-4 * noise(0)) << '\n';
        const double level = std::pow(10.0, -4.0 * std::min(step - 1, 1000) / 1000.0);
        residuals << step << '\t' << fixed(level) << '\t' << fixed(0.5 * level) << '\n';
    }
    dir.write("postProcessing/forceCoeffs/0/forceCoeffs.dat", forces.str());
    dir.write("postProcessing/residuals/0/residuals.dat", residuals.str());
}

// The table's rows by variable (the header's under "VARIABLE").
std::map<std::string, Fields> rows(const std::string& table) {
    std::map<std::string, Fields> byName;
    for (const Fields& fields : csvLines(table)) byName[fields[0]] = fields;
    return byName;
}

const std::string kHeader =
    "\"VARIABLE\",\"COUNT\",\"FIRST STEP\",\"LAST STEP\",\"MEAN\",\"STD\",\"MIN\",\"MAX\","
    "\"STDERR\",\"NEFF\",\"DRIFT\",\"ORDERS\",\"CAUCHY\",\"PERIOD\",\"FREQUENCY\",\"AMPLITUDE\","
    "\"NOTE\"";

class StatsCommand : public testing::Test {
  protected:
    void SetUp() override { writeFoamCase(dir); }
    e2e::TempDir dir;
};

TEST_F(StatsCommand, ForceCoefficientsWithIntervalsAndTheStartUpCut) {
    const std::string table =
        e2e::monexportOutput({"-dir", dir.path(), "-stats", "-varrule", "CATEGORY = FORCE"});
    EXPECT_EQ(table.substr(0, table.find('\n')), kHeader);
    auto byName = rows(table);
    ASSERT_EQ(byName.size(), 4u) << table;
    const auto& cd = byName.at("forceCoeffs Cd");
    ASSERT_EQ(cd.size(), 17u);
    EXPECT_GT(std::stoi(cd[2]), 150);  // the start-up is cut
    EXPECT_LT(std::stoi(cd[2]), 1500);
    EXPECT_EQ(cd[3], std::to_string(kSteps));
    EXPECT_EQ(std::stoi(cd[1]), kSteps - std::stoi(cd[2]) + 1);
    EXPECT_NEAR(std::stod(cd[4]), 1.2, 1.96 * std::stod(cd[8]));
    EXPECT_GT(std::stod(cd[9]), 10);  // NEFF
    EXPECT_EQ(cd[11], "");            // no ORDERS for a force
    EXPECT_EQ(cd[16], "");
    const auto& pitch = byName.at("forceCoeffs CmPitch");
    EXPECT_NE(pitch[16].find("drifting"), std::string::npos);
    EXPECT_NEAR(std::stod(pitch[10]), 1e-5 * (kSteps - std::stoi(pitch[2])), 2e-4);

    // -window N: the last N steps; residuals have ORDERS.
    const auto fixedWindow =
        rows(e2e::monexportOutput({"-dir", dir.path(), "-stats", "-window", "500", "-varlist",
                                   "forceCoeffs Cd;residuals p"}));
    EXPECT_EQ(fixedWindow.at("forceCoeffs Cd")[1], "500");
    EXPECT_EQ(fixedWindow.at("forceCoeffs Cd")[2], std::to_string(kSteps - 499));
    EXPECT_NEAR(std::stod(fixedWindow.at("residuals p")[11]), 4, 1e-5);
}

// A -stats table as reference matches itself where the window is trusted;
// a value off by a few STDERR passes only with the STDERR term.
TEST_F(StatsCommand, ReferenceWithAndWithoutTheSamplingError) {
    const std::string reference = dir.file("reference.csv");
    e2e::monexportOutput(
        {"-dir", dir.path(), "-stats", "-varrule", "CATEGORY = FORCE", "-out", reference});
    const e2e::Result same = monexport({"-dir", dir.path(), "-stats", "-reference", reference});
    EXPECT_EQ(same.status, 1) << same.out << same.err;  // CmPitch: its window is doubted
    EXPECT_NE(same.out.find("\"REFERENCE\",\"DIFFERENCE\",\"VERDICT\",\"REASON\"\n"),
              std::string::npos);
    const auto judged = rows(same.out);
    EXPECT_EQ(judged.at("forceCoeffs Cd").back(), "");
    EXPECT_EQ(judged.at("forceCoeffs CmPitch").back(), "window not settled, too short, drifting");

    const auto cd = rows(e2e::readFile(reference)).at("forceCoeffs Cd");
    const double shifted = std::stod(cd[4]) + 2 * std::stod(cd[8]);
    const std::string values =
        dir.write("values.csv", "VARIABLE,VALUE\nforceCoeffs Cd," + fixed(shifted) + "\n");
    for (const auto& [tolerance, status] :
         std::vector<std::pair<std::string, int>>{{"k=3", 0}, {"k=0", 1}, {"k=0 atol=1", 0}}) {
        const e2e::Result r = monexport(
            {"-dir", dir.path(), "-stats", "-reference", values, "-tolerance", tolerance});
        EXPECT_EQ(r.status, status) << tolerance << "\n" << r.out << r.err;
    }
    EXPECT_EQ(monexport({"-dir", dir.path(), "-stats", "-reference", dir.file("none.csv")}).status,
              255);
}

// Residuals drop from their largest value to their last. SU2's are log10
// values, known as such from their names whatever their sign: in the long
// history rms[Rho] falls 5 orders in 400 iterations, then stays; rms[RhoE]
// falls from 4.75 to 3.5 all along (its mean stays well above its last value);
// max[Rho] stays 0. In the short one an overflow (inf) is no level to fall
// from, a NaN is passed over, and a last NaN gives no ORDERS. OpenFOAM's are
// linear: p peaks at 1000 after the start and ends at 10 (its mean is 255).
TEST(StatsOrders, ResidualsDropFromTheirLargestToTheirLastValue) {
    e2e::TempDir dir;
    std::ostringstream text;
    text << "\"Time_Iter\",\"Outer_Iter\",\"Inner_Iter\",\"rms[Rho]\",\"rms[RhoE]\",\"max[Rho]\"\n";
    for (int iter = 0; iter < 2000; ++iter)
        text << "0,0," << iter << ',' << fixed(-5.0 * std::min(iter, 400) / 400.0) << ','
             << fixed(4.75 - 1.25 * iter / 1999.0) << ",0\n";
    const std::string odd =
        "\"Inner_Iter\",\"rms[Rho]\",\"rms[RhoU]\",\"rms[RhoE]\"\n"
        "0,inf,2,1\n1,2,nan,1\n2,-3,-1,nan\n";
    auto table = [&](const std::string& name, const std::string& history) {
        return rows(
            e2e::monexportOutput({"-mon", dir.write(name, history), "-stats", "-cauchy", "50"}));
    };
    const auto run = table("history.csv", text.str()), oddRun = table("odd.csv", odd),
               foam =
                   table("residuals.dat", "# Residuals\n# Time\tp\n1\t10\n2\t1000\n3\t1\n4\t10\n");
    EXPECT_EQ(run.at("rms[Rho]")[12], "0.00000000e+00");  // CAUCHY, flat: no change
    for (const auto& [byName, name, orders] : {std::tuple{&run, "rms[Rho]", "5.00000000e+00"},
                                               {&run, "rms[RhoE]", "1.25000000e+00"},
                                               {&run, "max[Rho]", "0.00000000e+00"},
                                               {&oddRun, "rms[Rho]", "5.00000000e+00"},
                                               {&oddRun, "rms[RhoU]", "3.00000000e+00"},
                                               {&oddRun, "rms[RhoE]", ""},
                                               {&foam, "residuals p", "2.00000000e+00"}})
        EXPECT_EQ(byName->at(name)[11], orders) << name;
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
    e2e::writeFile(s.temp.file("runs.txt"), s.root() + "/alpha=4/su2\n\n # a comment\n" + s.root() +
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
            for (const char* statistic : {"MEAN", "STDERR", "STD", "MIN", "MAX", "NOTE", "NEFF",
                                          "COUNT", "VERDICT", "REASON"}) {
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
    // Damaged run matrices, read before any run.
    const std::string empty = s.temp.write("empty.csv", "\n"),
                      narrow = s.temp.write("narrow.csv", "run\n"),
                      ragged = s.temp.write("ragged.csv", "run,U\n\nalpha=1,2,3\n");
    const std::pair<std::string, std::string> matrices[] = {
        {empty, "The run matrix '" + empty + "' is empty."},
        {narrow, "Run matrix '" + narrow +
                     "', line 1: a run column and at least one parameter column are needed."},
        {ragged, "Run matrix '" + ragged + "', line 3: 3 fields where the header has 2."}};
    for (const auto& [matrix, message] : matrices)
        EXPECT_TRUE(e2e::failsWith(
            e2e::monexport({"-study", s.root() + "/*/run.mon", "-matrix", matrix}), message));
    for (const Case& c : cases) {
        const e2e::Result r = e2e::monexport(c.args);
        EXPECT_EQ(r.status, 255);
        EXPECT_NE(r.err.find(e2e::errorReport(c.message)), std::string::npos) << r.err;
    }
}

// Every way a verdict could pass by mistake fails (status 1, or 255 for a
// fault of the command line) with the words a user needs, and its correct
// counterpart passes; on one run and on studies.
TEST_F(StatsCommand, VerdictsSetTheExitStatus) {
    struct Case {
        std::vector<std::string> args;  // "-stats" follows
        int status;
        std::string expect;  // in the output (status 0 or 1) or standard error (255)
    };
    const std::string good = "CATEGORY = FORCE and NAME != *CmPitch : stderr 1% and stable 500 2%";
    const std::string drag = "NAME = 'Drag Force' : below 1e9";
    const std::string run = study().root() + "/alpha=", d = dir.path();
    const std::string matrix = dir.write("matrix.csv", "case,mach\nalpha=1,0.5\nalpha=9,0.9\n"),
                      noRun = dir.write("norun.csv", "case,mach\nalpha=9,0.9\n");
    for (const Case& c : {
             Case{{"-dir", d, "-converged", good}, 0, "\"VERDICT\",\"REASON\"\n"},
             Case{{"-dir", d, "-converged",
                   good + "; CATEGORY = RESIDUAL : drop 3.9 and below 1e-4"},
                  0,
                  ",yes,\n"},
             Case{{"-dir", d, "-converged", "CATEGORY = RESIDUAL : drop 4.5"},
                  1,
                  ",no,\"dropped 4 orders (fewer than 4.5)\"\n"},
             // Criteria judge what they match, beyond the selection.
             Case{{"-dir", d, "-varlist", "forceCoeffs Cd", "-converged",
                   "CATEGORY = RESIDUAL : drop 4.5"},
                  1,
                  ",yes,\n\"residuals p\","},
             Case{{"-dir", d, "-varlist", "forceCoeffs Cd", "-converged",
                   "CATEGORY = RESIDUAL : drop 3.9"},
                  0,
                  ",yes,\n\"residuals p\","},
             Case{{"-dir", d, "-converged", good, "-varlist", "forceCoeffs Cd;Cx"},
                  1,
                  "\"Cx\",0" + std::string(16, ',') + "no,\"missing\"\n"},
             // A window the tool doubts cannot pass a test of its mean.
             Case{{"-dir", d, "-converged", "NAME = *CmPitch : stderr 100%"},
                  1,
                  ",no,\"window not settled, too short, drifting\"\n"},
             Case{{"-dir", d, "-converged", "NAME = *CmPitch : stable 10 100%"}, 0, ",yes,\n"},
             Case{{"-dir", d, "-converged", "NAME = *Cd : stderr 1e-4%"},
                  1,
                  "\"STDERR 0.0281292% of |MEAN| above 0.0001%\"\n"},
             Case{{"-dir", d, "-converged", "NAME = Cd : below"},
                  255,
                  "Invalid convergence criteria \"NAME = Cd : below\": expected a number after "
                  "'below' at column 18."},
             Case{{"-dir", d, "-converged", " NAME = Cx  : below 1"},
                  255,
                  "The convergence criterion rule \"NAME = Cx\" matches no variable."},
             Case{{"-dir", d, "-window", "0"}, 255, "Invalid value '0' for option -window"},
             Case{{"-dir", d, "-tolerance", "atol=x"}, 255, "Invalid tolerance"},
             // A study's gate does not pass on runs it could not read.
             Case{{"-study", run + "1/run.mon", "-converged", drag}, 0, ",yes,,30,\n"},
             Case{{"-study", run + "[15]/run.mon", "-converged", drag}, 1, "alpha=5/run.mon,5,"},
             Case{{"-study", run + "1/run.mon", "-matrix", matrix}, 0, "alpha=9,0.9,"},
             Case{{"-study", run + "1/run.mon", "-matrix", matrix, "-converged", drag},
                  1,
                  ",,no run matches\n"},
             Case{{"-study", run + "1/run.mon", "-matrix", noRun},
                  255,
                  "The run matrix '" + noRun + "' names none of the study's runs"},
             Case{{"-study", run + "4/*", "-converged", "NAME = CL : below 1"}, 0, ",yes,,1,\n"},
             Case{{"-study", run + "[14]/*", "-converged", "NAME = CL : below 1"},
                  1,
                  "No variable matches the convergence criterion rule \"\"NAME = CL\"\".\""},
             Case{{"-study", run + "[14]/*", "-converged", "NAMEX = CL : below 1"},
                  255,
                  "The convergence criterion rule \"NAMEX = CL\" matches no variable of any run "
                  "of the study."},
         }) {
        std::vector<std::string> args = c.args;
        args.push_back("-stats");
        const e2e::Result r = monexport(args);
        EXPECT_EQ(r.status, c.status) << c.args[2] << " " << c.args.back() << "\n"
                                      << r.out << r.err;
        EXPECT_NE((c.status == 255 ? r.err : r.out).find(c.expect), std::string::npos)
            << c.expect << "\n"
            << r.out << r.err;
        EXPECT_TRUE(c.status != 255 || r.out.empty()) << r.out;
    }
    // A verdict needs the statistics table.
    EXPECT_EQ(monexport({"-dir", d, "-converged", good}).status, 255);
}

// Parameters from paths: pieces between commas; numbers sort as numbers,
// empty values last; a name_value that not every run has is no parameter.
TEST(Study, PathParametersAndTheirNumericOrder) {
    e2e::TempDir dir;
    for (const char* run :
         {"aoa=10,mesh_fine", "aoa=2,mesh_fine,wing_v2", "aoa=2,mesh_coarse,flap=5"})
        dir.write(std::string("sweep/") + run + "/history.csv", "\"Inner_Iter\",\"CL\"\n0,0.5\n");
    const std::vector<Fields> table =
        csvLines(e2e::monexportOutput({"-study", dir.file("sweep/*")}));
    ASSERT_EQ(table.size(), 4u);
    EXPECT_EQ(Fields(table[0].begin(), table[0].begin() + 4),
              (Fields{"RUN", "aoa", "mesh", "flap"}));
    const std::vector<Fields> parameters = {
        {"2", "coarse", "5"}, {"2", "fine", ""}, {"10", "fine", ""}};
    for (size_t r = 0; r < parameters.size(); ++r)
        EXPECT_EQ(Fields(table[r + 1].begin() + 1, table[r + 1].begin() + 4), parameters[r]);
}

// Times are no results: rows only when named.
TEST(StatsRows, TimesAndTimeStepSizesOnlyWhenNamed) {
    const std::string run = study().singleRuns[0][1];
    const std::string all = e2e::monexportOutput({"-mon", run, "-stats"});
    EXPECT_EQ(rows(all).size(), 29u);  // the header, 28 results
    EXPECT_EQ(all.find("\n\"TIME"), std::string::npos) << all;
    const auto named =
        rows(e2e::monexportOutput({"-mon", run, "-stats", "-varlist", "TIME;TIME STEP SIZE"}));
    EXPECT_EQ(named.size(), 3u);
    EXPECT_EQ(named.at("TIME STEP SIZE")[1], "30");
}

}  // namespace
