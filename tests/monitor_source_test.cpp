// Data sources: precedence, and the monitor-file source's treatment of files
// that a solver is still writing.

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

using e2e::monexport;

TEST(MonitorSource, ResultsFileTakesPrecedenceOverTheOthers) {
    e2e::TempDir dir;
    e2e::writeFile(dir.file("good.mon"), "monitor-file 1\nvar A\n1 1\n");
    e2e::Result r =
        monexport({"-showvars", "-mon", dir.file("good.mon"), "-res", dir.file("missing.res")});
    EXPECT_EQ(r.status, 255);
    EXPECT_NE(r.err.find("missing.res"), std::string::npos) << r.err;
    r = monexport({"-showvars", "-mon", dir.file("good.mon"), "-dir", dir.file("missing.dir")});
    EXPECT_EQ(r.status, 255);
    EXPECT_NE(r.err.find("missing.dir"), std::string::npos) << r.err;
}

TEST(MonitorSource, LineStillBeingWrittenIsIgnored) {
    e2e::TempDir dir;
    e2e::writeFile(dir.file("run.mon"), "monitor-file 1\nvar A\n1 1\nvar \"B half");
    e2e::Result r = monexport({"-showvars", "-mon", dir.file("run.mon")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "ACCUMULATED TIMESTEP\nA\n");
}

TEST(MonitorSource, BinaryAndEmptyFilesAreRejected) {
    e2e::TempDir dir;
    e2e::writeFile(dir.file("empty.mon"), "");
    e2e::Result r = monexport({"-showvars", "-mon", dir.file("empty.mon")});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err, e2e::errorReport(dir.file("empty.mon") +
                                      ": not a monitor file, OpenFOAM data file, OpenFOAM solver "
                                      "log or SU2 history file: it has no complete first line "
                                      "(expected 'monitor-file 1')"));
    e2e::writeFile(dir.file("bin.mon"), std::string("\0\xff\x13\n\0\0", 6));
    r = monexport({"-showvars", "-mon", dir.file("bin.mon")});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err, e2e::errorReport(dir.file("bin.mon") +
                                      ":1: not a monitor file, OpenFOAM data file, OpenFOAM solver "
                                      "log or SU2 history file: the first line must start with "
                                      "'monitor-file 1'"));
}

}  // namespace
