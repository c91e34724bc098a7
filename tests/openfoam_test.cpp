// OpenFOAM function-object data: whole cases of both distributions (-dir),
// single data files (-mon), restarts, merged times; the default plots of the
// solvers' files too.

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <tuple>

#include "tests/CommandRunner.h"

namespace {

using e2e::monexport;

std::string foamCase(const std::string& name) {
    return e2e::testData("openfoam/" + name);
}

// One line per plot: "Name (log): Y Y ...", X left out when it is the step.
std::string plotSummary(const std::string& xml) {
    std::istringstream lines(xml);
    std::string line, summary;
    auto quoted = [&](const std::string& key) {
        const size_t at = line.find(key + "=\"") + key.size() + 2;
        return line.substr(at, line.find('"', at) - at);
    };
    while (std::getline(lines, line)) {
        if (line.find("<Plot ") != std::string::npos)
            summary += (summary.empty() ? "" : "\n") + quoted("Name");
        if (line.find("<YAxis ") != std::string::npos && quoted("LogarithmicScale") == "true")
            summary += " (log)";
        if (line.find("<XVar ") != std::string::npos && quoted("Name") != "ACCUMULATED TIMESTEP")
            summary += " over " + quoted("Name");
        if (line.find("<YVar ") != std::string::npos) summary += " | " + quoted("Name");
    }
    return summary;
}

TEST(OpenFoam, ComCaseJoinsRestartsAlignsSolverInfoAndMergesFunctionObjectsOnTime) {
    // forceCoeffs1: 0/ up to 0.3, then 0.2/coefficient.dat from 0.3, replaced
    // by 0.2/coefficient_0.2.dat from 0.3 (its half-written 0.6 left out);
    // 0.5/ holds a header only. solverInfo: 0.2 solves p only; at 0.5 and
    // 0.6 a three-value group could be p or k, so it is left out.
    EXPECT_EQ(
        e2e::monexportOutput({"-dir", foamCase("com"), "-varlist",
                              "TIME;forceCoeffs1 Cd;forces force total_x;forces moment total_z;"
                              "probes U 1_x;probes p 0;residuals Ux_initial;residuals p_initial;"
                              "residuals p_iters;residuals k_initial;fieldMinMax1 k max"}),
        "\"ACCUMULATED TIMESTEP\",\"TIME\",\"forceCoeffs1 Cd\",\"forces force total_x\","
        "\"forces moment total_z\",\"probes U 1_x\",\"probes p 0\",\"residuals Ux_initial\","
        "\"residuals p_initial\",\"residuals p_iters\",\"residuals k_initial\","
        "\"fieldMinMax1 k max\"\n"
        "1,1.00000000e-01,1.50000000e+00,3.00000000e+00,6.00000000e+00,2.00000000e+00,"
        "1.00000000e+02,5.00000000e-01,9.00000000e-01,1.00000000e+01,,2.00000000e+00\n"
        "2,2.00000000e-01,1.40000000e+00,3.50000000e+00,7.00000000e+00,2.50000000e+00,"
        "1.02000000e+02,,8.00000000e-01,9.00000000e+00,,2.50000000e+00\n"
        "3,3.00000000e-01,1.25000000e+00,,,,,3.00000000e-01,7.00000000e-01,8.00000000e+00,,\n"
        "4,4.00000000e-01,1.20000000e+00,,,,,2.50000000e-01,6.00000000e-01,7.00000000e+00,"
        "5.00000000e-02,\n"
        "5,5.00000000e-01,1.10000000e+00,,,,,,,,,\n"
        "6,6.00000000e-01,,,,,,2.00000000e-01,,,,\n");
    // The surfaces function object's VTK file is no data.
    const std::string names = e2e::monexportOutput({"-dir", foamCase("com"), "-showvars"});
    EXPECT_EQ(names.find("surfaces"), std::string::npos) << names;
}

TEST(OpenFoam, OrgCaseOrdersStartFoldersByTimeAndSplitsNestedForces) {
    // forceCoeffs: 0/ (10-40), 20/ (30-50) wins from 30, 100/ (110, 120)
    // comes after 20/ although "100" < "20" by name; 200/ is empty.
    // residuals: N/A is no value. probes: rows at 10 and 110 only.
    EXPECT_EQ(e2e::monexportOutput(
                  {"-dir", foamCase("org/postProcessing"), "-varlist",
                   "TIME;forceCoeffs Cd;forces forces pressure_x;forces moments pressure_z;"
                   "forces moments viscous_z;residuals p;residuals k;probes p 2"}),
              "\"ACCUMULATED TIMESTEP\",\"TIME\",\"forceCoeffs Cd\",\"forces forces pressure_x\","
              "\"forces moments pressure_z\",\"forces moments viscous_z\",\"residuals p\","
              "\"residuals k\",\"probes p 2\"\n"
              "10,1.00000000e+01,1.10000000e+00,1.00000000e+00,6.00000000e+00,6.00000000e-01,"
              "1.00000000e+00,,3.00000000e+00\n"
              "20,2.00000000e+01,1.20000000e+00,1.50000000e+00,6.50000000e+00,6.00000000e-01,"
              "1.00000000e-01,2.00000000e-01,\n"
              "30,3.00000000e+01,1.35000000e+00,,,,1.00000000e-02,2.00000000e-02,\n"
              "40,4.00000000e+01,1.45000000e+00,,,,,,\n"
              "50,5.00000000e+01,1.55000000e+00,,,,,,\n"
              "110,1.10000000e+02,2.10000000e+00,,,,,,6.00000000e+00\n"
              "120,1.20000000e+02,2.20000000e+00,,,,,,\n");
}

// openfoam.org 9 and 10: residuals.dat's first row is N/A with a field fewer
// than there are columns (no record), a probe outside the mesh is -vGreat
// (-1.79769e+307: no value). Values are as the files wrote them (283.157,
// not the float 2.83157013e+02).
TEST(OpenFoam, NewerOrgCaseReadsWithItsProbes) {
    EXPECT_EQ(e2e::monexportOutput({"-dir", foamCase("org10"), "-varlist",
                                    "probes T 0;probes T 1;residuals p_rgh;residuals epsilon"}),
              "\"ACCUMULATED TIMESTEP\",\"probes T 0\",\"probes T 1\",\"residuals p_rgh\","
              "\"residuals epsilon\"\n"
              "1,2.83157000e+02,,1.00000000e+00,2.23419000e-01\n"
              "2,2.83161000e+02,,4.05087000e-02,1.34543000e-01\n");
}

// What pandas.read_csv, with its default encoding (UTF-8), makes of the
// headers of CSV files: each file's column names joined by '|', a line per
// file; nothing where no Python with pandas is at hand.
std::string pandasColumns(const std::vector<std::string>& files) {
    std::vector<std::string> args{
        "-c",
        "import sys\n"
        "try:\n"
        "    import pandas\n"
        "except ImportError:\n"
        "    sys.exit(0)\n"
        "for csv in sys.argv[1:]:\n"
        "    columns = '|'.join(pandas.read_csv(csv).columns)\n"
        "    sys.stdout.buffer.write((columns + '\\n').encode('utf-8'))\n"};
    args.insert(args.end(), files.begin(), files.end());
    const e2e::Result r = e2e::run("/usr/bin/python3", args);
    EXPECT_EQ(r.err, "");
    return r.out;
}

// A case whose names are UTF-8 text (the case folder Fall_Überströmung, the
// function object Kräfte_Flügel, the probe field Δp) keeps them as it wrote
// them: in -showvars, the table's header and a study's table, which are
// UTF-8 throughout and read by pandas as they are; -varlist and -varrule
// find them so.
TEST(OpenFoam, Utf8NamesAreWrittenAndFoundAsTheCaseWroteThem) {
    e2e::TempDir dir;
    const std::string root = dir.file("Fall_Überströmung");
    dir.write("Fall_Überströmung/postProcessing/Kräfte_Flügel/0/forceCoeffs.dat",
              "# Force coefficients\n# Time      \tCd          \tCl          \n"
              "1           \t0.05        \t0.3         \n2           \t0.04        \t0.31\n");
    dir.write("Fall_Überströmung/postProcessing/probes/0/Δp",
              "# Probe 0 (0.1 0 0)\n#       Probe             0\n#        Time\n"
              "           1       283.157\n           2         283.2\n");
    EXPECT_EQ(e2e::monexportOutput({"-showvars", "-dir", root}),
              "ACCUMULATED TIMESTEP\nTIME\nKräfte_Flügel Cd\nKräfte_Flügel Cl\nprobes Δp 0\n");
    const std::string table =
        "\"ACCUMULATED TIMESTEP\",\"Kräfte_Flügel Cd\",\"probes Δp 0\"\n"
        "1,5.00000000e-02,2.83157000e+02\n2,4.00000000e-02,2.83200000e+02\n";
    EXPECT_EQ(e2e::monexportOutput({"-dir", root, "-varlist", "Kräfte_Flügel Cd;probes Δp 0"}),
              table);
    EXPECT_EQ(e2e::monexportOutput(
                  {"-dir", root, "-varrule", "NAME = \"Krä*Cd\" or NAME = \"probes Δ*\""}),
              table);
    // The statistics and the criteria's rules, the study's statistics and
    // monplot's selection spell and match the names the same way.
    const e2e::Result stats = e2e::monexport({"-dir", root, "-stats", "-varlist", "probes Δp 0",
                                              "-converged", "NAME = \"Krä*\": below 1"});
    EXPECT_EQ(stats.status, 0) << stats.err;
    EXPECT_EQ(stats.out.find("\n\"probes Δp 0\",2,"), stats.out.find('\n')) << stats.out;
    EXPECT_NE(stats.out.find("\n\"Kräfte_Flügel Cd\",2,"), std::string::npos) << stats.out;
    // Its MIN and MAX are the values the probe file wrote, not their floats.
    EXPECT_NE(stats.out.find(",2.83157000e+02,2.83200000e+02,"), std::string::npos) << stats.out;
    EXPECT_EQ(
        e2e::monexportOutput({"-study", dir.file("Fall_*"), "-stats", "-varlist", "probes Δp 0"})
            .rfind("\"RUN\",\"Fall\",\"probes Δp 0\",\"probes Δp 0 STDERR\"", 0),
        0u);
    const e2e::Result plot =
        e2e::monplot({"-dir", root, "-varlist", "probes Δp 0", "-out", dir.file("plots")});
    EXPECT_EQ(plot.status, 0) << plot.err;
    EXPECT_NE(e2e::readFile(dir.file("plots/Selected_Variables.svg")).find("Δp"),
              std::string::npos);
    const std::string file = dir.file("table.csv"), study = dir.file("study.csv");
    e2e::monexportOutput({"-dir", root, "-varlist", "Kräfte_Flügel Cd;probes Δp 0", "-out", file});
    EXPECT_EQ(e2e::readFile(file), table);
    e2e::monexportOutput(
        {"-study", dir.file("Fall_*"), "-varlist", "Kräfte_Flügel Cd", "-out", study});
    EXPECT_EQ(e2e::readFile(study), "\"RUN\",\"Fall\",\"Kräfte_Flügel Cd\",\"STEPS\",\"ERROR\"\n" +
                                        root + ",Überströmung,4.00000000e-02,2,\n");
    const std::string read = pandasColumns({file, study});
    if (!read.empty()) {
        EXPECT_EQ(read,
                  "ACCUMULATED TIMESTEP|Kräfte_Flügel Cd|probes Δp 0\n"
                  "RUN|Fall|Kräfte_Flügel Cd|STEPS|ERROR\n");
    }
}

// Function objects join on their times, float noise included; the rows one
// wrote at a time are that step's loops, where the others have no value.
TEST(OpenFoam, FunctionObjectsJoinOnTimesAndLoopOverRowsOfOneTime) {
    e2e::TempDir dir;
    dir.write("postProcessing/a/0/a.dat", "# Time a\n0.1 1\n0.1 2\n0.3 3\n");
    dir.write("postProcessing/b/0/b.dat", "# Time b\n0.1 10\n0.30000000000000004 30\n");
    EXPECT_EQ(
        e2e::monexportOutput({"-dir", dir.path()}),
        "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"TIME\",\"a a\",\"b b\"\n"
        "1,1,1.00000000e-01,1.00000000e+00,1.00000000e+01\n1,2,1.00000000e-01,2.00000000e+00,\n"
        "2,1,3.00000000e-01,3.00000000e+00,3.00000000e+01\n");
    EXPECT_EQ(
        e2e::monexportOutput(
            {"-mon", foamCase("loops/forceCoeffs.dat"), "-varlist", "forceCoeffs Cd"}),
        "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"forceCoeffs Cd\"\n1,1,1.00000000e+00\n"
        "1,2,2.00000000e+00\n1,3,3.00000000e+00\n2,1,4.00000000e+00\n");
}

// Times are held in double precision: a probe written every 1e-6 s from 20 s
// (five times that are one float, 2.00000019e+01) keeps them apart in the
// table, the last values and a results file packed by monpack.
TEST(OpenFoam, TimesStayApartInTableLastValuesAndPackedResults) {
    e2e::TempDir dir;
    dir.write("case/postProcessing/probes/0/p",
              "# Probe 0 (0 0 0)\n#     Probe   0\n#      Time\n"
              "20.000001 1\n20.000002 2\n20.000003 3\n20.000004 4\n20.000005 5\n");
    const std::string packed = dir.file("run.res");
    ASSERT_EQ(e2e::monpack({"-dir", dir.file("case"), "-out", packed}).status, 0);
    for (const auto& source : {std::vector<std::string>{"-dir", dir.file("case")},
                               std::vector<std::string>{"-res", packed}}) {
        auto args = [&](std::vector<std::string> more) {
            more.insert(more.end(), source.begin(), source.end());
            return more;
        };
        EXPECT_EQ(e2e::monexportOutput(args({})),
                  "\"ACCUMULATED TIMESTEP\",\"TIME\",\"probes p 0\"\n"
                  "1,2.00000010e+01,1.00000000e+00\n2,2.00000020e+01,2.00000000e+00\n"
                  "3,2.00000030e+01,3.00000000e+00\n4,2.00000040e+01,4.00000000e+00\n"
                  "5,2.00000050e+01,5.00000000e+00\n");
        EXPECT_EQ(e2e::monexportOutput(args({"-lastvaluesonly", "-varlist", "TIME"})),
                  "\"TIME\"\n2.00000050e+01\n");
        EXPECT_EQ(e2e::monexportOutput(args({"-varlist", "TIME", "-firsttimestep", "4"})),
                  "\"ACCUMULATED TIMESTEP\",\"TIME\"\n4,2.00000040e+01\n5,2.00000050e+01\n");
    }
}

// Both layouts of a region's function objects: fluid/residuals and
// solid/residuals (REGION/FUNCTION), probes/solid (FUNCTION/REGION, told by
// solid being a region elsewhere). A probe not found (-1e+300) has no value;
// a value beyond the float range is written as the solver wrote it.
TEST(OpenFoam, MultiRegionCaseNamesTheRegionAndFilesVariablesUnderIt) {
    EXPECT_EQ(e2e::monexportOutput({"-dir", foamCase("regions")}),
              "\"ACCUMULATED TIMESTEP\",\"TIME\",\"fluid residuals p_rgh\",\"fluid residuals Ux\","
              "\"fluid residuals h\",\"solid probes T 0\",\"solid probes T 1\","
              "\"solid residuals h\"\n"
              "1,0.00000000e+00,1.00000000e+00,1.00000000e+00,1.00000000e+00,,,\n"
              "2,5.00000000e-01,5.00000000e-01,2.50000000e-01,1.25000000e-01,,2.83500000e+02,"
              "9.00000000e-01\n"
              "3,1.00000000e+00,1.00000000e-01,5.00000000e-02,1.00000000e-02,,5.30000000e+56,"
              "8.00000000e-01\n");
    EXPECT_NE(e2e::monexportOutput({"-dir", foamCase("regions"), "-varinfo"})
                  .find("TreePath=\"solid;probes;solid probes T 0\""),
              std::string::npos);
    EXPECT_EQ(e2e::monexportOutput({"-dir", foamCase("regions"), "-noheader", "-varrule",
                                    "REGION = solid and FUNCTION-OBJECT = probes"}),
              "1,,\n2,,2.83500000e+02\n3,,5.30000000e+56\n");
}

// A case holding nothing but FUNCTION/REGION: its constant/REGION folder
// tells the region.
TEST(OpenFoam, RegionFoldersOfTheCaseTellTheLayout) {
    e2e::TempDir dir;
    dir.folder("constant/solid");
    dir.write("postProcessing/probes/solid/0/T", "# Time 0\n1 300\n");
    EXPECT_EQ(e2e::monexportOutput(
                  {"-dir", dir.path(), "-varrule", "REGION = solid and FUNCTION-OBJECT = probes"}),
              "\"ACCUMULATED TIMESTEP\",\"solid probes T 0\"\n1,3.00000000e+02\n");
}

// A steady case: the log's residuals and the function objects' values on
// the rows of the same times, each step its iteration whichever source gave
// it (yPlus written every second iteration, residuals.dat with its N/A row
// at time 0); log.potentialFoam writes no time and adds nothing.
TEST(OpenFoam, CaseJoinsItsSolverLogAndFunctionObjectsOnTime) {
    const std::string steady = foamCase("steady");
    EXPECT_EQ(e2e::monexportOutput({"-dir", steady, "-varlist",
                                    "TIME;p initial residual;residuals p;yPlus wall average"}),
              "\"ACCUMULATED TIMESTEP\",\"TIME\",\"p initial residual\",\"residuals p\","
              "\"yPlus wall average\"\n"
              "1,1.00000000e+00,1.00000000e+00,1.00000000e+00,\n"
              "2,2.00000000e+00,2.50000000e-01,2.50000000e-01,3.50000000e+00\n"
              "3,3.00000000e+00,1.25000000e-01,1.25000000e-01,\n"
              "4,4.00000000e+00,,,3.00000000e+00\n");
    EXPECT_EQ(
        e2e::monexportOutput({"-mon", steady + "/postProcessing/yPlus/0/yPlus.dat", "-varlist",
                              "yPlus wall average"}),
        "\"ACCUMULATED TIMESTEP\",\"yPlus wall average\"\n2,3.50000000e+00\n4,3.00000000e+00\n");
}

// Residual files of both layouts: a solver's initial residuals are its RMS
// residuals, final residuals and iteration counts are kinds of their own.
TEST(OpenFoam, RulesSelectByCategoryGroupAndFunctionObject) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"org", "CATEGORY = RESIDUAL and SUBCATEGORY = RMS and GROUP = \"Momentum and Mass\"",
         "\"residuals p\",\"residuals Ux\",\"residuals Uy\""},
        {"org", "CATEGORY = FORCE and SUBCATEGORY = MOMENT and NAME = *_z",
         "\"forces moments pressure_z\",\"forces moments viscous_z\""},
        {"org", "FUNCTION-OBJECT = probes and LOCATION = \"(0.2 0 0)\"", "\"probes p 1\""},
        {"com", "CATEGORY = RESIDUAL and SUBCATEGORY = RMS and NAME = *U*",
         "\"residuals Ux_initial\",\"residuals Uy_initial\""},
        {"com", "SUBCATEGORY = FINAL and NAME = *p*", "\"residuals p_final\""},
        {"com", "CATEGORY = SOLVER and SUBCATEGORY = ITERATIONS and NAME = *k*",
         "\"residuals k_iters\""},
    };
    for (const auto& [folder, rule, columns] : cases) {
        const std::string table = e2e::monexportOutput(
            {"-dir", foamCase(folder), "-varrule", rule, "-lasttimestep", "1"});
        EXPECT_EQ(table.substr(0, table.find('\n')),
                  std::string("\"ACCUMULATED TIMESTEP\",") + columns)
            << rule;
    }
}

// An OpenFOAM log's initial residuals on a logarithmic axis, grouped as the
// solver's fields are; one plot per function object. SU2's residuals and
// coefficients on linear axes, one plot per kind and zone.
TEST(SolverFiles, DefaultPlots) {
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"-mon", e2e::testData("foamlog/pimpleFoam.log"),
         "Momentum and Mass (log) | Ux initial residual | Uy initial residual | p initial "
         "residual\n"
         "Turbulence Quantities (log) | k initial residual\n"
         "Imbalances | continuity errors sum local | continuity errors global | "
         "continuity errors cumulative\n"
         "Time | TIME\nTime Step Size over TIME | deltaT\n"
         "Courant Number | Courant Number mean | Courant Number max\n"
         "Execution Time | ExecutionTime | ClockTime\n"
         "Linear Solver Iterations | Ux iterations | Uy iterations | p iterations | k iterations"},
        {"-dir", foamCase("org"),
         "Momentum and Mass (log) | residuals p | residuals Ux | residuals Uy\n"
         "Turbulence Quantities (log) | residuals k | residuals epsilon\n"
         "Time | TIME\n"
         "forceCoeffs | forceCoeffs Cm | forceCoeffs Cd | forceCoeffs Cl | forceCoeffs Cl(f) | "
         "forceCoeffs Cl(r)\n"
         "forces | forces forces pressure_x | forces forces pressure_y | "
         "forces forces pressure_z | forces forces viscous_x | forces forces viscous_y | "
         "forces forces viscous_z | forces moments pressure_x | forces moments pressure_y | "
         "forces moments pressure_z | forces moments viscous_x | forces moments viscous_y | "
         "forces moments viscous_z\n"
         "probes | probes p 0 | probes p 1 | probes p 2"},
        {"-mon", e2e::testData("su2/steady.csv"),
         "Aerodynamic Coefficients | CD | CL\nMAX Residuals | max[Rho]\n"
         "Other Monitors | LinSol_Iter\nRMS Residuals | rms[Rho] | rms[RhoU]\nWall Time | "
         "Time(sec)"},
        {"-dir", e2e::testData("su2/multizone"),
         "Aerodynamic Coefficients zone 0 | CL zone 0\nBGS Residuals | bgs[Rho][0] | bgs[T][1]\n"
         "RMS Residuals zone 0 | rms[Rho] zone 0\nRMS Residuals zone 1 | rms[T] zone 1"},
    };
    for (const auto& [option, path, plots] : cases) {
        EXPECT_EQ(plotSummary(e2e::monexportOutput({option, path, "-plotinfo"},
                                                   {{"ORB_DATA_DIR", e2e::sourcePath("data")}})),
                  plots)
            << path;
    }
}

TEST(OpenFoam, DamagedAndEmptyCases) {
    e2e::TempDir dir;
    const std::string fo = "postProcessing/fo/0/";
    dir.folder(fo);
    EXPECT_TRUE(e2e::failsWith(
        monexport({"-dir", dir.path()}),
        "OpenFOAM case '" + dir.path() +
            "' holds no function-object data (postProcessing/[REGION/]FUNCTION/STARTTIME/FILE) "
            "and no solver log (log.*)."));
    // A file the solver has just created, and one with a header only, give
    // the records of the others.
    dir.write(fo + "a.dat", "");
    dir.write(fo + "b.dat", "# Time b\n");
    dir.write(fo + "c.dat", "# Time c\n1 5\n2 6\n3 7");
    EXPECT_EQ(e2e::monexportOutput({"-dir", dir.path()}),
              "\"ACCUMULATED TIMESTEP\",\"TIME\",\"fo c c\"\n"
              "1,1.00000000e+00,5.00000000e+00\n2,2.00000000e+00,6.00000000e+00\n");
    const std::string path = dir.write(fo + "a.dat", "# Title\n# Time\ta\tb\n0.1\t1\t2\n0.2\t1\n");
    EXPECT_TRUE(e2e::failsWith(monexport({"-dir", dir.path()}),
                               path + ":4: row has 1 fields after the time, but the column "
                                      "line names 2 columns"));
}

}  // namespace
