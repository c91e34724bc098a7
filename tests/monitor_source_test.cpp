// Data sources: precedence, and the monitor-file source's treatment of files
// that a solver is still writing.

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

using e2e::monexport;

TEST(MonitorSource, ResultsFileTakesPrecedenceOverTheOthers) {
    e2e::TempDir dir;
    const std::string mon = dir.write("good.mon", "monitor-file 1\nvar A\n1 1\n");
    for (const char* other : {"-res", "-dir"}) {
        const std::string missing = dir.file(std::string("missing.") + (other + 1));
        e2e::Result r = monexport({"-showvars", "-mon", mon, other, missing});
        EXPECT_EQ(r.status, 255);
        EXPECT_NE(r.err.find(missing), std::string::npos) << r.err;
    }
}

TEST(MonitorSource, LineStillBeingWrittenIsIgnored) {
    e2e::TempDir dir;
    const std::string mon = dir.write("run.mon", "monitor-file 1\nvar A\n1 1\nvar \"B half");
    EXPECT_EQ(e2e::monexportOutput({"-showvars", "-mon", mon}), "ACCUMULATED TIMESTEP\nA\n");
}

TEST(MonitorSource, BinaryAndEmptyFilesAreRejected) {
    const std::string kinds =
        "not a monitor file, OpenFOAM data file, OpenFOAM solver log or SU2 history file: ";
    e2e::TempDir dir;
    const std::string empty = dir.write("empty.mon", "");
    EXPECT_TRUE(e2e::failsWith(monexport({"-showvars", "-mon", empty}),
                               empty + ": the run has no records yet: the file has no complete "
                                       "first line (expected that of a monitor file, OpenFOAM "
                                       "data file, OpenFOAM solver log or SU2 history file)"));
    const std::string binary = dir.write("bin.mon", std::string("\0\xff\x13\n\0\0", 6));
    EXPECT_TRUE(e2e::failsWith(
        monexport({"-showvars", "-mon", binary}),
        binary + ":1: " + kinds + "the first line must start with 'monitor-file 1'"));
}

}  // namespace
