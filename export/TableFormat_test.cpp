#include "export/TableFormat.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

using owl::TableFormat;

TEST(TableFormat, EmptyFieldsKeepEveryComma) {
    std::string text;
    TableFormat(8).appendLine({FLT_MAX, FLT_MAX, FLT_MAX}, {true, false, false}, text);
    TableFormat(8).appendLine({}, {}, text);
    TableFormat(8).appendLine({7.9f, -0.5f, FLT_MAX}, {true, false, true}, text);
    TableFormat(8).appendLine({-FLT_MAX, NAN, -NAN}, {true, true, false}, text);
    EXPECT_EQ(text, ",,\n\n7,-5.00000000e-01,\n-2147483648,,-nan\n");
}

TEST(TableFormat, OtherPrecisions) {
    std::string text;
    TableFormat(3).appendLine({1.25f, 3.0f}, {false, true}, text);
    EXPECT_EQ(text, "1.250e+00,3\n");
    EXPECT_GE(TableFormat(30).maxLineBytes(1), 38u + 2);
}
