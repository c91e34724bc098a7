// The option scan, the choice of source and output, and the two-line error
// report, through the real binary.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <tuple>

#include "tests/CommandRunner.h"

namespace {

using e2e::example;
using e2e::failsWith;
using e2e::monexport;

TEST(CommandLine, MistakesGiveTheTwoLineReport) {
    const std::string steady = example("steady.mon");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "No valid data source has been specified."},
        {{"-RES", "x", "-showvars"}, "No valid data source has been specified."},
        {{"-res", ""}, "No valid data source has been specified."},
        {{"-res", "", "-dir", "", "-mon", ""}, "No valid data source has been specified."},
        {{"", "stray", "-showvarsx"}, "No valid data source has been specified."},
        {{"-showvars", "-mon", steady, "-res"}, "Missing value for option -res."},
        {{"-showvars", "-mon", "/nonexistent/run.mon"},
         "Cannot read '/nonexistent/run.mon': No such file or directory."},
        // A results file comes before a run directory, which comes before a monitor file.
        {{"-showvars", "-mon", steady, "-dir", "/nonexistent/run", "-res", "/nonexistent/run.res"},
         "Cannot read '/nonexistent/run.res': No such file or directory."},
        {{"-showvars", "-mon", steady, "-dir", "/nonexistent/run"},
         "Cannot read run directory '/nonexistent/run': No such file or directory."},
    };
    for (const auto& [args, message] : cases) EXPECT_TRUE(failsWith(monexport(args), message));
    // -res takes "-dir" as its path, so the results file "-dir" is read.
    e2e::Result r = monexport({"-showvars", "-res", "-dir", "-mon", steady});
    EXPECT_EQ(r.status, 255);
    EXPECT_NE(r.err.find("'-dir'"), std::string::npos) << r.err;
}

// The last mode option and the last source win; an empty -out is standard output.
TEST(CommandLine, LastModeAndSourceWin) {
    EXPECT_EQ(e2e::monexportOutput({"-varinfo", "-showvars", "-out", "", "-mon", "/nonexistent.mon",
                                    "-mon", example("steady.mon")})
                  .substr(0, 21),
              "ACCUMULATED TIMESTEP\n");
}

// The usage is the README's option table: every option it lists.
TEST(CommandLine, HelpAndVersionPrintOnStandardOutputAndDoNothingElse) {
    const std::string readme = e2e::readFile(e2e::sourcePath("README.md"));
    for (const char* option : {"-h", "-help", "--help"}) {
        const std::string usage = e2e::monexportOutput({"-mon", "/nonexistent.mon", option});
        EXPECT_EQ(usage.substr(0, 17), "Usage: monexport ") << option;
        for (size_t at = readme.find("\n| `-"); at != std::string::npos;
             at = readme.find("\n| `-", at + 1)) {
            const std::string name =
                readme.substr(at + 4, readme.find_first_of("` ", at + 4) - at - 4);
            EXPECT_NE(usage.find("  " + name), std::string::npos) << name;
        }
    }
    const std::string version = e2e::monexportOutput({"--version"});
    EXPECT_EQ(version.substr(0, 10), "monexport ");
    EXPECT_EQ(version.find_first_not_of("0123456789.", 10), version.size() - 1) << version;
}

// A misspelt option must not pass where it could change what the command
// says: near misses of the options added to the first fourteen, unknown
// options of a gate or a study, numbers that are not numbers. Near misses
// of the first fourteen stay silent. monplot and monpack name the option
// meant too, and all three print their usage and version.
TEST(CommandLine, MisspeltOptionsFailWhereTheyCouldMislead) {
    e2e::TempDir dir;
    const std::string steady = example("steady.mon"), gate = "CATEGORY = RESIDUAL : below 1";
    const std::string ref = dir.write("ref.csv", e2e::monexportOutput({"-mon", steady, "-stats"}));
    const std::string run = "-mon|" + steady + "|";
    // program, arguments separated by '|', status, words on stdout (stderr for 255)
    const std::tuple<std::string, std::string, int, std::string> cases[] = {
        {"monexport", run + "-stats|-convergd|" + gate, 255,
         "Unknown option '-convergd': did you mean '-converged'?"},
        {"monexport", run + "-stats|-converged|" + gate, 0, "VERDICT"},
        {"monexport", run + "-stats|--Refrence|" + ref, 255, "did you mean '-reference'?"},
        {"monexport", run + "-stats|-reference|" + ref, 1, "window too short"},
        {"monexport", run + "-stats|-xyz|-converged|" + gate, 255,
         "Unknown option '-xyz': with -converged, -reference or -study every argument"},
        {"monexport", "-study|" + steady + "|-varlst|x", 255, "did you mean '-varlist'?"},
        {"monexport", run + "-stats|-xyz|-varlst|x|-Noheader", 0, "\"VARIABLE\""},
        {"monexport", run + "-stats|-window|ten", 255,
         "Invalid value 'ten' for option -window: expected 'auto' or a number."},
        {"monexport", run + "-stats|-window|20|-cauchy|5", 0, "\"VARIABLE\""},
        {"monexport", run + "-stats|-cauchy|x", 255, "option -cauchy: expected a number."},
        {"monexport", run + "-showvars|-lasttimestep|x", 0, "ACCUMULATED TIMESTEP"},
        {"monplot", run + "-out|" + dir.path() + "|-pgn", 255, "did you mean '-png'?"},
        {"monplot", "-h", 0, "Usage: monplot "},
        {"monplot", run + "--help", 0, "Usage: monplot "},
        {"monplot", "--version", 0, "monplot 0."},
        {"monpack", run + "-out|x.res|-dflate|3", 255, "did you mean '-deflate'?"},
        {"monpack", run + "-help", 0, "Usage: monpack "},
        {"monpack", "--version", 0, "monpack 0."},
    };
    for (const auto& [program, line, status, words] : cases) {
        std::vector<std::string> args;
        for (size_t at = 0; at <= line.size();) {
            const size_t bar = std::min(line.find('|', at), line.size());
            args.push_back(line.substr(at, bar - at));
            at = bar + 1;
        }
        const e2e::Result r = e2e::run(e2e::binary(program), args);
        EXPECT_EQ(r.status, status) << line << "\n" << r.err;
        EXPECT_NE((status == 255 ? r.err : r.out).find(words), std::string::npos) << line;
        EXPECT_TRUE(status == 255 || r.err.empty()) << line << "\n" << r.err;
    }
}

// -out: failures that must never pass silently.
TEST(OutputFile, FailuresToOpenAreErrorsAndCreateNothing) {
    e2e::TempDir dir;
    ::mkdir(dir.file("locked").c_str(), 0500);
    std::vector<std::pair<std::string, std::string>> cases = {
        // -out, the fault
        {dir.file("no/such/out.txt"), "No such file or directory"},
        {dir.path(), "Is a directory"}};
    if (::geteuid() != 0) cases.push_back({dir.file("locked/x"), "Permission denied"});  // not root
    for (const auto& [out, fault] : cases)
        EXPECT_TRUE(failsWith(monexport({"-showvars", "-mon", example("steady.mon"), "-out", out}),
                              "Cannot open output file '" + out + "': " + fault + "."));
    // Without a source nothing is written, and the file is not created.
    EXPECT_TRUE(failsWith(monexport({"-showvars", "-out", dir.file("never.txt")}),
                          "No valid data source has been specified."));
    EXPECT_FALSE(e2e::fileExists(dir.file("never.txt")));
}

TEST(OutputFile, RefusesToOverwriteTheDataSource) {
    e2e::TempDir dir;
    const std::string mon = dir.file("run.mon");
    const std::string text = e2e::readFile(example("steady.mon"));
    e2e::writeFile(mon, text);
    ASSERT_EQ(::link(mon.c_str(), dir.file("alias.mon").c_str()), 0);
    for (const std::string& out : {mon, dir.path() + "/./run.mon", dir.file("alias.mon")}) {
        EXPECT_TRUE(failsWith(
            monexport({"-showvars", "-mon", mon, "-out", out}),
            "Refusing to write the output to '" + out + "': it is the data source '" + mon + "'."));
        EXPECT_EQ(e2e::readFile(mon), text);
    }
}

}  // namespace
