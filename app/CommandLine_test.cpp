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
        {{"-RES", "x", "-re", "-res=y", "-showvarsx", "", "-Noheader", "-HELP"}, TimeHistory},
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

}  // namespace
