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
// PIMPLE lines the first field solved again after other fields starts the next
// loop, its sub-cycles in a row stay in one; a PISO log solves p twice per
// step without loops. running: the last step, still running, is left out, as
// is the last line without a line end. failed: the step that failed is kept
// with its nan values; what follows the fatal error is not read. diverging: an
// unfinished last step holding nan is kept. restarted: a run restarted into
// the same log replaces the steps from its first time.
const Export kExports[] = {
    {"simpleFoam.log",
     {},
     R"("ACCUMULATED TIMESTEP","TIME","Ux initial residual","Ux final residual","Ux iterations","Uy initial residual","Uy final residual","Uy iterations","p initial residual","p final residual","p iterations","continuity errors sum local","continuity errors global","continuity errors cumulative","epsilon initial residual","epsilon final residual","epsilon iterations","bounding epsilon min","bounding epsilon max","bounding epsilon average","k initial residual","k final residual","k iterations","ExecutionTime","ClockTime"
1,1.00000000e+00,1.00000000e+00,5.38101010e-02,1.00000000e+00,1.00000000e+00,3.09250001e-02,2.00000000e+00,1.00000000e+00,6.84269965e-02,1.70000000e+01,1.19733000e+00,1.79883003e-01,1.79883003e-01,1.99669003e-01,9.97336954e-03,3.00000000e+00,-1.45735002e+00,1.08025000e+03,4.88549995e+01,1.00000000e+00,4.39205989e-02,3.00000000e+00,2.70000011e-01,0.00000000e+00
2,2.00000000e+00,4.39415008e-01,2.34572999e-02,3.00000000e+00,5.05750000e-01,3.72260995e-02,2.00000000e+00,5.51853999e-02,4.76924004e-03,9.00000000e+00,3.20709991e+00,-2.29912996e-01,-5.00301011e-02,1.64743006e-01,6.17218018e-03,3.00000000e+00,,,,4.66008991e-01,1.97522007e-02,3.00000000e+00,4.19999987e-01,1.00000000e+00
3,3.00000000e+00,2.88138002e-01,1.41385002e-02,3.00000000e+00,3.11212987e-01,2.06137002e-02,2.00000000e+00,3.98811996e-02,3.56999994e-03,6.00000000e+00,2.52790999e+00,8.60230997e-02,3.59929986e-02,8.90422016e-02,3.37713002e-03,3.00000000e+00,,,,2.61005998e-01,1.08455000e-02,3.00000000e+00,5.50000012e-01,1.00000000e+00
)"},
    {"pimpleFoam.log",
     {},
     R"("ACCUMULATED TIMESTEP","COEFFICIENT LOOP","TIME","Courant Number mean","Courant Number max","Ux initial residual","Ux final residual","Ux iterations","Uy initial residual","Uy final residual","Uy iterations","p initial residual","p final residual","p iterations","continuity errors sum local","continuity errors global","continuity errors cumulative","k initial residual","k final residual","k iterations","ExecutionTime","ClockTime","deltaT"
1,1,2.00000000e-04,0.00000000e+00,0.00000000e+00,1.00000000e+00,2.10000007e-06,1.00000000e+00,0.00000000e+00,0.00000000e+00,0.00000000e+00,1.00000000e+00,8.00000009e-07,2.60000000e+01,9.99999994e-09,-2.99999990e-20,1.70000001e-19,,,,,,
1,2,2.00000000e-04,0.00000000e+00,0.00000000e+00,3.09999995e-02,4.00000005e-07,2.00000000e+00,2.50000000e-01,6.00000021e-07,2.00000000e+00,4.50000018e-02,4.99999999e-07,2.10000000e+01,4.99999986e-10,1.99999994e-21,1.82000001e-19,1.00000000e+00,3.00000011e-06,3.00000000e+00,8.10000002e-01,1.00000000e+00,
2,1,4.40000000e-04,1.25000002e-02,4.00000006e-01,8.20000004e-03,1.10000002e-07,2.00000000e+00,6.10000007e-02,4.99999999e-07,2.00000000e+00,3.30000013e-01,8.99999975e-07,2.30000000e+01,3.00000003e-09,9.99999968e-22,1.89000004e-19,,,,,,2.39999994e-04
2,2,4.40000000e-04,1.25000002e-02,4.00000006e-01,1.09999999e-03,1.99999999e-08,2.00000000e+00,9.30000003e-03,1.00000001e-07,2.00000000e+00,7.60000013e-03,5.99999979e-08,2.00000000e+01,1.99999999e-11,1.00000003e-22,1.89399997e-19,1.40000001e-01,4.00000005e-07,3.00000000e+00,1.36000001e+00,2.00000000e+00,2.39999994e-04
)"},
    {"interFoam.log",
     {},
     R"("ACCUMULATED TIMESTEP","COEFFICIENT LOOP","TIME","deltaT","Courant Number mean","Courant Number max","Interface Courant Number mean","Interface Courant Number max","alpha.water initial residual","alpha.water final residual","alpha.water iterations","p_rgh initial residual","p_rgh final residual","p_rgh iterations","continuity errors sum local","continuity errors global","continuity errors cumulative","ExecutionTime","ClockTime"
1,1,1.00000000e-03,1.00000005e-03,1.00000005e-03,5.00000007e-02,0.00000000e+00,0.00000000e+00,9.99999978e-03,1.99999994e-09,5.00000000e+00,1.00000000e+00,7.99999995e-08,3.50000000e+01,6.00000005e-09,1.99999999e-11,1.19999996e-10,,
1,2,1.00000000e-03,1.00000005e-03,1.00000005e-03,5.00000007e-02,0.00000000e+00,0.00000000e+00,8.99999985e-04,1.00000001e-10,2.00000000e+00,1.99999996e-02,7.00000014e-09,2.30000000e+01,9.99999996e-12,9.99999982e-14,1.24099994e-10,1.19999997e-01,0.00000000e+00
)"},
    {"pisoFoam-tail.log",
     {"-varlist", "p initial residual;p iterations"},
     "\"ACCUMULATED TIMESTEP\",\"p initial residual\",\"p iterations\"\n"
     "1,3.09999995e-02,1.80000000e+01\n2,2.89999992e-02,1.90000000e+01\n"},
    {"foamRun.log",
     {"-varrule", "UNITS = s"},
     "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"TIME\",\"deltaT\",\"ExecutionTime\","
     "\"ClockTime\"\n1,1,5.00000000e-03,4.99999989e-03,,\n"
     "1,2,5.00000000e-03,4.99999989e-03,3.09999995e-02,0.00000000e+00\n"
     "2,1,1.00000000e-02,4.99999989e-03,4.39999998e-02,0.00000000e+00\n"},
    // openfoam.org 13: the unit after the time, "PIMPLE: Iteration", and the
    // continuity line without a cumulative error after a non-final corrector.
    {"foamRun-vof.log",
     {"-varlist",
      "TIME;alpha.water iterations;p_rgh iterations;continuity errors sum local;"
      "continuity errors cumulative"},
     "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"TIME\",\"alpha.water iterations\","
     "\"p_rgh iterations\",\"continuity errors sum local\",\"continuity errors cumulative\"\n"
     "1,1,1.20000000e-05,0.00000000e+00,1.63000000e+02,4.89999985e-10,2.59999994e-10\n"
     "1,2,1.20000000e-05,2.00000000e+00,1.10000000e+02,3.39999997e-06,\n"},
    {"running.log",
     {"-varlist", "TIME;p final residual;ExecutionTime"},
     "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"TIME\",\"p final residual\","
     "\"ExecutionTime\"\n1,1,1.00000000e-03,4.00000019e-03,\n"
     "1,2,1.00000000e-03,3.00000011e-07,5.00000000e-01\n"},
    {"failed.log",
     {},
     R"("ACCUMULATED TIMESTEP","TIME","Courant Number mean","Courant Number max","Ux initial residual","Ux final residual","Ux iterations","Uy initial residual","Uy final residual","Uy iterations","p initial residual","p final residual","p iterations","continuity errors sum local","continuity errors global","continuity errors cumulative","ExecutionTime","ClockTime"
1,5.00000000e-03,8.00000012e-01,4.19999981e+00,1.00000000e+00,7.00000010e-06,2.50000000e+01,0.00000000e+00,0.00000000e+00,0.00000000e+00,1.00000000e+00,8.00000009e-07,1.18000000e+02,8.99999976e-01,3.00000012e-16,3.10000003e-16,3.99999991e-02,0.00000000e+00
2,1.00000000e-02,3.49999989e+12,inf,nan,nan,1.00000000e+03,-nan,-nan,1.00000000e+03,nan,nan,1.00100000e+03,,,,,
)"},
    {"diverging.log",
     {"-varlist", "Courant Number max;Ux final residual"},
     "\"ACCUMULATED TIMESTEP\",\"Courant Number max\",\"Ux final residual\"\n"
     "1,2.90000010e+00,8.00000009e-07\n2,1.00000002e+20,nan\n"},
    {"restarted.log",
     {},
     R"("ACCUMULATED TIMESTEP","TIME","p initial residual","p final residual","p iterations","ExecutionTime","ClockTime","k initial residual","k final residual","k iterations"
1,1.00000000e+00,1.00000000e+00,5.00000007e-02,1.00000000e+01,1.00000001e-01,0.00000000e+00,,,
2,2.00000000e+00,5.00000000e-01,3.99999991e-02,9.00000000e+00,2.00000003e-01,0.00000000e+00,,,
3,3.00000000e+00,3.00000012e-01,1.99999996e-02,7.00000000e+00,1.00000001e-01,0.00000000e+00,6.00000024e-01,9.99999978e-03,2.00000000e+00
4,4.00000000e+00,2.00000003e-01,9.99999978e-03,6.00000000e+00,2.00000003e-01,0.00000000e+00,4.00000006e-01,8.99999961e-03,2.00000000e+00
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
     "1,5.50000000e+00,1.00000000e+02,1.00000000e+00,9.99999994e-09,5.00000000e+00,"
     "1.11000000e+02,1.00000000e+00,6.99999987e-07,2.00000000e+01\n"
     "2,5.50000000e+00,1.00000000e+02,4.49999988e-01,3.99999998e-08,5.00000000e+00,"
     "6.80000000e+01,2.00000003e-01,8.00000009e-07,1.60000000e+01\n"},
};

TEST(FoamLog, ExportsEachLogAsTheSolverWroteIt) {
    for (const Export& e : kExports) EXPECT_EQ(table(e.log, e.args), e.out) << e.log;
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
         "1.00000001e-01,3.00000000e+00,1.00000000e+00,2.00000000e+00\n"},
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
              "3,3.99999991e-02\n");
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
              "1,1,1.63000003e-02,0.00000000e+00\n1,2,1.64000001e-02,-2.49999997e-27\n");
    e2e::TempDir dir;
    e2e::writeFile(dir.file("patterns"), "# volume\n\n  Phase-1 volume fraction = {a}\n");
    EXPECT_EQ(table("foamRun-vof.log", {"-patterns", dir.file("patterns"), "-varrule",
                                        "GROUP = \"Log Patterns\"", "-nocoeffloops"}),
              "\"ACCUMULATED TIMESTEP\",\"a\"\n1,1.64000001e-02\n");
    // A malformed pattern is reported before anything is read.
    EXPECT_TRUE(e2e::failsWith(monexport({"-mon", dir.file("none"), "-pattern", "Min = {x"}),
                               "Pattern 'Min = {x': '{' without '}'"));
    EXPECT_TRUE(
        e2e::failsWith(monexport({"-mon", log("simpleFoam.log"), "-patterns", dir.file("none")}),
                       "Cannot read the patterns file '" + dir.file("none") + "'."));
}

}  // namespace
