#include "plot/Legend.h"

#include <gtest/gtest.h>

namespace plot {
namespace {

std::vector<std::string> names(size_t count, const std::string& stem) {
    std::vector<std::string> all;
    for (size_t i = 0; i < count; ++i) all.push_back(stem + " " + std::to_string(i));
    return all;
}

TEST(Legend, FewLinesTakeOneColumnAtFullSize) {
    const LegendLayout layout = layoutLegend(names(4, "RMS P-Mass"), 450, 670);
    EXPECT_EQ(layout.fontSize, 12);
    EXPECT_EQ(layout.columns(4), 1);
    EXPECT_LT(layout.panelWidth(4), 200);
}

TEST(Legend, FiftyLongNamesFitInColumnsAndStayReadable) {
    const std::vector<std::string> many = names(50, "Pressure at the blade tip probe");
    const LegendLayout layout = layoutLegend(many, 450, 500);
    EXPECT_GE(layout.fontSize, 10);
    EXPECT_GE(layout.columns(50), 2);
    EXPECT_LE(layout.panelWidth(50), 450);
    EXPECT_LE(layout.rows * layout.rowHeight, 500);
    EXPECT_GE(layout.maxCharacters, 12u);
}

TEST(Legend, ShortensByCharactersNotBytes) {
    EXPECT_EQ(shortened("Druck \xc3\xa4\xc3\xb6\xc3\xbc", 8), "Druck \xc3\xa4\xe2\x80\xa6");
    EXPECT_EQ(shortened("short", 8), "short");
}

}  // namespace
}  // namespace plot
