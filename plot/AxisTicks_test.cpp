#include "plot/AxisTicks.h"

#include <gtest/gtest.h>

namespace plot {
namespace {

// The tick labels of an axis, separated by spaces.
std::string labels(const Axis& axis) {
    std::string all;
    for (const Tick& tick : axis.ticks)
        if (!tick.label.empty()) all += (all.empty() ? "" : " ") + tick.label;
    return all;
}

// Axes end on nice values; with a margin, beyond the data. Many decades
// label every other one and drop their minor ticks.
TEST(AxisTicks, EndsLabelsAndTickCounts) {
    const struct {
        Axis axis;
        double low, high;
        std::string labels;
        size_t ticks;  // 0: not checked
    } cases[] = {
        {linearAxis(3, 97), 0, 100, "0 20 40 60 80 100", 0},
        {linearAxis(-0.23, 0.26), -0.3, 0.3, "-0.3 -0.2 -0.1 0 0.1 0.2 0.3", 0},
        {linearAxis(101003, 101151), 101000, 101160,
         "101000 101020 101040 101060 101080 101100 101120 101140 101160", 0},
        {linearAxis(3, 97, true), -20, 120, "-20 0 20 40 60 80 100 120", 0},
        {linearAxis(5, 5, true), 4.4, 5.6, "4.4 4.6 4.8 5.0 5.2 5.4 5.6", 0},
        // one value is widened around it
        {linearAxis(5, 5), 4.4, 5.6, "4.4 4.6 4.8 5.0 5.2 5.4 5.6", 0},
        {linearAxis(0, 0), -1, 1, "-1.0 -0.5 0 0.5 1.0", 0},
        {logarithmicAxis(1e-5, 0.1, true), 5e-6, 0.2, "10⁻⁵ 10⁻⁴ 10⁻³ 10⁻² 10⁻¹", 0},
        // fewer than three decades: 2× and 5× labelled, or nice ticks between
        {logarithmicAxis(0.3, 0.8, true), 0.2, 1, "2×10⁻¹ 5×10⁻¹ 10⁰", 0},
        {logarithmicAxis(2.2e-4, 2.8e-4, true), 1e-4, 5e-4, "10⁻⁴ 2×10⁻⁴ 5×10⁻⁴", 0},
        {logarithmicAxis(1.3, 1.6, true), 1, 2, "1.0 1.2 1.4 1.6 1.8 2.0", 6},
        {logarithmicAxis(3e-6, 0.5), 1e-6, 1, "10⁻⁶ 10⁻⁵ 10⁻⁴ 10⁻³ 10⁻² 10⁻¹ 10⁰", 7 + 6 * 8},
        {logarithmicAxis(1e-14, 1e2), 1e-14, 1e2, "10⁻¹⁴ 10⁻¹² 10⁻¹⁰ 10⁻⁸ 10⁻⁶ 10⁻⁴ 10⁻² 10⁰ 10²",
         17},
        {logarithmicAxis(2, 2), 1, 10, "10⁰ 2 5 10¹", 0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(c.axis.low, c.low) << c.labels;
        EXPECT_DOUBLE_EQ(c.axis.high, c.high) << c.labels;
        EXPECT_EQ(labels(c.axis), c.labels);
        EXPECT_EQ(c.ticks ? c.axis.ticks.size() : 0, c.ticks) << c.labels;
    }
    EXPECT_TRUE(logarithmicAxis(3e-6, 0.5).logarithmic);
    EXPECT_DOUBLE_EQ(logarithmicAxis(3e-6, 0.5).fraction(1e-3), 0.5);
}

TEST(AxisTicks, LabelsCarryTheDecimalsOfTheirStep) {
    EXPECT_EQ(linearLabel(0.25, 0.05) + " " + linearLabel(1500, 500) + " " +
                  linearLabel(2.5e-6, 5e-7) + " " + linearLabel(3e7, 1e7) + " " +
                  linearLabel(1e-12, 0.1) + " " + linearLabel(20.000005, 5e-6),
              "0.25 1500 2.5e-6 3e7 0 20.000005");  // the last: a time late in a fine run
    EXPECT_EQ(logLabel(1.2e-3, 2e-4) + " " + logLabel(1e-3, 1e-3) + " " + logLabel(2.5, 0.5) + " " +
                  compactNumber(2.7e-28) + " " + compactNumber(0.00123),
              "1.2×10⁻³ 10⁻³ 2.5 2.7e-28 0.0012");
}

}  // namespace
}  // namespace plot
