#include "monplot/PlotOptions.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// The options of a command line whose arguments are separated by '|'.
PlotOptions scan(const std::string& line) {
    std::vector<std::string> words{"monplot"};
    std::istringstream stream(line);
    for (std::string word; std::getline(stream, word, '|');) words.push_back(word);
    std::vector<const char*> args;
    for (const std::string& word : words) args.push_back(word.c_str());
    return scanPlotOptions(static_cast<int>(args.size()), args.data());
}

TEST(PlotOptions, ReadsEveryOption) {
    const PlotOptions options = scan(
        "-dir|run|-mon|other.mon|-out|plots|-png|-pdf|-all|-plot|Forces|-plot|Time|-firsttimestep|"
        "5|-lasttimestep|9x|-watch|2.5|-last|40|-varlist|p;U|-varrule|CATEGORY = FORCE|-x|TIME|"
        "-log|-fullrange");
    ASSERT_EQ(options.sources.size(), 2u);
    EXPECT_EQ(options.sources[0].path, "run");
    EXPECT_EQ(options.sources[0].kind, RunSource::Kind::Directory);
    EXPECT_EQ(options.sources[1].kind, RunSource::Kind::Monitor);
    EXPECT_EQ(options.outFolder, "plots");
    EXPECT_TRUE(options.png && options.pdf && options.allPlots && options.wholeRange);
    EXPECT_EQ(options.plotNames, (std::vector<std::string>{"Forces", "Time"}));
    EXPECT_EQ(options.firstTimestep, 5);
    EXPECT_EQ(options.lastTimestep, 9);
    EXPECT_EQ(options.watchSeconds, 2.5);
    EXPECT_EQ(options.lastSteps, 40);
    EXPECT_EQ(options.varList + "|" + options.varRule + "|" + options.xVariable,
              "p;U|CATEGORY = FORCE|TIME");
    EXPECT_EQ(options.scale, PlotOptions::Scale::Logarithmic);
    EXPECT_EQ(scan("-out|o|-log|-linear").scale, PlotOptions::Scale::Linear);
}

}  // namespace
