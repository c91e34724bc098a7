#include "libs/mondata/formats/monitor/RunDirectory.h"

#include <gtest/gtest.h>

#include "libs/exception/Error.h"
#include "tests/CommandRunner.h"
#include "tests/RunText.h"

namespace {

using testing_run::describe;

class Folder : public e2e::TempDir {
  public:
    mon::RunData read(const std::string& suffix = "") const {
        mon::RunDataBuilder builder;
        mon::readRunDirectory(path() + suffix, builder);
        return builder.finish();
    }
    std::string error(const std::string& suffix = "") const {
        return e2e::errorOf([&] { read(suffix); });
    }
};

TEST(RunDirectory, SegmentsJoinInByteOrderOfNamesAndRestartsReplaceRecords) {
    Folder run;
    run.write("b.mon", "monitor-file 1\nvar A\nvar B\n3 30 31\n4 40 41\n");
    run.write("a.mon", "monitor-file 1\nvar A\n1 10\n2 20\n3 99\n");
    run.write("c-10.mon", "monitor-file 1\nvar A\n5 50\n");  // before c-9: bytes, not numbers
    run.write("c-9.mon", "monitor-file 1\nvar A\n6 60\n");
    run.write("notes.txt", "monitor-file 1\nvar C\n");
    run.folder("old.mon");
    const mon::RunData data = run.read();
    EXPECT_EQ(describe(data),
              "steady\nvar A\nvar B\n1: 10 -;\n2: 20 -;\n3: 30 31;\n"
              "4: 40 41;\n5: 50 -;\n6: 60 -;\n");
    const std::string& p = run.path();
    EXPECT_EQ(data.sourceFiles, (std::vector<std::string>{p + "/a.mon", p + "/b.mon",
                                                          p + "/c-10.mon", p + "/c-9.mon"}));
}

// Missing folders, fresh segments without a header and segments that
// disagree on loops: the end-to-end bad-input tests.
TEST(RunDirectory, AFolderWithoutSegmentsIsAnError) {
    Folder run;
    EXPECT_EQ(run.error(), "Run directory '" + run.path() + "' holds no monitor files (*.mon).");
}

// Segments repeat their declarations: a repeated line declares the same
// variable with the first segment's attributes, a changed line is read in
// full, and declaring a name twice in one segment stays an error, whether
// the line is new to the run or not.
TEST(RunDirectory, RepeatedDeclarationsKeepTheirVariableAndTheirChecks) {
    Folder run;
    run.write("1.mon", "monitor-file 1\nvar A label=a\nvar B\n1 1 2\n");
    run.write("2.mon", "monitor-file 1\nvar B\nvar A label=a\nvar C label=\"c\"\n2 20 10 30\n");
    run.write("3.mon", "monitor-file 1\nvar A  label=other\nvar C label=\"c\"\n3 11 31\n");
    EXPECT_EQ(describe(run.read()),
              "steady\nvar A label=a\nvar B\nvar C label=c\n"
              "1: 1 2 -;\n2: 10 20 30;\n3: 11 - 31;\n");
    for (const char* segment : {"monitor-file 1\nvar B\nvar C label=\"c\"\nvar B\n",
                                "monitor-file 1\nvar B\nvar D\nvar B label=b\n"}) {
        run.write("4.mon", segment);
        EXPECT_EQ(run.error(), run.path() + "/4.mon:4: variable 'B' is already declared on line 2");
    }
}

// A segment that starts (after its comments) with the declaration lines the
// one before started with takes them at once: what follows them (more
// declarations, records, a name declared twice) reads as if every line had
// been read.
TEST(RunDirectory, SegmentsStartingWithTheSameDeclarationsReadAsIfReadLineByLine) {
    Folder run;
    const auto segment = [](const std::string& comments, const std::string& rest) {
        return "monitor-file 1\n" + comments + "var A label=a\nvar B\n" + rest;
    };
    run.write("1.mon", segment("", "1 1 2\n"));
    run.write("2.mon", segment("# restarted\n", "2 3 4\nvar C\n3 5 6 7\n"));
    run.write("3.mon", segment("# restarted\n# again\n", "var C\n4 8 9 10\n"));
    run.write("4.mon", segment("", "5 11\n"));
    EXPECT_EQ(describe(run.read()),
              "steady\nvar A label=a\nvar B\nvar C\n1: 1 2 -;\n"
              "2: 3 4 -;\n3: 5 6 7;\n4: 8 9 10;\n5: 11 - -;\n");
    run.write("5.mon", segment("# x\n", "6 1 2\nvar A\n"));
    EXPECT_EQ(run.error(), run.path() + "/5.mon:6: variable 'A' is already declared on line 3");
    run.write("5.mon", segment("", "6 1 2 3\n"));
    EXPECT_EQ(run.error(),
              run.path() + "/5.mon:4: record has more values than the 2 variables declared so far");
}

}  // namespace
