// monpack: its command line, its reports, and that a failed pack leaves the
// target as it was and no temporary file behind.

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

using e2e::monpack;

testing::AssertionResult packerFails(const e2e::Result& result, const std::string& message) {
    return e2e::failsWith(result, message, "Packer");
}

TEST(Monpack, CommandLineMistakesAreReported) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "No data source has been specified: give -mon, -dir or -res (see monpack -help)."},
        {{"-mon", "a.mon"}, "No output file has been specified: give -out (see monpack -help)."},
        {{"-mon", "a.mon", "-out"}, "Missing value for option -out."},
        {{"-mon", "a.mon", "-dir", "d"}, "Give only one data source (-mon and -dir)."},
        {{"-x", "1"}, "Unknown option '-x' (see monpack -help)."},
        {{"-deflate", "10"}, "Option -deflate needs a whole number from 0 to 9, not '10'."},
        {{"-chunk", "0x10"}, "Option -chunk needs a whole number from 1 to 16777216, not '0x10'."},
    };
    for (const auto& [args, message] : cases) EXPECT_TRUE(packerFails(monpack(args), message));
    e2e::Result help = monpack({"-help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.substr(0, 14), "Usage: monpack");
}

TEST(Monpack, FailedPackLeavesTheTargetAndNoTemporaryFile) {
    e2e::TempDir dir;
    const std::string res = dir.write("run.res", "previous results");
    const std::string bad = dir.write("bad.mon", "monitor-file 1\nvar A\n1 x\n");
    EXPECT_TRUE(packerFails(monpack({"-mon", bad, "-out", res}),
                            bad + ":3: value 'x' of variable 'A' is not a number"));
    EXPECT_EQ(e2e::readFile(res), "previous results");
    EXPECT_EQ(e2e::filesIn(dir.path()), (std::vector<std::string>{"bad.mon", "run.res"}));
    const e2e::Result r = monpack({"-mon", bad, "-out", dir.file("no/such/run.res")});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err.substr(0, 13), "Packer error:");
}

TEST(Monpack, ReplacesTheTargetWholeAndNeverItsSource) {
    e2e::TempDir dir;
    const std::string text = e2e::readFile(e2e::example("steady.mon"));
    const std::string mon = dir.write("run.mon", text), res = dir.write("run.res", "previous");
    ASSERT_EQ(monpack({"-mon", mon, "-out", res}).status, 0);
    EXPECT_EQ(e2e::readFile(res).substr(1, 3), "HDF");
    EXPECT_EQ(e2e::filesIn(dir.path()), (std::vector<std::string>{"run.mon", "run.res"}));
    EXPECT_TRUE(packerFails(
        monpack({"-res", res, "-out", res}),
        "Refusing to write the results file '" + res + "': it is the data source '" + res + "'."));
    EXPECT_EQ(monpack({"-mon", mon, "-out", mon}).status, 255);
    EXPECT_EQ(e2e::readFile(mon), text);
}

}  // namespace
