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

// The drawing tests (tests/monplot_test.cpp) see the other options at work;
// these they cannot see.
TEST(PlotOptions, ReadsWhatThePlotsDoNotShow) {
    const PlotOptions options =
        scan("-dir|run|-out|plots|-fullrange|-lasttimestep|9x|-log|-linear");
    ASSERT_EQ(options.sources.size(), 1u);
    EXPECT_EQ(options.sources[0].path, "run");
    EXPECT_EQ(options.sources[0].kind, RunSource::Kind::Directory);
    EXPECT_TRUE(options.wholeRange);
    EXPECT_EQ(options.lastTimestep, 9);
    EXPECT_EQ(options.scale, PlotOptions::Scale::Linear);
}

}  // namespace
