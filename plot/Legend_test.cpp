#include "plot/Legend.h"

#include <gtest/gtest.h>

namespace plot {
namespace {

std::vector<std::string> names(size_t count, const std::string& stem) {
    std::vector<std::string> all;
    for (size_t i = 0; i < count; ++i) all.push_back(stem + " " + std::to_string(i));
    return all;
}

// A few lines take one column at full size; fifty long names fit in
// columns and stay readable.
TEST(Legend, FitsFewAndManyLines) {
    const LegendLayout few = layoutLegend(names(4, "RMS P-Mass"), 450, 670);
    EXPECT_EQ(few.fontSize, 12);
    EXPECT_EQ(few.columns(4), 1);
    EXPECT_LT(few.panelWidth(4), 200);
    const LegendLayout many = layoutLegend(names(50, "Pressure at the blade tip probe"), 450, 500);
    EXPECT_GE(many.fontSize, 10);
    EXPECT_GE(many.columns(50), 2);
    EXPECT_LE(many.panelWidth(50), 450);
    EXPECT_LE(many.rows * many.rowHeight, 500);
    EXPECT_GE(many.maxCharacters, 12u);
}

TEST(Legend, ShortensByCharactersNotBytes) {
    EXPECT_EQ(shortened("Druck \xc3\xa4\xc3\xb6\xc3\xbc", 8), "Druck \xc3\xa4\xe2\x80\xa6");
    EXPECT_EQ(shortened("short", 8), "short");
}

}  // namespace
}  // namespace plot
