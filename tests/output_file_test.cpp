// -out: where the output goes, and the failures that must never pass silently.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/CommandRunner.h"

namespace {

using e2e::errorReport;
using e2e::monexport;

using e2e::example;

TEST(OutputFile, ListGoesToTheFileAndNothingToStandardOutput) {
    e2e::TempDir dir;
    std::string out = dir.file("vars.txt");
    e2e::writeFile(out, "previous content that must disappear\n");
    e2e::Result r = monexport({"-showvars", "-mon", example("steady.mon"), "-out", out});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(e2e::readFile(out), monexport({"-showvars", "-mon", example("steady.mon")}).out);
}

TEST(OutputFile, EmptyOutMeansStandardOutput) {
    e2e::Result r = monexport({"-showvars", "-mon", example("steady.mon"), "-out", ""});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, 21), "ACCUMULATED TIMESTEP\n");
}

TEST(OutputFile, NoSourceCreatesNoFile) {
    e2e::TempDir dir;
    e2e::Result r = monexport({"-showvars", "-out", dir.file("never.txt")});
    EXPECT_EQ(r.status, 255);
    EXPECT_FALSE(e2e::fileExists(dir.file("never.txt")));
}

TEST(OutputFile, UnopenableFileIsAnError) {
    e2e::TempDir dir;
    const std::string missing = dir.file("no/such/dir/out.txt");
    e2e::Result r = monexport({"-showvars", "-mon", example("steady.mon"), "-out", missing});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              errorReport("Cannot open output file '" + missing + "': No such file or directory."));

    r = monexport({"-showvars", "-mon", example("steady.mon"), "-out", dir.path()});
    EXPECT_EQ(r.err, errorReport("Cannot open output file '" + dir.path() + "': Is a directory."));
}

TEST(OutputFile, UnwritableDirectoryIsAnError) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write anywhere";
    e2e::TempDir dir;
    ::chmod(dir.path().c_str(), 0500);
    e2e::Result r = monexport({"-showvars", "-mon", example("steady.mon"), "-out", dir.file("x")});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err,
              errorReport("Cannot open output file '" + dir.file("x") + "': Permission denied."));
}

TEST(OutputFile, IncompleteWriteIsAnError) {
    e2e::Result r = monexport({"-showvars", "-mon", example("transient.mon"), "-out", "/dev/full"});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err,
              errorReport("Failed to write output file '/dev/full': No space left on device."));
}

TEST(OutputFile, FullStandardOutputIsAnError) {
    e2e::Result r = e2e::run("/bin/sh", {"-c", "\"$0\" -showvars -mon \"$1\" > /dev/full",
                                         e2e::binary("monexport"), example("steady.mon")});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err, errorReport("Failed to write to standard output."));
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
