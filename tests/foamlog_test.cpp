// OpenFOAM solver logs given with -mon: steps, outer iterations, logs still
// being written, failed runs, restarts appended to a log, multi-region
// solvers, lines skipped with a warning, patterns.

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

using e2e::monexport;

std::string log(const std::string& name) {
    return e2e::testData("foamlog/" + name);
}

std::string table(const std::string& name, std::vector<std::string> extra = {}) {
    std::vector<std::string> args{"-mon", log(name)};
    args.insert(args.end(), extra.begin(), extra.end());
    return e2e::monexportOutput(args);
}

struct Export {
    const char* log;
    std::vector<std::string> args;
    const char* out;
};

// simpleFoam: a steady run, one record per iteration, the step its time.
// pimpleFoam: each "PIMPLE: iteration" line starts a loop; the Courant number
// and deltaT printed before a step's Time line hold for all its loops; the
// initial residual is the loop's first solution, the final its last, the
// iterations their sum; k is solved in the last loop only. interFoam: without
// PIMPLE lines a step is one record, whatever fields it solves again (the
// first solution's initial residual, the last one's final, the iterations
// summed); so is a PISO log's step, which solves p twice. running: the last
// step, still running, is left out, as is the last line without a line end.
// diverging: an unfinished last step holding nan is kept. restarted: a run
// restarted into the same log replaces the steps from its first time.
const Export kExports[] = {
    {"simpleFoam.log",
     {},
     R"("ACCUMULATED TIMESTEP","TIME","Ux initial residual","Ux final residual","Ux iterations","Uy initial residual","Uy final residual","Uy iterations","p initial residual","p final residual","p iterations","continuity errors sum local","continuity errors global","continuity errors cumulative","epsilon initial residual","epsilon final residual","epsilon iterations","bounding epsilon min","bounding epsilon max","bounding epsilon average","k initial residual","k final residual","k iterations","ExecutionTime","ClockTime"
1,1.00000000e+00,1.00000000e+00,5.38101000e-02,1.00000000e+00,1.00000000e+00,3.09250000e-02,2.00000000e+00,1.00000000e+00,6.84270000e-02,1.70000000e+01,1.19733000e+00,1.79883000e-01,1.79883000e-01,1.99669000e-01,9.97337000e-03,3.00000000e+00,-1.45735000e+00,1.08025000e+03,4.88550000e+01,1.00000000e+00,4.39206000e-02,3.00000000e+00,2.70000000e-01,0.00000000e+00
2,2.00000000e+00,4.39415000e-01,2.34573000e-02,3.00000000e+00,5.05750000e-01,3.72261000e-02,2.00000000e+00,5.51854000e-02,4.76924000e-03,9.00000000e+00,3.20710000e+00,-2.29913000e-01,-5.00301000e-02,1.64743000e-01,6.17218000e-03,3.00000000e+00,,,,4.66009000e-01,1.97522000e-02,3.00000000e+00,4.20000000e-01,1.00000000e+00
3,3.00000000e+00,2.88138000e-01,1.41385000e-02,3.00000000e+00,3.11213000e-01,2.06137000e-02,2.00000000e+00,3.98812000e-02,3.57000000e-03,6.00000000e+00,2.52791000e+00,8.60231000e-02,3.59930000e-02,8.90422000e-02,3.37713000e-03,3.00000000e+00,,,,2.61006000e-01,1.08455000e-02,3.00000000e+00,5.50000000e-01,1.00000000e+00
)"},
    {"pimpleFoam.log",
     {},
     R"("ACCUMULATED TIMESTEP","COEFFICIENT LOOP","TIME","Courant Number mean","Courant Number max","Ux initial residual","Ux final residual","Ux iterations","Uy initial residual","Uy final residual","Uy iterations","p initial residual","p final residual","p iterations","continuity errors sum local","continuity errors global","continuity errors cumulative","k initial residual","k final residual","k iterations","ExecutionTime","ClockTime","deltaT"
1,1,2.00000000e-04,0.00000000e+00,0.00000000e+00,1.00000000e+00,2.10000000e-06,1.00000000e+00,0.00000000e+00,0.00000000e+00,0.00000000e+00,1.00000000e+00,8.00000000e-07,2.60000000e+01,1.00000000e-08,-3.00000000e-20,1.70000000e-19,,,,,,
1,2,2.00000000e-04,0.00000000e+00,0.00000000e+00,3.10000000e-02,4.00000000e-07,2.00000000e+00,2.50000000e-01,6.00000000e-07,2.00000000e+00,4.50000000e-02,5.00000000e-07,2.10000000e+01,5.00000000e-10,2.00000000e-21,1.82000000e-19,1.00000000e+00,3.00000000e-06,3.00000000e+00,8.10000000e-01,1.00000000e+00,
2,1,4.40000000e-04,1.25000000e-02,4.00000000e-01,8.20000000e-03,1.10000000e-07,2.00000000e+00,6.10000000e-02,5.00000000e-07,2.00000000e+00,3.30000000e-01,9.00000000e-07,2.30000000e+01,3.00000000e-09,1.00000000e-21,1.89000000e-19,,,,,,2.40000000e-04
2,2,4.40000000e-04,1.25000000e-02,4.00000000e-01,1.10000000e-03,2.00000000e-08,2.00000000e+00,9.30000000e-03,1.00000000e-07,2.00000000e+00,7.60000000e-03,6.00000000e-08,2.00000000e+01,2.00000000e-11,1.00000000e-22,1.89400000e-19,1.40000000e-01,4.00000000e-07,3.00000000e+00,1.36000000e+00,2.00000000e+00,2.40000000e-04
)"},
    {"interFoam.log",
     {},
     R"("ACCUMULATED TIMESTEP","TIME","deltaT","Courant Number mean","Courant Number max","Interface Courant Number mean","Interface Courant Number max","alpha.water initial residual","alpha.water final residual","alpha.water iterations","p_rgh initial residual","p_rgh final residual","p_rgh iterations","continuity errors sum local","continuity errors global","continuity errors cumulative","ExecutionTime","ClockTime"
1,1.00000000e-03,1.00000000e-03,1.00000000e-03,5.00000000e-02,0.00000000e+00,0.00000000e+00,1.00000000e-02,1.00000000e-10,7.00000000e+00,1.00000000e+00,7.00000000e-09,5.80000000e+01,1.00000000e-11,1.00000000e-13,1.24100000e-10,1.20000000e-01,0.00000000e+00
)"},
    {"pisoFoam-tail.log",
     {"-varlist", "p initial residual;p iterations"},
     "\"ACCUMULATED TIMESTEP\",\"p initial residual\",\"p iterations\"\n"
     "1,3.10000000e-02,1.80000000e+01\n2,2.90000000e-02,1.90000000e+01\n"},
    {"foamRun.log",
     {"-varrule", "UNITS = s"},
     "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"TIME\",\"deltaT\",\"ExecutionTime\","
     "\"ClockTime\"\n1,1,5.00000000e-03,5.00000000e-03,,\n"
     "1,2,5.00000000e-03,5.00000000e-03,3.10000000e-02,0.00000000e+00\n"
     "2,1,1.00000000e-02,5.00000000e-03,4.40000000e-02,0.00000000e+00\n"},
    // openfoam.org 13: the unit after the time, "PIMPLE: Iteration", and the
    // continuity line without a cumulative error after a non-final corrector.
    {"foamRun-vof.log",
     {"-varlist",
      "TIME;alpha.water iterations;p_rgh iterations;continuity errors sum local;"
      "continuity errors cumulative"},
     "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"TIME\",\"alpha.water iterations\","
     "\"p_rgh iterations\",\"continuity errors sum local\",\"continuity errors cumulative\"\n"
     "1,1,1.20000000e-05,0.00000000e+00,1.63000000e+02,4.90000000e-10,2.60000000e-10\n"
     "1,2,1.20000000e-05,2.00000000e+00,1.10000000e+02,3.40000000e-06,\n"},
    {"running.log",
     {"-varlist", "TIME;p final residual;ExecutionTime"},
     "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"TIME\",\"p final residual\","
     "\"ExecutionTime\"\n1,1,1.00000000e-03,4.00000000e-03,\n"
     "1,2,1.00000000e-03,3.00000000e-07,5.00000000e-01\n"},
    {"diverging.log",
     {"-varlist", "Courant Number max;Ux final residual"},
     "\"ACCUMULATED TIMESTEP\",\"Courant Number max\",\"Ux final residual\"\n"
     "1,2.90000000e+00,8.00000000e-07\n2,1.00000000e+20,nan\n"},
    {"restarted.log",
     {},
     R"("ACCUMULATED TIMESTEP","TIME","p initial residual","p final residual","p iterations","ExecutionTime","ClockTime","k initial residual","k final residual","k iterations"
1,1.00000000e+00,1.00000000e+00,5.00000000e-02,1.00000000e+01,1.00000000e-01,0.00000000e+00,,,
2,2.00000000e+00,5.00000000e-01,4.00000000e-02,9.00000000e+00,2.00000000e-01,0.00000000e+00,,,
3,3.00000000e+00,3.00000000e-01,2.00000000e-02,7.00000000e+00,1.00000000e-01,0.00000000e+00,6.00000000e-01,1.00000000e-02,2.00000000e+00
4,4.00000000e+00,2.00000000e-01,1.00000000e-02,6.00000000e+00,2.00000000e-01,0.00000000e+00,4.00000000e-01,9.00000000e-03,2.00000000e+00
)"},
    // A multi-region solver: the solves before the step's first region line
    // are that region's; Courant and Diffusion lines name their region; a
    // region's context ends with its step.
    {"chtMultiRegionFoam-com.log",
     {"-varrule", "REGION = wall or NAME = \"air Ux*\" or NAME = \"air p_rgh iterations\""},
     "\"ACCUMULATED TIMESTEP\",\"wall Diffusion Number mean\",\"wall Diffusion Number max\","
     "\"air Ux initial residual\",\"air Ux final residual\",\"air Ux iterations\","
     "\"air p_rgh iterations\",\"wall h initial residual\",\"wall h final residual\","
     "\"wall h iterations\"\n"
     "1,5.50000000e+00,1.00000000e+02,1.00000000e+00,1.00000000e-08,5.00000000e+00,"
     "1.11000000e+02,1.00000000e+00,7.00000000e-07,2.00000000e+01\n"
     "2,5.50000000e+00,1.00000000e+02,4.50000000e-01,4.00000000e-08,5.00000000e+00,"
     "6.80000000e+01,2.00000000e-01,8.00000000e-07,1.60000000e+01\n"},
};

TEST(FoamLog, ExportsEachLogAsTheSolverWroteIt) {
    for (const Export& e : kExports) EXPECT_EQ(table(e.log, e.args), e.out) << e.log;
}

// What real runs of other releases write, one row per reader fault: a run
// that failed keeps the step it failed in with its nan values, serial or
// parallel (every line of the error prefixed by the rank), and a warning
// names the error's line; without PIMPLE lines a step is one record, however
// often it solves a field (rho again in the pressure corrector; the first
// solution's initial residual); foam-extend's moving-mesh continuity errors
// have names of their own. Values are as the log wrote them (0.05 s is
// 5.00000000e-02, not the float 5.00000007e-02).
TEST(FoamLog, RunsOfOtherReleasesReadAsWritten) {
    const struct {
        const char* log;
        std::vector<std::string> args;
        const char* out;
        const char* warning;
    } cases[] = {
        {"failed.log",
         {"-varlist", "TIME;Courant Number max;Ux initial residual;Uy final residual;p iterations"},
         "\"ACCUMULATED TIMESTEP\",\"TIME\",\"Courant Number max\",\"Ux initial residual\","
         "\"Uy final residual\",\"p iterations\"\n"
         "1,5.00000000e-03,4.20000000e+00,1.00000000e+00,0.00000000e+00,1.18000000e+02\n"
         "2,1.00000000e-02,8.10000000e+40,nan,-nan,1.00100000e+03\n",
         ":33: the run ended with a fatal error: '--> FOAM FATAL ERROR: (openfoam-2306)'"},
        {"failed-parallel.log",
         {"-varlist", "Ux initial residual;p initial residual"},
         "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"Ux initial residual\","
         "\"p initial residual\"\n"
         "1,1,1.00000000e+00,1.00000000e+00\n1,2,3.10000000e-02,4.50000000e-02\n"
         "1,3,4.20000000e-03,\n",
         ":41: the run ended with a fatal error: '[0] --> FOAM FATAL IO ERROR: (openfoam-2212)'"},
        {"reactingFoam.log",
         {"-varlist",
          "rho initial residual;Ux initial residual;h initial residual;p initial residual;"
          "p final residual;p iterations;ExecutionTime"},
         "\"ACCUMULATED TIMESTEP\",\"rho initial residual\",\"Ux initial residual\","
         "\"h initial residual\",\"p initial residual\",\"p final residual\",\"p iterations\","
         "\"ExecutionTime\"\n"
         "1,0.00000000e+00,1.00000000e+00,9.80000000e-01,1.00000000e+00,7.90000000e-09,"
         "2.70000000e+01,5.00000000e-02\n"
         "2,0.00000000e+00,2.10000000e-02,1.50000000e-03,3.10000000e-01,6.30000000e-09,"
         "2.20000000e+01,1.00000000e-01\n",
         nullptr},
        {"movingMesh-extend.log",
         {"-varrule", "SUBCATEGORY = CONTINUITY", "-nocoeffloops"},
         "\"ACCUMULATED TIMESTEP\",\"moving mesh continuity errors sum local\","
         "\"moving mesh continuity errors global\",\"moving mesh continuity errors cumulative\","
         "\"continuity errors sum local\",\"continuity errors global\","
         "\"continuity errors cumulative\"\n"
         "1,1.20000000e-11,-4.10000000e-14,-4.10000000e-14,2.80000000e-11,1.10000000e-18,"
         "-2.09000000e-17\n"
         "2,1.90000000e-11,3.50000000e-14,-6.00000000e-15,9.50000000e-12,-1.60000000e-19,"
         "-1.80600000e-17\n",
         nullptr},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"-mon", log(c.log)};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const e2e::Result r = monexport(args);
        EXPECT_EQ(r.status, 0) << c.log;
        EXPECT_EQ(r.out, c.out) << c.log;
        EXPECT_EQ(r.err, c.warning ? "Warning: " + log(c.log) + c.warning + "\n" : "") << c.log;
    }
}

TEST(FoamLog, LogsWrittenByHand) {
    struct Case {
        const char* text;
        const char* out;
    } cases[] = {
        // Windows line ends and indented lines.
        {"Exec   : simpleFoam\r\nTime = 1\r\n\r\n    GAMG:  Solving for p, Initial residual = 1, "
         "Final residual = 0.1, No Iterations 3\r\nExecutionTime = 1 s  ClockTime = 2 s\r\n",
         "\"ACCUMULATED TIMESTEP\",\"TIME\",\"p initial residual\",\"p final residual\",\"p "
         "iterations\",\"ExecutionTime\",\"ClockTime\"\n1,1.00000000e+00,1.00000000e+00,"
         "1.00000000e-01,3.00000000e+00,1.00000000e+00,2.00000000e+00\n"},
        // Times that are not all whole numbers count steps from 1.
        {"Exec   : pisoFoam\nTime = 2\nExecutionTime = 1 s  ClockTime = 1 s\nTime = 2.5\n"
         "ExecutionTime = 2 s  ClockTime = 2 s\nTime = 3\nExecutionTime = 3 s  ClockTime = 3 s\n",
         "\"ACCUMULATED TIMESTEP\",\"TIME\",\"ExecutionTime\",\"ClockTime\"\n"
         "2,2.00000000e+00,1.00000000e+00,1.00000000e+00\n"
         "3,2.50000000e+00,2.00000000e+00,2.00000000e+00\n"
         "4,3.00000000e+00,3.00000000e+00,3.00000000e+00\n"},
    };
    for (const Case& c : cases) {
        e2e::TempDir dir;
        EXPECT_EQ(e2e::monexportOutput({"-mon", dir.write("log.simpleFoam", c.text)}), c.out)
            << c.text;
    }
}

// A garbled line, a line cut short, a run of binary bytes and a word for a
// number in a log: the export succeeds with the values around them, and one
// warning names the first three lines skipped and counts them all.
TEST(FoamLog, DamagedLinesAreSkippedWithOneWarning) {
    e2e::Result r = monexport({"-mon", log("lenient.log"), "-varlist", "p initial residual"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "\"ACCUMULATED TIMESTEP\",\"p initial residual\"\n1,1.00000000e+00\n2,\n"
              "3,4.00000000e-02\n");
    const std::string path = log("lenient.log");
    EXPECT_EQ(r.err, "Warning: " + path +
                         ":12: skipped: solution of 'p': initial residual "
                         "'0.0#5' is not a number; " +
                         path +
                         ":13: skipped: solution of 'p': no "
                         "final residual; " +
                         path +
                         ":16: skipped: bounding k: min '\\x00\\x00' "
                         "is not a number (4 lines skipped)\n");
}

TEST(FoamLog, MultiRegionNamesOnePerQuantityAndRegion) {
    EXPECT_EQ(e2e::monexportOutput({"-showvars", "-mon", log("chtMultiRegionFoam.log")}),
              "ACCUMULATED TIMESTEP\nTIME\nair Ux initial residual\nair Ux final residual\n"
              "air Ux iterations\nair h initial residual\nair h final residual\n"
              "air h iterations\nair p_rgh initial residual\nair p_rgh final residual\n"
              "air p_rgh iterations\nair continuity errors sum local\n"
              "air continuity errors global\nair continuity errors cumulative\n"
              "wall h initial residual\nwall h final residual\nwall h iterations\n"
              "ExecutionTime\nClockTime\n");
    const std::string names =
        e2e::monexportOutput({"-showvars", "-mon", log("chtMultiRegionFoam-com.log")});
    EXPECT_EQ(names.find("Region"), std::string::npos);
    EXPECT_EQ(names.find("\nrho"), std::string::npos);
    EXPECT_NE(names.find("\nair rho iterations\n"), std::string::npos);
    EXPECT_NE(e2e::monexportOutput({"-varinfo", "-mon", log("chtMultiRegionFoam.log")})
                  .find("TreePath=\"Residuals;Heat Transfer;Initial;wall h initial residual\""),
              std::string::npos);
}

TEST(FoamLog, PatternsAddTheNamedValuesOfMatchingLines) {
    const std::string volume =
        "Phase-1 volume fraction = {alpha_volume}  Min(alpha.water) = {alpha_min|MONITOR|VoF}";
    EXPECT_EQ(table("foamRun-vof.log", {"-pattern", volume, "-pattern", "no such line {x}",
                                        "-varrule", "SUBCATEGORY = PATTERN"}),
              "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"alpha_volume\",\"alpha_min\"\n"
              "1,1,1.63000000e-02,0.00000000e+00\n1,2,1.64000000e-02,-2.50000000e-27\n");
    e2e::TempDir dir;
    e2e::writeFile(dir.file("patterns"), "# volume\n\n  Phase-1 volume fraction = {a}\n");
    EXPECT_EQ(table("foamRun-vof.log", {"-patterns", dir.file("patterns"), "-varrule",
                                        "GROUP = \"Log Patterns\"", "-nocoeffloops"}),
              "\"ACCUMULATED TIMESTEP\",\"a\"\n1,1.64000000e-02\n");
    // A malformed pattern is reported before anything is read.
    EXPECT_TRUE(e2e::failsWith(monexport({"-mon", dir.file("none"), "-pattern", "Min = {x"}),
                               "Pattern 'Min = {x': '{' without '}'"));
    EXPECT_TRUE(
        e2e::failsWith(monexport({"-mon", log("simpleFoam.log"), "-patterns", dir.file("none")}),
                       "Cannot read the patterns file '" + dir.file("none") + "'."));
}

}  // namespace
