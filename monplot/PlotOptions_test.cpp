#include "monplot/PlotOptions.h"

#include <gtest/gtest.h>

namespace {

PlotOptions scan(std::vector<const char*> args) {
    args.insert(args.begin(), "monplot");
    return scanPlotOptions(static_cast<int>(args.size()), args.data());
}

TEST(PlotOptions, ReadsEveryOption) {
    const PlotOptions options =
        scan({"-dir", "run", "-out", "plots", "-png", "-pdf", "-all", "-plot", "Forces", "-plot",
              "Time", "-firsttimestep", "5", "-lasttimestep", "9x", "-watch", "2.5"});
    EXPECT_EQ(options.runDir, "run");
    EXPECT_EQ(options.outFolder, "plots");
    EXPECT_TRUE(options.png && options.pdf && options.allPlots);
    EXPECT_EQ(options.plotNames, (std::vector<std::string>{"Forces", "Time"}));
    EXPECT_EQ(options.firstTimestep, 5);
    EXPECT_EQ(options.lastTimestep, 9);
    EXPECT_EQ(options.watchSeconds, 2.5);
}

TEST(PlotOptions, DrawsOnceWithoutExtraFilesByDefault) {
    const PlotOptions options = scan({"-mon", "run.mon", "-out", "plots", "-out", "other"});
    EXPECT_EQ(options.outFolder, "other");
    EXPECT_FALSE(options.png || options.pdf || options.allPlots);
    EXPECT_EQ(options.watchSeconds, 0);
    EXPECT_TRUE(options.plotNames.empty());
}

}  // namespace
