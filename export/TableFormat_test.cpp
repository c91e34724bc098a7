#include "export/TableFormat.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

using owl::TableField;
using owl::TableFormat;

namespace {
TableField number(float value) {
    return {value, false, std::nullopt};
}
TableField whole(float value) {
    return {value, true, std::nullopt};
}
TableField key(int32_t exact) {
    return {FLT_MAX, true, exact};
}
}  // namespace

TEST(TableFormat, EmptyFieldsKeepEveryCommaAtAnyPrecision) {
    std::string text;
    TableFormat(8).appendLine({whole(FLT_MAX), number(FLT_MAX), number(FLT_MAX)}, text);
    TableFormat(8).appendLine({}, text);
    TableFormat(8).appendLine({whole(7.9f), number(-0.5f), whole(FLT_MAX)}, text);
    TableFormat(8).appendLine({whole(-FLT_MAX), whole(NAN), number(-NAN)}, text);
    EXPECT_EQ(text, ",,\n\n7,-5.00000000e-01,\n-2147483648,,-nan\n");
    text.clear();  // another precision
    TableFormat(3).appendLine({number(1.25f), whole(3.0f)}, text);
    EXPECT_EQ(text, "1.250e+00,3\n");
    EXPECT_GE(TableFormat(30).maxLineBytes(1), 38u + 2);
}

// Steps above 2^24 have no float of their own: a key field is written from
// its exact number, whatever the float beside it says.
TEST(TableFormat, RecordKeysAreWrittenExactly) {
    std::string text;
    TableFormat(8).appendLine({key(16777217), key(2147483583), whole(16777217.0f)}, text);
    TableFormat(8).appendLine({key(INT32_MAX), key(0), key(INT32_MIN), number(1.0f)}, text);
    EXPECT_EQ(text, "16777217,2147483583,16777216\n2147483647,0,-2147483648,1.00000000e+00\n");
}
