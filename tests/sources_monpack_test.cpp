// monpack: its command line, its reports, and that a failed pack leaves the
// target as it was and no temporary file behind.

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/CommandRunner.h"

namespace {

e2e::Result monpack(const std::vector<std::string>& args) {
    return e2e::run(e2e::binary("monpack"), args);
}

std::string report(const std::string& message) {
    return "Packer error:\n" + message + "\n";
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
    for (const auto& [args, message] : cases) {
        e2e::Result r = monpack(args);
        EXPECT_EQ(r.status, 255);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, report(message));
    }
    e2e::Result help = monpack({"-help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.substr(0, 14), "Usage: monpack");
}

TEST(Monpack, FailedPackLeavesTheTargetAndNoTemporaryFile) {
    e2e::TempDir dir;
    e2e::writeFile(dir.file("run.res"), "previous results");
    e2e::writeFile(dir.file("bad.mon"), "monitor-file 1\nvar A\n1 x\n");
    e2e::Result r = monpack({"-mon", dir.file("bad.mon"), "-out", dir.file("run.res")});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err, report(dir.file("bad.mon") + ":3: value 'x' of variable 'A' is not a number"));
    EXPECT_EQ(e2e::readFile(dir.file("run.res")), "previous results");
    EXPECT_EQ(e2e::filesIn(dir.path()), (std::vector<std::string>{"bad.mon", "run.res"}));

    r = monpack({"-mon", dir.file("bad.mon"), "-out", dir.file("no/such/run.res")});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err.substr(0, 13), "Packer error:");
}

TEST(Monpack, ReplacesTheTargetWholeAndNeverItsSource) {
    e2e::TempDir dir;
    const std::string mon = e2e::readFile(e2e::sourcePath("examples/steady.mon"));
    e2e::writeFile(dir.file("run.mon"), mon);
    e2e::writeFile(dir.file("run.res"), "previous results");
    ASSERT_EQ(monpack({"-mon", dir.file("run.mon"), "-out", dir.file("run.res")}).status, 0);
    EXPECT_EQ(e2e::readFile(dir.file("run.res")).substr(1, 3), "HDF");
    EXPECT_EQ(e2e::filesIn(dir.path()), (std::vector<std::string>{"run.mon", "run.res"}));

    e2e::Result r = monpack({"-res", dir.file("run.res"), "-out", dir.file("run.res")});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err, report("Refusing to write the results file '" + dir.file("run.res") +
                            "': it is the data source '" + dir.file("run.res") + "'."));
    r = monpack({"-mon", dir.file("run.mon"), "-out", dir.file("run.mon")});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(e2e::readFile(dir.file("run.mon")), mon);
}

}  // namespace
