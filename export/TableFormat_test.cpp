#include "export/TableFormat.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

// Doubles written with eight digits after the point are "%.8e" of the
// double, whatever the value: the values of solver text (decimals of up to
// 17 digits) and doubles of any bit pattern, ties and carries included.
TEST(TableFormat, DoublesWithEightDigitsAreWrittenAsPrintfWritesThem) {
    std::vector<double> values = {0.05,          283.157,     0.2293788208, 1e-290,
                                  9.999999995e5, 999999999.5, 100000000.5,  1.000000005,
                                  -2.5e-8,       1e290,       5e-324,       1.7976931348623157e308,
                                  0.0,           -0.0,        INFINITY,     -NAN};
    uint64_t state = 42;
    auto next = [&] { return state = state * 6364136223846793005ULL + 1442695040888963407ULL; };
    char text[40];
    for (int i = 0; i < 200000; ++i) {
        uint64_t bits = next();
        double random;
        std::memcpy(&random, &bits, sizeof random);
        values.push_back(random);
        std::snprintf(text, sizeof text, "%.*e", static_cast<int>(next() % 17),
                      std::ldexp(static_cast<double>(next() >> 11), -53) *
                          std::pow(10.0, static_cast<int>(next() % 40) - 20));
        values.push_back(std::strtod(text, nullptr));
    }
    const TableFormat format(8);
    char expected[40], field[40];
    int mismatches = 0;
    for (double value : values) {
        std::snprintf(expected, sizeof expected, "%.8e", value);
        const std::string written(field, format.doubleField(value, 8, field));
        if (written != expected && ++mismatches <= 5) ADD_FAILURE() << value << ": " << written;
    }
    EXPECT_EQ(mismatches, 0);
}
