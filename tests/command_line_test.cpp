// The option scan and the two-line error report, through the real binary.

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

using e2e::errorReport;
using e2e::monexport;

const std::string kNoSource = errorReport("No valid data source has been specified.");

using e2e::example;

TEST(CommandLine, NoSourceGivesTheTwoLineReport) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{},
                                               {"-RES", "x", "-showvars"},
                                               {"-res", ""},
                                               {"-res", "", "-dir", "", "-mon", ""},
                                               {"", "stray", "-showvarsx"}}) {
        e2e::Result r = monexport(args);
        EXPECT_EQ(r.status, 255);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, kNoSource);
    }
}

TEST(CommandLine, LastModeOptionWins) {
    e2e::Result r = monexport({"-varinfo", "-showvars", "-mon", example("steady.mon")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, 21), "ACCUMULATED TIMESTEP\n");
}

TEST(CommandLine, ValueIsTakenEvenWhenItLooksLikeAnOption) {
    // -res takes "-dir" as its path, so the results file "-dir" is read.
    e2e::Result r = monexport({"-showvars", "-res", "-dir", "-mon", example("steady.mon")});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("'-dir'"), std::string::npos) << r.err;
}

TEST(CommandLine, RepeatedSourceUsesTheLast) {
    e2e::Result r =
        monexport({"-showvars", "-mon", "/nonexistent.mon", "-mon", example("steady.mon")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
}

TEST(CommandLine, OptionWithoutValueAtTheEndIsReported) {
    e2e::Result r = monexport({"-showvars", "-mon", example("steady.mon"), "-res"});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, errorReport("Missing value for option -res."));
    EXPECT_EQ(monexport({"-lasttimestep"}).err,
              errorReport("Missing value for option -lasttimestep."));
}

TEST(CommandLine, UnreadableMonitorFileNamesPathAndReason) {
    e2e::Result r = monexport({"-showvars", "-mon", "/nonexistent/run.mon"});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err, errorReport("Cannot read '/nonexistent/run.mon': No such file or directory."));
}

// The usage is the README's option table: every option it lists.
TEST(CommandLine, HelpAndVersionPrintOnStandardOutputAndDoNothingElse) {
    const std::string readme = e2e::readFile(e2e::sourcePath("README.md"));
    for (const char* option : {"-h", "-help", "--help"}) {
        e2e::Result r = monexport({"-mon", "/nonexistent.mon", option});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out.substr(0, 17), "Usage: monexport ") << option;
        for (size_t at = readme.find("\n| `-"); at != std::string::npos;
             at = readme.find("\n| `-", at + 1)) {
            const std::string name =
                readme.substr(at + 4, readme.find_first_of("` ", at + 4) - at - 4);
            EXPECT_NE(r.out.find("  " + name), std::string::npos) << name;
        }
    }
    e2e::Result r = monexport({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, 10), "monexport ");
    EXPECT_EQ(r.out.find_first_not_of("0123456789.", 10), r.out.size() - 1) << r.out;
}

}  // namespace
