#include "libs/mondata/text/DecimalFloat.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "libs/mondata/text/CommonFloat.h"

namespace {

// The general reader that the fast one must agree with, bit for bit.
float reference(const std::string& text) {
    float value = 0;
    const char* begin = text.data() + (text[0] == '+' ? 1 : 0);
    std::from_chars(begin, text.data() + text.size(), value);
    return value;
}

void expectExact(const std::string& text) {
    float fast = 0;
    if (!mon::readDecimalFloat(text, fast)) return;  // left to the general reader
    float expected = reference(text);
    EXPECT_EQ(std::memcmp(&fast, &expected, sizeof fast), 0) << text;
}

// The common-shape reader against the general value reader, bit for bit, on
// the token alone and followed by a blank and more text (as in a record).
void expectCommonShapeExact(const std::string& token) {
    float general = 0;
    ASSERT_EQ(mon::readFloatValue(token, general), mon::FloatRead::Ok) << token;
    for (const std::string& line : {token, token + " 1.5e+00 2.5e+00", token + "\t-"}) {
        float fast = 0;
        const char* end = line.data() + line.size();
        const char* after = mon::readCommonFloatPrefix(line.data(), end, fast);
        if (!after) continue;  // left to the general reader, as the callers do
        EXPECT_EQ(after, line.data() + token.size()) << line;
        EXPECT_EQ(std::memcmp(&fast, &general, sizeof fast), 0) << line;
    }
}

// A random finite float from random bits, or false for inf/nan.
bool randomFloat(std::mt19937_64& random, float& value) {
    const uint32_t bits = static_cast<uint32_t>(random());
    std::memcpy(&value, &bits, sizeof value);
    return std::isfinite(value);
}

// Random digit strings and floats against the correctly rounded reader; and
// every shape a solver writes: "%.Ne" for 0 to 8 fraction digits, "1e-03",
// and the decimal nearest to the halfway point between two floats, where a
// second rounding would show (and its neighbours).
TEST(DecimalFloat, ReadsRandomNumbersExactlyAsTheGeneralReader) {
    std::mt19937_64 random(777);
    char text[64];
    for (int i = 0; i < 100000; ++i) {
        std::snprintf(text, sizeof text, "%llue%d",
                      static_cast<unsigned long long>(random() % 100000000000ULL),
                      static_cast<int>(random() % 60) - 30);
        expectExact(text);
        float value;
        if (!randomFloat(random, value)) continue;
        std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
        expectExact(text);
        const int fractionDigits = static_cast<int>(random() % 9);
        std::snprintf(text, sizeof text, "%.*e", fractionDigits, static_cast<double>(value));
        expectExact(text);
        expectCommonShapeExact(text);
        const double halfway = (static_cast<double>(value) + std::nextafter(value, INFINITY)) / 2;
        const long long last = static_cast<long long>(random() % 3) - 1;
        std::snprintf(text, sizeof text, "%.8e", halfway);
        std::string nearHalf = text;
        const size_t digit = nearHalf.find('e') - 1;
        nearHalf[digit] = static_cast<char>('0' + (nearHalf[digit] - '0' + 10 + last) % 10);
        expectCommonShapeExact(nearHalf);
        std::snprintf(text, sizeof text, "%de%+03d", static_cast<int>(random() % 10),
                      static_cast<int>(random() % 60) - 30);
        expectCommonShapeExact(text);
    }
    for (const char* edge : {"0.0e+00", "-0.0e+00", "9.99999999e+22", "1.00000001e-22",
                             "3.40282347e+38", "1.17549435e-38", "1.4e-45", "5e-01"})
        expectCommonShapeExact(edge);
}

// A float as the tables write it ("%.8e", "nan", "-nan", "inf", "-inf").
std::string shown(float value) {
    if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
    char text[64];
    std::snprintf(text, sizeof text, "%.8e", static_cast<double>(value));
    return text;
}

TEST(DecimalFloat, ReadsTheUsualFormsAndLeavesTheRest) {
    const std::pair<const char*, const char*> cases[] = {
        {"+2.5", "2.50000000e+00"}, {"-0.000", "-0.00000000e+00"}, {".5E+1", "5.00000000e+00"}};
    for (const auto& [token, expected] : cases) {
        float value = 0;
        EXPECT_TRUE(mon::readDecimalFloat(token, value)) << token;
        EXPECT_EQ(shown(value), expected) << token;
    }
    for (const char* other : {"", "-", "+", ".", "e5", "1e", "1e+", "1.5x", "nan", "inf", "--1",
                              "+-1", "1e-60", "3.5e38", "12345678901234567890", "1 2"}) {
        float value = 0;
        EXPECT_FALSE(mon::readDecimalFloat(other, value)) << other;
    }
}

// What readFloatValue makes of a token, or the kind of failure.
TEST(DecimalFloat, ValueGrammarAcceptsTheCommonFormsOfSolversAndNothingElse) {
    const std::string nan = "not a number", range = "out of range";
    // clang-format off
    const std::pair<const char*, std::string> cases[] = {
        {"nan", "nan"}, {"+NAN", "nan"}, {"-NaN", "-nan"}, {"Inf", "inf"}, {"-INF", "-inf"},
        {"infinity", "inf"}, {"-InFiNiTy", "-inf"}, {"-.5", "-5.00000000e-01"},
        {"+5.", "5.00000000e+00"}, {"1E5", "1.00000000e+05"}, {"1.e+2", "1.00000000e+02"},
        {"+.25E-1", "2.50000004e-02"}, {"1e-60", "0.00000000e+00"}, {"-1e-45", "-1.40129846e-45"},
        {"0.000000000000000000000000000001234567891234", "1.23456793e-30"},
        {"123456789012345678901234567890", "1.23456789e+29"},
        {"1e39", range}, {"-3.5e38", range}, {"1e99999999999", range}, {"4e38", range}};
    // clang-format on
    for (const auto& [token, expected] : cases) {
        float value = 0;
        const mon::FloatRead read = mon::readFloatValue(token, value);
        EXPECT_EQ(read == mon::FloatRead::Ok           ? shown(value)
                  : read == mon::FloatRead::OutOfRange ? range
                                                       : nan,
                  expected)
            << token;
    }
    // More rejected forms: the end-to-end number-form tests.
    for (const char* token :
         {"", "+", "-", "+.", ".e1", "0x10", "nan()", "na", "nana", "infinityy", "in f", "-+1",
          "--1", "++1", "1_000", "1.2.3", "1e5.0", "\xEF\xBC\x91", "i"}) {
        float value = 0;
        EXPECT_EQ(mon::readFloatValue(token, value), mon::FloatRead::NotANumber) << token;
    }
}

}  // namespace
