// SU2 history files (-mon) and SU2 run folders (-dir): every flavour, the
// record keys of steady and unsteady runs, restarts, zones, the variable
// documents, and damaged files (default plots: openfoam_test.cpp).

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "tests/CommandRunner.h"

namespace {

using e2e::monexport;

std::string data(const std::string& name) {
    return e2e::testData("su2/" + name);
}

// Every flavour: CSV keyed by inner iteration (-32 and -inf, SU2's zero
// residual, are no value; inf and nan are kept), unsteady CSV looping over
// inner iterations, the Tecplot flavours, files without iterations, a header
// alone, restarts joined in run order (the later file wins) and zones as
// separate variables merged on their keys.
TEST(Su2History, EveryFlavourGivesItsRecords) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"-mon", data("steady.csv")},
         "\"ACCUMULATED TIMESTEP\",\"rms[Rho]\",\"rms[RhoU]\",\"max[Rho]\",\"CD\",\"CL\","
         "\"Time(sec)\",\"LinSol_Iter\"\n"
         "0,-1.50000000e+00,-2.25000000e+00,-5.00000000e-01,1.25000000e-01,5.00000000e-01,"
         "3.75000000e-01,4.00000000e+00\n"
         "1,-2.75000000e+00,,inf,6.25000000e-02,7.50000000e-01,2.50000000e-01,5.00000000e+00\n"
         "2,,nan,-1.00000000e+00,3.12500000e-02,8.75000000e-01,2.50000000e-01,6.00000000e+00\n"},
        {{"-mon", data("unsteady.csv")},
         "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"Cur_Time\",\"rms[Rho]\",\"CL\"\n"
         "0,1,2.50000000e-01,-1.00000000e+00,5.00000000e-01\n"
         "0,2,2.50000000e-01,-2.00000000e+00,6.25000000e-01\n"
         "1,1,5.00000000e-01,-1.50000000e+00,7.50000000e-01\n"
         "1,2,5.00000000e-01,-2.50000000e+00,8.75000000e-01\n"
         "1,3,5.00000000e-01,-3.50000000e+00,1.00000000e+00\n"
         "2,1,7.50000000e-01,-1.25000000e+00,1.12500000e+00\n"},
        {{"-mon", data("unsteady.csv"), "-nocoeffloops", "-varlist", "CL", "-firsttimestep", "1"},
         "\"ACCUMULATED TIMESTEP\",\"CL\"\n1,1.00000000e+00\n2,1.12500000e+00\n"},
        {{"-mon", data("legacy.dat")},
         "\"ACCUMULATED TIMESTEP\",\"CLift\",\"CDrag\",\"Res_Flow[0]\",\"Res_Flow[1]\","
         "\"Linear_Solver_Iterations\",\"Time(min)\"\n"
         "0,2.50000000e-01,6.25000000e-02,-1.50000000e+00,-2.50000000e+00,3.00000000e+00,"
         "5.00000000e-01\n"
         "1,3.75000000e-01,4.68750000e-02,-2.25000000e+00,-3.00000000e+00,4.00000000e+00,"
         "1.00000000e+00\n"
         "2,4.37500000e-01,3.90625000e-02,-3.00000000e+00,-3.75000000e+00,4.00000000e+00,"
         "1.50000000e+00\n"},
        {{"-mon", data("tecplot.dat")},
         "\"ACCUMULATED TIMESTEP\",\"rms[Rho]\",\"rms[RhoE]\",\"CSF\"\n"
         "10,-4.50000000e+00,-5.50000000e+00,1.00000000e-04\n"
         "20,-5.00000000e+00,-6.00000000e+00,2.00000000e-04\n"},
        {{"-mon", data("noiter.csv")},
         "\"ACCUMULATED TIMESTEP\",\"rms[P]\",\"rms[T]\",\"Avg_Massflow(inlet_fuel)\","
         "\"CD(wing)\"\n"
         "1,-1.00000000e+00,-2.00000000e+00,5.00000000e-01,2.50000000e-01\n"
         "2,-1.50000000e+00,-2.50000000e+00,5.00000000e-01,1.25000000e-01\n"},
        {{"-mon", data("header-only.csv")},
         "\"ACCUMULATED TIMESTEP\",\"rms[Rho]\",\"rms[RhoU]\",\"CL\"\n"},
        {{"-dir", data("restart")},
         "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"rms[Rho]\",\"CL\",\"Cur_Time\"\n"
         "0,1,-1.00000000e+00,5.00000000e-01,\n"
         "0,2,-2.00000000e+00,2.50000000e-01,\n"
         "1,1,-1.50000000e+00,3.75000000e-01,\n"
         "1,2,-2.50000000e+00,2.50000000e-01,\n"
         "2,1,-1.25000000e+00,5.00000000e-01,1.50000000e+00\n"
         "2,2,-2.25000000e+00,7.50000000e-01,1.50000000e+00\n"
         "3,1,-1.12500000e+00,6.25000000e-01,2.00000000e+00\n"
         "4,1,-1.50000000e+00,8.75000000e-01,2.50000000e+00\n"},
        {{"-dir", data("multizone")},
         "\"ACCUMULATED TIMESTEP\",\"bgs[Rho][0]\",\"bgs[T][1]\",\"rms[Rho] zone 0\","
         "\"CL zone 0\",\"rms[T] zone 1\"\n"
         "0,-1.00000000e+00,-2.00000000e+00,-3.00000000e+00,2.50000000e-01,-5.00000000e+00\n"
         "1,-1.50000000e+00,-2.50000000e+00,-3.50000000e+00,5.00000000e-01,\n"
         "2,-2.00000000e+00,-3.00000000e+00,-4.00000000e+00,6.25000000e-01,-6.00000000e+00\n"},
        {{"-dir", data("multizone"), "-varrule", "ZONE = 1", "-lastvaluesonly"},
         "\"rms[T] zone 1\"\n-6.00000000e+00\n"},
    };
    for (const auto& [args, table] : cases)
        EXPECT_EQ(e2e::monexportOutput(args), table) << args[1] << " " << args.size();
}

// The categories the names give, as rules select them and -varinfo files them.
TEST(Su2History, RulesSelectByTheCategoriesTheNamesGive) {
    const std::string file = data("steady.csv");
    auto header = [&](const std::string& rule) {
        std::string table =
            e2e::monexportOutput({"-mon", file, "-varrule", rule, "-lastvaluesonly"});
        return table.substr(0, table.find('\n'));
    };
    EXPECT_EQ(header("CATEGORY = RESIDUAL and SUBCATEGORY = RMS"), "\"rms[Rho]\",\"rms[RhoU]\"");
    EXPECT_EQ(header("SUBCATEGORY = MAX"), "\"max[Rho]\"");
    EXPECT_EQ(header("CATEGORY = FORCE and SUBCATEGORY = COEFFICIENT"), "\"CD\",\"CL\"");
    EXPECT_EQ(header("CATEGORY = TIME"), "\"Time(sec)\"");
    EXPECT_EQ(header("GROUP = \"Other Monitors\""), "\"LinSol_Iter\"");
    // Every residual column, legacy ones included, is marked as log10 values.
    EXPECT_EQ(header("SCALE = log10"), "\"rms[Rho]\",\"rms[RhoU]\",\"max[Rho]\"");
    const std::string legacy = e2e::monexportOutput(
        {"-mon", data("legacy.dat"), "-varrule", "SCALE = log10", "-lastvaluesonly"});
    EXPECT_EQ(legacy.substr(0, legacy.find('\n')), "\"Res_Flow[0]\",\"Res_Flow[1]\"");
    const std::string varinfo = e2e::monexportOutput({"-varinfo", "-mon", data("unsteady.csv")});
    EXPECT_NE(varinfo.find("TreePath=\"TIME;Cur_Time\" />"), std::string::npos) << varinfo;
    EXPECT_NE(varinfo.find("TreePath=\"RESIDUAL;RMS;rms[Rho]\" Scale=\"log10\" />"),
              std::string::npos);
}

// Which files of a folder make the history: restarts by number, any
// extension, and of one history written twice the file with the most rows.
TEST(Su2RunFolder, FilesAreChosenByContentAndTheOneWithRecordsWins) {
    const std::string csv = "\"Time_Iter\",\"Inner_Iter\",\"rms[Rho]\"\n";
    const std::string legacy =
        "TITLE = \"SU2\"\nVARIABLES = \"Iteration\",\"Res_Flow[0]\"\n"
        "ZONE T= \"Convergence history\"\n";
    const std::string tecplotHeader = "VARIABLES = \\\n\"Inner_Iter\",\"Res_Flow[0]\"\n";
    const std::string keys = "\"ACCUMULATED TIMESTEP\",";
    const struct {
        std::vector<std::pair<std::string, std::string>> files;
        std::string table;
    } cases[] = {
        {{{"history_99999.csv", csv + "99999,0,-1\n"},
          {"history_100000.csv", csv + "100000,0,-2\n"},
          {"notes.csv", "\"a\",\"b\"\n1,2\n"}},
         keys + "\"COEFFICIENT LOOP\",\"rms[Rho]\"\n99999,1,-1.00000000e+00\n"
                "100000,1,-2.00000000e+00\n"},
        {{{"history", legacy + "0, -1\n1, -2\n"}, {"history.dat", tecplotHeader}},
         keys + "\"Res_Flow[0]\"\n0,-1.00000000e+00\n1,-2.00000000e+00\n"},
        {{{"history.csv", csv + "0,0,-1\n"}, {"history.dat", tecplotHeader + "0,-3\n1,-4\n"}},
         keys + "\"Res_Flow[0]\"\n0,-3.00000000e+00\n1,-4.00000000e+00\n"},
        {{{"history_0.vtk", csv + "0,0,-1\n"}, {".history.csv", csv + "0,0,-9\n"}},
         keys + "\"rms[Rho] zone 0\"\n0,-1.00000000e+00\n"},
    };
    for (const auto& c : cases) {
        e2e::TempDir dir;
        for (const auto& [name, text] : c.files) e2e::writeFile(dir.file(name), text);
        EXPECT_EQ(e2e::monexportOutput({"-dir", dir.path()}), c.table) << c.files[0].first;
    }
}

// The results file keeps the doubles of the history: values of ten digits
// are written with eight after the point, as from the history itself.
TEST(Su2RunFolder, PacksIntoAResultsFileThatExportsTheSameAndIsNeverOverwritten) {
    e2e::TempDir dir;
    const std::string digits =
        dir.write("digits/history.csv",
                  "\"Inner_Iter\",  \"rms[Rho]\",  \"CL\"\n"
                  "0, -1.564270340, 0.2293788208\n1, -1.715928495, 0.1923345061\n");
    for (const std::string& run : {data("restart"), dir.file("digits")}) {
        const std::string packed = dir.file("run.res");
        e2e::Result pack = e2e::run(e2e::binary("monpack"), {"-dir", run, "-out", packed});
        ASSERT_EQ(pack.status, 0) << pack.err;
        for (const char* mode : {"-showvars", "-varinfo", "-nocoeffloops"})
            EXPECT_EQ(e2e::monexportOutput({"-res", packed, mode}),
                      e2e::monexportOutput({"-dir", run, mode}))
                << run << " " << mode;
    }
    EXPECT_EQ(e2e::monexportOutput({"-dir", dir.file("digits"), "-noheader", "-varlist", "CL"}),
              "0,2.29378821e-01\n1,1.92334506e-01\n");
    // On a copy, so that a fault cannot damage the test data.
    const std::string history = "\"Inner_Iter\",\"rms[Rho]\"\n0,-1\n";
    const std::string source = dir.write("run/history_00002.csv", history);
    EXPECT_TRUE(e2e::failsWith(monexport({"-dir", dir.file("run"), "-out", source}),
                               "Refusing to write the output to '" + source +
                                   "': it is the data source '" + source + "'."));
    EXPECT_EQ(e2e::readFile(source), history);
}

// Histories are solver text, read leniently, one row per fault: a garbled
// row (binary noise, a row cut short) is skipped and one warning names the
// first rows skipped; a counter that repeats (the coupling passes of an FSI
// run, runs appended to one file, their header again) keeps the last row of
// each iteration, and a warning says how many rows were kept.
TEST(Su2History, DamagedRowsAndRepeatedIterationsAreReadWithAWarning) {
    const struct {
        const char* file;
        const char* out;
        std::vector<std::string> warnings;
    } cases[] = {
        {"garbled.csv",
         "\"ACCUMULATED TIMESTEP\",\"rms[Rho]\",\"rms[RhoU]\",\"CD\",\"CL\"\n"
         "0,-1.25000000e+00,-2.50000000e+00,5.00000000e-02,3.12500000e-01\n"
         "1,-1.50000000e+00,-2.75000000e+00,4.50000000e-02,3.40000000e-01\n"
         "4,-1.87500000e+00,-3.12500000e+00,4.25000000e-02,3.60000000e-01\n",
         {":4: skipped: value '-1.7\\x01\\x02e' of column 'rms[Rho]' is not a number; {}:5: "
          "skipped: row has 6 values but the header names 7 columns (2 lines skipped)"}},
        {"passes.csv",
         "\"ACCUMULATED TIMESTEP\",\"rms[P]\",\"rms[U]\",\"FLUID_CD\"\n"
         "0,-2.50000000e+00,-3.25000000e+00,6.10000000e-02\n"
         "1,-3.50000000e+00,-4.25000000e+00,5.10000000e-02\n"
         "2,-4.50000000e+00,-5.25000000e+00,4.10000000e-02\n"
         "3,-5.50000000e+00,-6.25000000e+00,3.10000000e-02\n",
         {": kept 4 of 7 rows: later rows with the same iteration replace earlier ones"}},
        {"appended.csv",
         "\"ACCUMULATED TIMESTEP\",\"rms[Rho]\",\"CL\"\n0,-1.00000000e+00,2.50000000e-01\n"
         "1,-2.50000000e+00,6.25000000e-01\n2,-3.50000000e+00,8.75000000e-01\n",
         {":5: skipped: iteration '\"Inner_Iter\"' of column 'Inner_Iter' is not a whole number "
          "from 0 to 2147483647 (1 line skipped)",
          ": kept 3 of 5 rows: later rows with the same iteration replace earlier ones"}},
    };
    for (const auto& c : cases) {
        const std::string path = data(c.file);
        const e2e::Result r = monexport({"-mon", path});
        EXPECT_EQ(r.status, 0) << c.file;
        EXPECT_EQ(r.out, c.out) << c.file;
        std::string err;
        for (std::string warning : c.warnings) {
            const size_t at = warning.find("{}");
            if (at != std::string::npos) warning.replace(at, 2, path);
            err += "Warning: " + path + warning + "\n";
        }
        EXPECT_EQ(r.err, err) << c.file;
    }
    // In a run folder too: a zone's garbled row is skipped.
    e2e::TempDir run;
    const std::string header = "\"Inner_Iter\",    \"rms[Rho]\"    ,  \"CL\"  \n";
    run.write("history.csv", header + "0, -1, 0.5\n");
    const std::string restart = run.write("history_1.csv", header + "0, -1, x\n");
    const e2e::Result r = monexport({"-dir", run.path()});
    EXPECT_EQ(r.out,
              "\"ACCUMULATED TIMESTEP\",\"rms[Rho]\",\"CL\",\"rms[Rho] zone 1\",\"CL zone 1\"\n"
              "0,-1.00000000e+00,5.00000000e-01,,\n");
    EXPECT_EQ(r.err,
              "Warning: " + restart +
                  ":2: skipped: value 'x' of column 'CL' is not a number (1 line skipped)\n");
}

// Histories of more than one run in a folder are an error.
TEST(Su2RunFolder, HistoriesOfTwoRunsAreRefused) {
    e2e::TempDir run;
    const std::string header = "\"Inner_Iter\",    \"rms[Rho]\"    ,  \"CL\"  \n";
    run.write("history.csv", header + "0, -1, 0.5\n");
    run.write("history_rans.csv", header);
    EXPECT_TRUE(e2e::failsWith(monexport({"-dir", run.path()}),
                               "SU2 run folder '" + run.path() +
                                   "' holds the histories of more than one run ('history' and "
                                   "'history_rans'): give one history file with -mon."));
}

// Real solver files, where the shared collection is at hand: every one reads,
// with the rows its history holds.
TEST(Su2RealFiles, EveryFileAndFolderReads) {
    const std::string shared = e2e::sourcePath("../shared/realdata/");
    if (!e2e::fileExists(shared + "SOURCES.md")) GTEST_SKIP() << "no " << shared;
    const std::tuple<const char*, const char*, size_t> cases[] = {
        {"-dir", "su2/auzbaig_su2_adjoint", 901},  // the legacy history, not the empty .dat
        {"-dir", "su2/psrvairam_stator_rotor_v5", 47},
        {"-dir", "su2/testcases_flamelet_02_laminar_premixed_ch4_flame_hx_ad", 11},
        {"-dir", "su2/geronimo750_python_scripts", 14000},
        {"-res", "cgns/cgnslib_vers-4400.cgns", 20},
        {"-res", "cgns/adflow_reg_tests_conv_nozzle_000_vol.cgns", 1},
    };
    for (const auto& [option, path, rows] : cases) {
        const std::string table = e2e::monexportOutput({option, shared + path});
        EXPECT_EQ(static_cast<size_t>(std::count(table.begin(), table.end(), '\n')), rows + 1)
            << path;
    }
}

}  // namespace
