#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "tests/CommandRunner.h"

namespace {

ExportSettings scan(std::vector<const char*> args) {
    args.insert(args.begin(), "monexport");
    return scanArguments(static_cast<int>(args.size()), args.data());
}

TEST(SaturatingAtoi, ReadsLikeAtoiAndSaturatesOutsideTheIntRange) {
    const std::pair<const char*, int32_t> cases[] = {{"abc", 0},
                                                     {" 12x", 12},
                                                     {"\t\n-5", -5},
                                                     {"+7", 7},
                                                     {"- 7", 0},
                                                     {"", 0},
                                                     {"1e99999999999", 1},
                                                     {"2147483647", 2147483647},
                                                     {"-2147483648", -2147483647 - 1},
                                                     {"2147483648", 2147483647},
                                                     {"99999999999999999999999", 2147483647},
                                                     {"-2147483649", -2147483647 - 1}};
    for (const auto& [text, value] : cases) EXPECT_EQ(saturatingAtoi(text), value) << text;
}

TEST(ScanArguments, ValuesAreTakenWholeAndTheLastOfEachOptionWins) {
    ExportSettings s = scan({"-res", "-dir", "-varlist", "-out", "-mon", "", "-firsttimestep",
                             " 12x", "-lasttimestep", "-5"});
    EXPECT_EQ(std::tie(s.resFile, s.varList, s.monFile, s.runDir),
              std::make_tuple("-dir", "-out", "", ""));
    EXPECT_EQ(std::make_pair(s.firstTimestep, s.lastTimestep), std::make_pair(12, -5));
    EXPECT_EQ(scan({"-res", "a", "-res", "b"}).resFile, "b");
    const std::pair<std::vector<const char*>, ExportMode> modes[] = {
        {{}, TimeHistory},
        {{"-varinfo", "-showvars"}, ShowVars},
        {{"-showvars", "-lastvaluesonly"}, LastValues},
        {{"-lastvaluesonly", "-plotinfo"}, PlotInfo},
        {{"-RES", "x", "-re", "-res=y", "-showvarsx", "", "-Noheader", "stats", "-5"}, TimeHistory},
    };
    for (const auto& [args, mode] : modes) {
        const ExportSettings scanned = scan(args);
        EXPECT_EQ(scanned.mode, mode);
        EXPECT_TRUE(scanned.header && scanned.coeffLoops && !scanned.help);
        EXPECT_TRUE(scanned.resFile.empty());
    }
    s = scan({"-noheader", "-noheader", "-nocoeffloops", "--version", "-h"});
    EXPECT_FALSE(s.header || s.coeffLoops);
    EXPECT_TRUE(s.help && s.version);
    EXPECT_TRUE(scan({"-help"}).help && scan({"--help"}).help);
    EXPECT_FALSE(scan({"-out", "-help"}).help);
}

TEST(ScanArguments, OptionWithoutValueAtTheEndIsReported) {
    for (const char* option : {"-res", "-dir", "-mon", "-out", "-varlist", "-varrule",
                               "-firsttimestep", "-lasttimestep"}) {
        EXPECT_EQ(e2e::errorOf([&] {
                      scan({"-showvars", option});
                  }),
                  std::string("Missing value for option ") + option + ".");
    }
}

// Near misses of added options, and in a gate or study every unknown '-'
// argument, are errors; near misses of the fourteen first ones are not.
TEST(ScanArguments, RefusesWhatAGateOrAnAddedOptionCouldMisread) {
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"-stats", "-convergd", "R : below 1"}, "did you mean '-converged'?"},
        {{"--Reference", "r.csv"}, "did you mean '-reference'?"},
        {{"-HELP"}, "did you mean '-help'?"},
        {{"-res", "r", "-varlst", "x", "-converged", "c"}, "did you mean '-varlist'?"},
        {{"-study", "a", "-xyz"}, "Unknown option '-xyz': with -converged, -reference or -study"},
        {{"-window", "ten"},
         "Invalid value 'ten' for option -window: expected 'auto' or a number."},
        {{"-cauchy", "", "-convergd", "c"},
         "Invalid value '' for option -cauchy: expected a number."},
        {{"-convergd", "c", "-cauchy", "x"}, "Unknown option '-convergd'"},
    };
    for (const auto& [args, message] : cases) {
        const std::string error = e2e::errorOf([&] { scan(args); });
        EXPECT_NE(error.find(message), std::string::npos) << error;
        std::vector<const char*> asking = args;
        asking.push_back("--version");
        EXPECT_TRUE(scan(asking).version);  // asked for the version, the command does no more
    }
    EXPECT_EQ(scan({"-varlst", "x", "-xyz", "-window", "auto", "-cauchy", "1e2"}).cauchy, "1e2");
    EXPECT_EQ(scan({"-converged", "c", "stray", "-window", "5"}).window, "5");
}

}  // namespace
