#pragma once
// The fast path for the numbers monitor files hold most, inline where the
// records are scanned (its call and the value's trip through memory cost as
// much as a fifth of reading a number).

#include <cstdint>
#include <cstring>

#include "libs/mondata/text/DecimalFloat.h"

namespace mon {

namespace commonfloat {
constexpr uint64_t kZeros = 0x3030303030303030;  // "00000000"

inline constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
inline constexpr uint64_t kWholePowersOfTen[] = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000, 10000000000};
// 10^e rounded to double for e from -22 to 22, by e + 22: exact from 10^0 up.
inline constexpr double kScales[] = {1e-22, 1e-21, 1e-20, 1e-19, 1e-18, 1e-17, 1e-16, 1e-15, 1e-14,
                                     1e-13, 1e-12, 1e-11, 1e-10, 1e-9,  1e-8,  1e-7,  1e-6,  1e-5,
                                     1e-4,  1e-3,  1e-2,  1e-1,  1e0,   1e1,   1e2,   1e3,   1e4,
                                     1e5,   1e6,   1e7,   1e8,   1e9,   1e10,  1e11,  1e12,  1e13,
                                     1e14,  1e15,  1e16,  1e17,  1e18,  1e19,  1e20,  1e21,  1e22};

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// How many of the 8 bytes (in memory order) are digits before the first
// byte that is not. A borrow or carry only runs towards later bytes, so the
// first flagged byte is the first non-digit.
inline int leadingDigits(uint64_t bytes) {
    const uint64_t notDigit =
        ((bytes + 0x4646464646464646) | (bytes - kZeros)) & 0x8080808080808080;
    return notDigit == 0 ? 8 : __builtin_ctzll(notDigit) / 8;
}

// The value of the first count (1 to 8) digits of the bytes: the digits are
// moved to the end with zeros before them, then combined in pairs, fours
// and the eight in three multiplications.
inline uint64_t digitsValue(uint64_t bytes, int count) {
    uint64_t v = (bytes - kZeros) << (8 * (8 - count));
    v = v * 10 + (v >> 8);
    const uint64_t mask = 0x000000FF000000FF;
    return ((v & mask) * (100 + (1000000ULL << 32)) +
            ((v >> 16) & mask) * (1 + (10000ULL << 32))) >>
           32;
}

// "e+dd" or "e-dd" as a power of ten; false for any other exponent.
inline bool readShortExponent(const char* p, int& exponent) {
    if ((p[0] != 'e' && p[0] != 'E') || (p[1] != '-' && p[1] != '+') || !isDigit(p[2]) ||
        !isDigit(p[3]))
        return false;
    const int magnitude = (p[2] - '0') * 10 + (p[3] - '0');
    exponent = p[1] == '-' ? -magnitude : magnitude;
    return true;
}

// m * 10^e rounded to float, for m below 2^53 (exact as a double) and e
// from -22 to 22. The product with 10^e rounded to double lies within two
// units of the double's last place of m * 10^e, so the two round to the same
// float unless a midpoint between two floats (the double's lower 29
// mantissa bits 1000...) lies within a few units of the product: only then
// is the exact route (a division by 10^-e, or a product with an exact 10^e,
// rounded once) worth its time.
inline float scaledByPowerOfTen(uint64_t mantissa, int exponent) {
    const double product = static_cast<double>(mantissa) * kScales[exponent + 22];
    uint64_t bits;
    std::memcpy(&bits, &product, sizeof bits);
    constexpr uint64_t kBelowFloat = (uint64_t(1) << 29) - 1, kMidpoint = uint64_t(1) << 28;
    if (__builtin_expect((bits & kBelowFloat) - (kMidpoint - 8) >= 16, 1))
        return static_cast<float>(product);
    const double exact = exponent < 0 ? static_cast<double>(mantissa) / kPowersOfTen[-exponent]
                                      : static_cast<double>(mantissa) * kPowersOfTen[exponent];
    return static_cast<float>(exact);
}
}  // namespace commonfloat

// The same as readDecimalFloatPrefix(), faster for the shapes solvers write
// most: [-]d[.d...]e(+|-)dd with up to 8 fraction digits, such as
// "-7.5281453e-01" or "1e-03". Gives the same float (it computes the same
// exact m * 10^e) and falls back to readDecimalFloatPrefix() for every other
// shape. Reads one digit, then with a point up to 8 fraction digits at once,
// then the exponent: at most 9 digits, so m < 2^53 as the exact route
// needs. Needs the 12 bytes after the sign within the token's line.
inline __attribute__((always_inline)) const char* readCommonFloatPrefix(const char* begin,
                                                                        const char* end,
                                                                        float& value) {
    using namespace commonfloat;
    const bool negative = *begin == '-';
    const char* p = begin + negative;
    if (end - p < 12 || !isDigit(p[0])) return readDecimalFloatPrefix(begin, end, value);
    uint64_t mantissa = static_cast<uint64_t>(p[0] - '0');
    int fraction = 0;
    if (p[1] == '.') {
        uint64_t bytes = 0;
        std::memcpy(&bytes, p + 2, sizeof bytes);
        fraction = leadingDigits(bytes);
        if (fraction == 0 || (fraction == 8 && isDigit(p[10])))
            return readDecimalFloatPrefix(begin, end, value);
        mantissa = mantissa * kWholePowersOfTen[fraction] + digitsValue(bytes, fraction);
        p += 1 + fraction;
    }
    int exponent = 0;
    if (end - p < 5 || !readShortExponent(p + 1, exponent))
        return readDecimalFloatPrefix(begin, end, value);
    exponent -= fraction;
    if (static_cast<unsigned>(exponent + 22) > 44) return readDecimalFloatPrefix(begin, end, value);
    const float rounded = scaledByPowerOfTen(mantissa, exponent);
    value = negative ? -rounded : rounded;
    return p + 5;
}

}  // namespace mon
