#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

#include "libs/exception/Error.h"

namespace {

ExportSettings scan(std::vector<const char*> args) {
    args.insert(args.begin(), "monexport");
    return scanArguments(static_cast<int>(args.size()), args.data());
}

TEST(SaturatingAtoi, ReadsLikeAtoiAndSaturatesOutsideTheIntRange) {
    const std::pair<const char*, int32_t> cases[] = {
        {"abc", 0},
        {" 12x", 12},
        {"\t\n-5", -5},
        {"+7", 7},
        {"- 7", 0},
        {"", 0},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", 2147483647},
        {"99999999999999999999999", 2147483647},
        {"-2147483649", -2147483647 - 1},
        {"1e99999999999", 1},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(saturatingAtoi(text), value) << text;
}

TEST(ScanArguments, ValuesAreTakenWholeAndTheLastOfEachOptionWins) {
    ExportSettings s = scan({"-res", "-dir", "-varlist", "-out", "-mon", "", "-firsttimestep",
                             " 12x", "-lasttimestep", "-5"});
    EXPECT_EQ(s.resFile, "-dir");
    EXPECT_EQ(s.varList, "-out");
    EXPECT_EQ(s.monFile, "");
    EXPECT_EQ(s.runDir, "");
    EXPECT_EQ(s.firstTimestep, 12);
    EXPECT_EQ(s.lastTimestep, -5);
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
        try {
            scan({"-showvars", option});
            ADD_FAILURE() << option << " without value was accepted";
        } catch (const owl::Error& e) {
            EXPECT_EQ(e.getErrorText(), std::string("Missing value for option ") + option + ".");
        }
    }
}

}  // namespace
