#include "monplot/PlotOptions.h"

#include <gtest/gtest.h>

namespace {

PlotOptions scan(std::vector<const char*> args) {
    args.insert(args.begin(), "monplot");
    return scanPlotOptions(static_cast<int>(args.size()), args.data());
}

TEST(PlotOptions, ReadsEveryOption) {
    const PlotOptions options = scan({"-dir",
                                      "run",
                                      "-mon",
                                      "other.mon",
                                      "-out",
                                      "plots",
                                      "-png",
                                      "-pdf",
                                      "-all",
                                      "-plot",
                                      "Forces",
                                      "-plot",
                                      "Time",
                                      "-firsttimestep",
                                      "5",
                                      "-lasttimestep",
                                      "9x",
                                      "-watch",
                                      "2.5",
                                      "-last",
                                      "40",
                                      "-varlist",
                                      "p;U",
                                      "-varrule",
                                      "CATEGORY = FORCE",
                                      "-x",
                                      "TIME",
                                      "-log",
                                      "-fullrange"});
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
    EXPECT_EQ(scan({"-out", "o", "-log", "-linear"}).scale, PlotOptions::Scale::Linear);
}

}  // namespace
