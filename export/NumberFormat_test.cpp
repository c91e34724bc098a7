#include "export/NumberFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <iomanip>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "export/NumberFormatWide.h"

using namespace owl::numberformat;

namespace {

float fromBits(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

uint32_t toBits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::string viaStream(float value, int precision) {
    std::ostringstream out;
    out << std::scientific << std::setprecision(precision) << value;
    return out.str();
}

std::string fast(float value) {
    char buffer[maxFieldBytes(8)];
    return std::string(buffer, formatScientific8(value, buffer));
}

// Checks both signs of every pattern; stops reporting after a few failures.
void expectSameAsStream(const std::vector<uint32_t>& patterns) {
    int failures = 0;
    for (uint32_t bits : patterns) {
        for (uint32_t sign : {0u, 0x80000000u}) {
            float value = fromBits(bits ^ sign);
            std::string expected = viaStream(value, 8);
            if (fast(value) != expected && ++failures <= 5)
                ADD_FAILURE() << "bits 0x" << std::hex << (bits ^ sign) << ": " << fast(value)
                              << " != " << expected;
        }
    }
    EXPECT_EQ(failures, 0);
}

// Floats whose exact value has ten significant digits ending in 5: odd m
// over 2^n with m * 5^n in [1e9, 1e10). Nine-digit rounding is a tie there.
std::vector<uint32_t> halfwayCases() {
    std::vector<uint32_t> patterns;
    for (int n = 1; n <= 40; ++n) {
        unsigned __int128 five = 1;
        for (int i = 0; i < n; ++i) five *= 5;
        for (uint32_t m = 1; m < (1u << 24); m += 2) {
            unsigned __int128 digits = five * m;
            if (digits < 1000000000u) {
                m += static_cast<uint32_t>((1000000000u - digits) / five) & ~1u;
                continue;
            }
            if (digits >= 10000000000ull) break;
            for (int scale = -60; scale <= 60; scale += 30) {
                float value = std::ldexp(static_cast<float>(m), -n + scale);
                if (std::isfinite(value) && value != 0) patterns.push_back(toBits(value));
            }
            m += 2 * 997;  // a spread of them, not all
        }
    }
    return patterns;
}

// Every float within a few steps of each power of ten, FLT_MAX, the smallest
// normal and the denormal range's ends.
std::vector<uint32_t> boundaries() {
    std::vector<uint32_t> centres = {toBits(FLT_MAX), toBits(FLT_MIN), 1u, 0x7fffffu, 0x800000u};
    for (int exponent = -45; exponent <= 38; ++exponent)
        centres.push_back(toBits(std::pow(10.0f, static_cast<float>(exponent))));
    std::vector<uint32_t> patterns;
    for (uint32_t centre : centres)
        for (uint32_t bits = centre - 8; bits != centre + 9; ++bits)
            if (bits < 0x7f800000u) patterns.push_back(bits);
    return patterns;
}

// Ties and their neighbours, NaN payloads, every float near a boundary, a
// spread of denormals and random bit patterns.
std::vector<uint32_t> everyKindOfPattern() {
    std::vector<uint32_t> patterns = halfwayCases();
    EXPECT_GT(patterns.size(), 1000u);
    for (size_t i = 0, n = patterns.size(); i < n; ++i) {
        patterns.push_back(patterns[i] + 1);  // just above the tie
        patterns.push_back(patterns[i] - 1);  // just below
    }
    for (uint32_t bits : {0x7f800001u, 0x7fc00000u, 0x7fffffffu, 0x7fa5a5a5u})
        patterns.push_back(bits);
    for (uint32_t bits : boundaries()) patterns.push_back(bits);
    for (uint32_t bits = 1; bits < 0x800000u; bits += 37) patterns.push_back(bits);
    std::mt19937 random(20261206);
    for (int i = 0; i < (1 << 18); ++i) patterns.push_back(static_cast<uint32_t>(random()));
    return patterns;
}

}  // namespace

TEST(FormatScientific8, SpecialValuesMatchTheStream) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (float value : {0.0f, -0.0f, INFINITY, -INFINITY, nan, -nan, FLT_MAX, -FLT_MAX, FLT_MIN,
                        FLT_TRUE_MIN, 1.0f, 0.1f, 3.4028235e+38f})
        EXPECT_EQ(fast(value), viaStream(value, 8)) << toBits(value);
    EXPECT_EQ(fast(FLT_MAX), "3.40282347e+38");
    EXPECT_EQ(fast(FLT_TRUE_MIN), "1.40129846e-45");
    EXPECT_EQ(fast(1000000.125f), "1.00000012e+06");  // a tie goes to even
    EXPECT_EQ(fast(1000000.375f), "1.00000038e+06");
}

TEST(FormatScientific8, EveryKindOfPatternMatchesTheStream) {
    expectSameAsStream(everyKindOfPattern());
}

// Rows of fields, eight at a time with vector instructions where the
// processor has them: the same bytes as the values one at a time, for rows
// of any length and groups of eight with any mix of kinds (missing values,
// zeros, denormals, ties), and nothing written beyond the overrun allowed.
TEST(FormatScientific8Fields, RowsAreTheValuesOneAtATime) {
    std::vector<uint32_t> patterns = everyKindOfPattern();
    for (int i = 0; i < 5000; ++i)
        for (uint32_t bits : {0x7f7fffffu, 0u, 0x80000000u, 0x3f800000u}) patterns.push_back(bits);
    std::shuffle(patterns.begin(), patterns.end(), std::mt19937(8));
    using Rows = char* (*)(const float* const*, size_t, size_t, char*);
    std::vector<Rows> ways = {formatScientific8Fields};
    if (owl::numberformat::wide::supported()) ways.push_back(owl::numberformat::wide::fields);
    const size_t kSentinels = 16;
    for (size_t width : {1, 7, 8, 9, 23, 200}) {
        const size_t records = std::min<size_t>(patterns.size() / width, 4000);
        std::vector<std::vector<float>> columns(width, std::vector<float>(records));
        std::vector<const float*> starts;
        for (size_t c = 0; c < width; ++c) {
            for (size_t r = 0; r < records; ++r)
                columns[c][r] = fromBits(patterns[(c * records + r) % patterns.size()]);
            starts.push_back(columns[c].data());
        }
        std::vector<char> row(width * 16 + kFieldsOverrun + kSentinels);
        for (size_t record = 0; record < records; ++record) {
            std::string expected;
            for (size_t c = 0; c < width; ++c) {
                if (columns[c][record] != FLT_MAX) expected += fast(columns[c][record]);
                expected += ',';
            }
            for (Rows way : ways) {
                std::fill(row.begin(), row.end(), '#');
                const char* end = way(starts.data(), width, record, row.data());
                ASSERT_EQ(std::string(row.data(), static_cast<size_t>(end - row.data())), expected)
                    << width << " " << record;
                const size_t reach = static_cast<size_t>(end - row.data()) + kFieldsOverrun;
                ASSERT_EQ(std::count(row.begin() + static_cast<long>(reach), row.end(), '#'),
                          static_cast<long>(row.size() - reach));
            }
        }
    }
}

TEST(FormatScientific, OtherPrecisionsMatchTheStream) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (int precision : {0, 1, 6, 9, 17, 40})
        for (float value : {0.0f, -0.0f, 1.5f, -2.5e-3f, FLT_MAX, FLT_TRUE_MIN, INFINITY, -nan}) {
            char buffer[maxFieldBytes(40)];
            std::string text(buffer, formatScientific(value, precision, buffer));
            EXPECT_EQ(text, viaStream(value, precision)) << precision;
        }
}

TEST(FormatKeyInteger, TruncatesSaturatesAndLeavesNaNEmpty) {
    auto key = [](float value) {
        char buffer[maxFieldBytes(8)];
        return std::string(buffer, formatKeyInteger(value, buffer));
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::pair<float, const char*> cases[] = {
        {0.0f, "0"},
        {-0.0f, "0"},
        {12.9f, "12"},
        {-12.9f, "-12"},
        {2147483520.0f, "2147483520"},  // largest float below 2^31
        {2147483648.0f, "2147483647"},
        {-2147483648.0f, "-2147483648"},
        {-2147483904.0f, "-2147483648"},
        {INFINITY, "2147483647"},
        {-INFINITY, "-2147483648"},
        {-FLT_MAX, "-2147483648"},
        {nan, ""},
        {-nan, ""}};
    for (const auto& [value, text] : cases) EXPECT_EQ(key(value), text) << value;
}

TEST(NumberFormat, DoublesTakeTheDigitsThatTellConsecutiveValuesApart) {
    const double none = FLT_MAX, inf = HUGE_VAL;
    const struct {
        std::vector<double> values;
        int fewest;
        int digits;
    } cases[] = {
        {{}, 8, 8},
        {{20.000001, 20.000002, 20.000003}, 8, 8},
        {{20.000000001, 20.000000002}, 8, 10},
        {{20.000000001, none, 20.000000001, inf, 20.000000001}, 8, 8},  // equal, passed over
        {{1.0, 1.0 + 1e-15}, 8, 15},
        {{1.0, 1.0 + 2.220446049250313e-16}, 8, 16},  // neighbours: at most 16
        {{0.5, 0.25}, 3, 3},
        {{99999999.99, 100000000.0}, 8, 9},  // one rounds up into the next decade
    };
    for (const auto& c : cases) {
        EXPECT_EQ(digitsToTellApart(c.values.data(), c.values.size(), c.fewest), c.digits)
            << c.values.size() << " values, first " << (c.values.empty() ? 0 : c.values[0]);
    }
    char text[32];
    EXPECT_EQ(std::string(text, formatScientificDouble(20.000000001, 10, text)),
              "2.0000000001e+01");
    EXPECT_EQ(std::string(text, formatScientificDouble(-NAN, 10, text)), "-nan");
}
