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

}  // namespace
