// -out: where the output goes, and the failures that must never pass silently.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/CommandRunner.h"

namespace {

using e2e::errorReport;
using e2e::example;
using e2e::monexport;

TEST(OutputFile, FileIsReplacedAndEmptyOutMeansStandardOutput) {
    e2e::TempDir dir;
    const std::string out = dir.file("vars.txt");
    e2e::writeFile(out, "previous content that must disappear\n");
    const std::string list = e2e::monexportOutput({"-showvars", "-mon", example("steady.mon")});
    EXPECT_EQ(e2e::monexportOutput({"-showvars", "-mon", example("steady.mon"), "-out", out}), "");
    EXPECT_EQ(e2e::readFile(out), list);
    EXPECT_EQ(e2e::monexportOutput({"-showvars", "-mon", example("steady.mon"), "-out", ""}), list);
}

TEST(OutputFile, FailuresToOpenOrWriteAreErrorsAndCreateNothing) {
    e2e::TempDir dir;
    ::mkdir(dir.file("locked").c_str(), 0500);
    const std::string steady = example("steady.mon"), missing = dir.file("no/such/out.txt");
    struct Case {
        std::vector<std::string> args;
        std::string message;  // empty: any
    };
    std::vector<Case> cases = {
        {{"-showvars", "-out", dir.file("never.txt")}, ""},
        {{"-showvars", "-mon", steady, "-out", missing},
         "Cannot open output file '" + missing + "': No such file or directory."},
        {{"-showvars", "-mon", steady, "-out", dir.path()},
         "Cannot open output file '" + dir.path() + "': Is a directory."},
        {{"-showvars", "-mon", example("transient.mon"), "-out", "/dev/full"},
         "Failed to write output file '/dev/full': No space left on device."},
    };
    if (::geteuid() != 0)  // root may write anywhere
        cases.push_back(
            {{"-showvars", "-mon", steady, "-out", dir.file("locked/x")},
             "Cannot open output file '" + dir.file("locked/x") + "': Permission denied."});
    for (const Case& c : cases) {
        const e2e::Result r = monexport(c.args);
        EXPECT_EQ(r.status, 255) << c.message;
        EXPECT_EQ(r.out, "");
        if (!c.message.empty()) {
            EXPECT_EQ(r.err, errorReport(c.message));
        }
    }
    EXPECT_FALSE(e2e::fileExists(dir.file("never.txt")));
    const e2e::Result full = e2e::run("/bin/sh", {"-c", "\"$0\" -showvars -mon \"$1\" > /dev/full",
                                                  e2e::binary("monexport"), steady});
    EXPECT_EQ(full.status, 255);
    EXPECT_EQ(full.err, errorReport("Failed to write to standard output."));
}

TEST(OutputFile, RefusesToOverwriteTheDataSource) {
    e2e::TempDir dir;
    const std::string mon = dir.file("run.mon");
    const std::string text = e2e::readFile(example("steady.mon"));
    e2e::writeFile(mon, text);
    ASSERT_EQ(::link(mon.c_str(), dir.file("alias.mon").c_str()), 0);
    for (const std::string& out : {mon, dir.path() + "/./run.mon", dir.file("alias.mon")}) {
        e2e::Result r = monexport({"-showvars", "-mon", mon, "-out", out});
        EXPECT_EQ(r.status, 255);
        EXPECT_EQ(r.err, errorReport("Refusing to write the output to '" + out +
                                     "': it is the data source '" + mon + "'."));
        EXPECT_EQ(e2e::readFile(mon), text);
    }
}

}  // namespace
