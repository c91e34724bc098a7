// -lastvaluesonly: one line with each selected variable's own last value.

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

TEST(LastValues, EachVariableGivesItsOwnLastValue) {
    const std::string ends = e2e::testData("tables/ends.mon"),
                      loops = e2e::testData("tables/loops.mon");
    const std::string loopsTable =
        "\"ACCUMULATED TIMESTEP\",\"A\",\"Late\"\n5,1.00000000e+02,3.00000000e+00\n";
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    for (const Case& c : {
             // Keys as integers; a variable without a value is empty.
             Case{{"-mon", ends},
                  "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"A\",\"B\",\"C\"\n"
                  "3,1,3.00000000e+00,4.00000000e+01,\n"},
             // Listed variables in list order, repeats kept.
             Case{{"-mon", ends, "-varlist", "B;A;B;COEFFICIENT LOOP"},
                  "\"B\",\"A\",\"B\",\"COEFFICIENT LOOP\"\n"
                  "4.00000000e+01,3.00000000e+00,4.00000000e+01,1\n"},
             // Loop and range options do not change the table.
             Case{{"-mon", loops, "-varlist", "ACCUMULATED TIMESTEP;A;Late"}, loopsTable},
             Case{{"-mon", loops, "-varlist", "ACCUMULATED TIMESTEP;A;Late", "-nocoeffloops",
                   "-firsttimestep", "2", "-lasttimestep", "3"},
                  loopsTable},
             Case{{"-mon", ends, "-noheader", "-varlist", "C;A"}, ",3.00000000e+00\n"},
         }) {
        std::vector<std::string> args = c.args;
        args.push_back("-lastvaluesonly");
        EXPECT_EQ(e2e::monexportOutput(args), c.out) << args[2];
    }
}

}  // namespace
