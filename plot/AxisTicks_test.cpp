#include "plot/AxisTicks.h"

#include <gtest/gtest.h>

namespace plot {
namespace {

std::vector<std::string> labels(const Axis& axis) {
    std::vector<std::string> all;
    for (const Tick& tick : axis.ticks)
        if (!tick.label.empty()) all.push_back(tick.label);
    return all;
}

TEST(AxisTicks, LinearAxesEndOnNiceSteps) {
    const Axis axis = linearAxis(3, 97);
    EXPECT_EQ(axis.low, 0);
    EXPECT_EQ(axis.high, 100);
    EXPECT_EQ(labels(axis), (std::vector<std::string>{"0", "20", "40", "60", "80", "100"}));
    EXPECT_EQ(labels(linearAxis(-0.23, 0.26)),
              (std::vector<std::string>{"-0.3", "-0.2", "-0.1", "0", "0.1", "0.2", "0.3"}));
    EXPECT_EQ(labels(linearAxis(101003, 101151)),
              (std::vector<std::string>{"101000", "101020", "101040", "101060", "101080", "101100",
                                        "101120", "101140", "101160"}));
}

TEST(AxisTicks, OneValueIsWidened) {
    const Axis axis = linearAxis(5, 5);
    EXPECT_LT(axis.low, 5);
    EXPECT_GT(axis.high, 5);
    EXPECT_GE(axis.ticks.size(), 3u);
    EXPECT_LT(linearAxis(0, 0).low, 0);
}

// Value axes leave a margin: their ends lie beyond the data, on nice values.
TEST(AxisTicks, MarginsPutTheEndsBeyondTheData) {
    const struct {
        Axis axis;
        double low, high;
        std::vector<std::string> labels;
    } cases[] = {
        {linearAxis(3, 97, true), -20, 120, {"-20", "0", "20", "40", "60", "80", "100", "120"}},
        {linearAxis(5, 5, true), 4.4, 5.6, {"4.4", "4.6", "4.8", "5.0", "5.2", "5.4", "5.6"}},
        {logarithmicAxis(1e-5, 0.1, true), 5e-6, 0.2, {"10⁻⁵", "10⁻⁴", "10⁻³", "10⁻²", "10⁻¹"}},
        {logarithmicAxis(0.3, 0.8, true), 0.2, 1, {"0.2", "10⁰"}},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(c.axis.low, c.low);
        EXPECT_DOUBLE_EQ(c.axis.high, c.high);
        EXPECT_EQ(labels(c.axis), c.labels);
    }
}

TEST(AxisTicks, LabelsCarryTheDecimalsOfTheirStep) {
    EXPECT_EQ(linearLabel(0.25, 0.05), "0.25");
    EXPECT_EQ(linearLabel(1500, 500), "1500");
    EXPECT_EQ(linearLabel(2.5e-6, 5e-7), "2.5e-6");
    EXPECT_EQ(linearLabel(3e7, 1e7), "3e7");
    EXPECT_EQ(linearLabel(1e-12, 0.1), "0");
    EXPECT_EQ(linearLabel(20.000005, 5e-6), "20.000005");  // a time late in a fine run
}

TEST(AxisTicks, LogarithmicAxesSpanDecadesWithMinorTicks) {
    const Axis axis = logarithmicAxis(3e-6, 0.5);
    EXPECT_TRUE(axis.logarithmic);
    EXPECT_DOUBLE_EQ(axis.low, 1e-6);
    EXPECT_DOUBLE_EQ(axis.high, 1);
    EXPECT_EQ(labels(axis),
              (std::vector<std::string>{"10⁻⁶", "10⁻⁵", "10⁻⁴", "10⁻³", "10⁻²", "10⁻¹", "10⁰"}));
    EXPECT_EQ(axis.ticks.size(), 7u + 6 * 8);
    EXPECT_DOUBLE_EQ(axis.fraction(1e-3), 0.5);
}

TEST(AxisTicks, ManyDecadesLabelEveryOtherOneAndDropMinorTicks) {
    const Axis axis = logarithmicAxis(1e-14, 1e2);
    EXPECT_EQ(axis.ticks.size(), 17u);
    EXPECT_EQ(labels(axis), (std::vector<std::string>{"10⁻¹⁴", "10⁻¹²", "10⁻¹⁰", "10⁻⁸", "10⁻⁶",
                                                      "10⁻⁴", "10⁻²", "10⁰", "10²"}));
    EXPECT_EQ(labels(logarithmicAxis(2, 2)), (std::vector<std::string>{"10⁰", "10¹"}));
}

}  // namespace
}  // namespace plot
