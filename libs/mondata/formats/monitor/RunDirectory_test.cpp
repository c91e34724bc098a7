#include "libs/mondata/formats/monitor/RunDirectory.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cfloat>
#include <cstdlib>
#include <fstream>

#include "libs/exception/Error.h"

namespace {

class Folder {
  public:
    Folder() {
        char name[] = "/tmp/rundir-test-XXXXXX";
        path_ = ::mkdtemp(name);
    }
    ~Folder() { std::system(("rm -rf '" + path_ + "'").c_str()); }
    const std::string& path() const { return path_; }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path_ + "/" + name, std::ios::binary) << text;
    }

  private:
    std::string path_;
};

mon::RunData read(const Folder& folder) {
    mon::RunDataBuilder builder;
    mon::readRunDirectory(folder.path(), builder);
    return builder.finish();
}

std::string errorText(const std::string& folder) {
    try {
        mon::RunDataBuilder builder;
        mon::readRunDirectory(folder, builder);
    } catch (const owl::Error& e) {
        return e.getErrorText();
    }
    return "(no error)";
}

TEST(RunDirectory, SegmentsJoinInNameOrderAndRestartsReplaceRecords) {
    Folder run;
    run.write("b.mon", "monitor-file 1\nvar A\nvar B\n3 30 31\n4 40 41\n");
    run.write("a.mon", "monitor-file 1\nvar A\n1 10\n2 20\n3 99\n");
    run.write("notes.txt", "monitor-file 1\nvar C\n");
    ::mkdir((run.path() + "/old.mon").c_str(), 0777);
    mon::RunData data = read(run);
    ASSERT_EQ(data.variables.size(), 2u);
    EXPECT_EQ(data.rows->rowCount(), 4);
    EXPECT_EQ(data.columns[0], (mon::FloatColumn{10, 20, 30, 40}));
    EXPECT_EQ(data.columns[1], (mon::FloatColumn{FLT_MAX, FLT_MAX, 31, 41}));
    EXPECT_EQ(data.sourceFiles,
              (std::vector<std::string>{run.path() + "/a.mon", run.path() + "/b.mon"}));
}

TEST(RunDirectory, NamesSortByBytesNotByNumber) {
    Folder run;
    run.write("run-10.mon", "monitor-file 1\nvar A\n1 10\n");
    run.write("run-9.mon", "monitor-file 1\nvar A\n5 9\n");
    // run-10 first, then run-9 continues after it.
    EXPECT_EQ(read(run).columns[0], (mon::FloatColumn{10, 9}));
}

TEST(RunDirectory, FreshSegmentWithoutCompleteHeaderIsSkipped) {
    Folder run;
    run.write("1.mon", "monitor-file 1 coefficient-loops\nvar A\n1 1 5\n1 2 6\n");
    run.write("2.mon", "monitor-file 1 coeff");
    run.write("3.mon", "");
    mon::RunData data = read(run);
    EXPECT_EQ(data.columns[0], (mon::FloatColumn{5, 6}));
    EXPECT_EQ(data.sourceFiles.size(), 3u);
}

TEST(RunDirectory, ErrorsNameTheFolderOrTheSegment) {
    Folder run;
    EXPECT_EQ(errorText(run.path()),
              "Run directory '" + run.path() + "' holds no monitor files (*.mon).");
    EXPECT_EQ(errorText(run.path() + "/missing"),
              "Cannot read run directory '" + run.path() + "/missing': No such file or directory.");
    run.write("1.mon", "monitor-file 1 coefficient-loops\nvar A\n1 1 5\n");
    run.write("2.mon", "monitor-file 1\nvar A\n2 6\n");
    EXPECT_EQ(errorText(run.path() + "/"),
              run.path() +
                  "/2.mon:1: records carry no coefficient loops, but the earlier "
                  "segments' do");
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
    mon::RunData data = read(run);
    ASSERT_EQ(data.variables.size(), 3u);
    EXPECT_EQ(data.variables[0].attribute(QStringLiteral("label")), QStringLiteral("a"));
    EXPECT_EQ(data.variables[2].attribute(QStringLiteral("label")), QStringLiteral("c"));
    EXPECT_EQ(data.columns[0], (mon::FloatColumn{1, 10, 11}));
    EXPECT_EQ(data.columns[1], (mon::FloatColumn{2, 20, FLT_MAX}));
    EXPECT_EQ(data.columns[2], (mon::FloatColumn{FLT_MAX, 30, 31}));

    run.write("4.mon", "monitor-file 1\nvar B\nvar C label=\"c\"\nvar B\n");
    EXPECT_EQ(errorText(run.path()),
              run.path() + "/4.mon:4: variable 'B' is already declared on line 2");
    run.write("4.mon", "monitor-file 1\nvar B\nvar D\nvar B label=b\n");
    EXPECT_EQ(errorText(run.path()),
              run.path() + "/4.mon:4: variable 'B' is already declared on line 2");
}

// A segment that starts (after its comments) with the declaration lines the
// one before started with takes them at once: what follows them (more
// declarations, records, a name declared twice) reads as if every line had
// been read.
TEST(RunDirectory, SegmentsStartingWithTheSameDeclarationsReadAsIfReadLineByLine) {
    Folder run;
    const std::string lines = "var A label=a\nvar B\n";
    const auto segment = [&](const std::string& comments, const std::string& rest) {
        return "monitor-file 1\n" + comments + lines + rest;
    };
    run.write("1.mon", segment("", "1 1 2\n"));
    run.write("2.mon", segment("# restarted\n", "2 3 4\nvar C\n3 5 6 7\n"));
    run.write("3.mon", segment("# restarted\n# again\n", "var C\n4 8 9 10\n"));
    run.write("4.mon", segment("", "5 11\n"));
    mon::RunData data = read(run);
    ASSERT_EQ(data.variables.size(), 3u);
    EXPECT_EQ(data.columns[0], (mon::FloatColumn{1, 3, 5, 8, 11}));
    EXPECT_EQ(data.columns[1], (mon::FloatColumn{2, 4, 6, 9, FLT_MAX}));
    EXPECT_EQ(data.columns[2], (mon::FloatColumn{FLT_MAX, FLT_MAX, 7, 10, FLT_MAX}));

    run.write("5.mon", segment("# x\n", "6 1 2\nvar A\n"));
    EXPECT_EQ(errorText(run.path()),
              run.path() + "/5.mon:6: variable 'A' is already declared on line 3");
    run.write("5.mon", segment("", "6 1 2 3\n"));
    EXPECT_EQ(errorText(run.path()),
              run.path() + "/5.mon:4: record has more values than the 2 variables declared so far");
}

}  // namespace
