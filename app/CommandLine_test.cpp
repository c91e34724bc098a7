#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

#include "libs/exception/Error.h"

namespace {

ExportSettings scan(std::vector<const char*> args) {
    args.insert(args.begin(), "monexport");
    return scanArguments(static_cast<int>(args.size()), args.data());
}

TEST(SaturatingAtoi, ReadsLikeAtoi) {
    EXPECT_EQ(saturatingAtoi("abc"), 0);
    EXPECT_EQ(saturatingAtoi(" 12x"), 12);
    EXPECT_EQ(saturatingAtoi("\t\n-5"), -5);
    EXPECT_EQ(saturatingAtoi("+7"), 7);
    EXPECT_EQ(saturatingAtoi("- 7"), 0);
    EXPECT_EQ(saturatingAtoi(""), 0);
    EXPECT_EQ(saturatingAtoi("2147483647"), 2147483647);
    EXPECT_EQ(saturatingAtoi("-2147483648"), -2147483647 - 1);
}

TEST(SaturatingAtoi, SaturatesOutsideTheIntRange) {
    EXPECT_EQ(saturatingAtoi("2147483648"), 2147483647);
    EXPECT_EQ(saturatingAtoi("99999999999999999999999"), 2147483647);
    EXPECT_EQ(saturatingAtoi("-2147483649"), -2147483647 - 1);
    EXPECT_EQ(saturatingAtoi("-99999999999999999999"), -2147483647 - 1);
}

TEST(ScanArguments, DefaultsWithoutArguments) {
    ExportSettings s = scan({});
    EXPECT_EQ(s.mode, TimeHistory);
    EXPECT_TRUE(s.coeffLoops);
    EXPECT_TRUE(s.header);
    EXPECT_EQ(s.firstTimestep, 0);
    EXPECT_TRUE(s.resFile.empty() && s.runDir.empty() && s.monFile.empty() && s.outFile.empty());
}

TEST(ScanArguments, ValueOptionsTakeTheNextArgumentWhateverItIs) {
    ExportSettings s = scan({"-res", "-dir", "-varlist", "-out", "-mon", ""});
    EXPECT_EQ(s.resFile, "-dir");
    EXPECT_EQ(s.varList, "-out");
    EXPECT_EQ(s.monFile, "");
    EXPECT_EQ(s.runDir, "");
}

TEST(ScanArguments, LastModeAndLastValueWin) {
    ExportSettings s = scan({"-varinfo", "-showvars", "-res", "a", "-res", "b"});
    EXPECT_EQ(s.mode, ShowVars);
    EXPECT_EQ(s.resFile, "b");
    EXPECT_EQ(scan({"-showvars", "-lastvaluesonly"}).mode, LastValues);
    EXPECT_EQ(scan({"-lastvaluesonly", "-plotinfo"}).mode, PlotInfo);
}

TEST(ScanArguments, OnlyWholeCaseSensitiveNamesMatch) {
    ExportSettings s =
        scan({"-RES", "x", "-re", "-res=y", "-resfile", "-showvarsx", "", "-Noheader"});
    EXPECT_TRUE(s.resFile.empty());
    EXPECT_EQ(s.mode, TimeHistory);
    EXPECT_TRUE(s.header);
}

TEST(ScanArguments, FlagsOnlyClear) {
    ExportSettings s = scan({"-noheader", "-noheader", "-nocoeffloops"});
    EXPECT_FALSE(s.header);
    EXPECT_FALSE(s.coeffLoops);
}

TEST(ScanArguments, TimeStepsUseSaturatingAtoi) {
    ExportSettings s = scan({"-firsttimestep", " 12x", "-lasttimestep", "-5"});
    EXPECT_EQ(s.firstTimestep, 12);
    EXPECT_EQ(s.lastTimestep, -5);
    EXPECT_EQ(scan({"-firsttimestep", "abc"}).firstTimestep, 0);
    EXPECT_EQ(scan({"-lasttimestep", "1e99999999999"}).lastTimestep, 1);
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
