// Times held in double precision: consecutive times of a small time step late
// in a run stay apart in every output, the table, the last values and a
// results file packed by monpack.

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

// A probe written every 1e-6 s from t = 20 s, as OpenFOAM writes it: five
// times that are one float (2.00000019e+01) three times over.
const char kProbe[] =
    "# Probe 0 (0 0 0)\n"
    "#     Probe   0\n"
    "#      Time\n"
    "20.000001 1\n20.000002 2\n20.000003 3\n20.000004 4\n20.000005 5\n";

const char kTable[] =
    "\"ACCUMULATED TIMESTEP\",\"TIME\",\"probes p 0\"\n"
    "1,2.00000010e+01,1.00000000e+00\n"
    "2,2.00000020e+01,2.00000000e+00\n"
    "3,2.00000030e+01,3.00000000e+00\n"
    "4,2.00000040e+01,4.00000000e+00\n"
    "5,2.00000050e+01,5.00000000e+00\n";

TEST(DoubleTimes, StayApartInTableLastValuesAndPackedResults) {
    e2e::TempDir dir;
    dir.write("case/postProcessing/probes/0/p", kProbe);
    const std::string packed = dir.file("run.res");
    ASSERT_EQ(e2e::run(e2e::binary("monpack"), {"-dir", dir.file("case"), "-out", packed}).status,
              0);
    for (const auto& source : {std::vector<std::string>{"-dir", dir.file("case")},
                               std::vector<std::string>{"-res", packed}}) {
        auto args = [&](std::vector<std::string> more) {
            more.insert(more.end(), source.begin(), source.end());
            return more;
        };
        EXPECT_EQ(e2e::monexportOutput(args({})), kTable);
        EXPECT_EQ(e2e::monexportOutput(args({"-lastvaluesonly", "-varlist", "TIME"})),
                  "\"TIME\"\n2.00000050e+01\n");
        EXPECT_EQ(e2e::monexportOutput(args({"-varlist", "TIME", "-firsttimestep", "4"})),
                  "\"ACCUMULATED TIMESTEP\",\"TIME\"\n4,2.00000040e+01\n5,2.00000050e+01\n");
    }
}

}  // namespace
