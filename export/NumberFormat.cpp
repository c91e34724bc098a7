#include "export/NumberFormat.h"

#include "export/DecimalScales.h"
#include "export/NumberFormatWide.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>

namespace owl {
namespace numberformat {

namespace {

using namespace scales;

constexpr uint32_t kBillion = 1000000000;
constexpr uint32_t kHundredMillion = 100000000;

// "00" .. "99".
struct DigitPairs {
    char text[200];
    constexpr DigitPairs() : text() {
        for (int i = 0; i < 100; ++i) {
            text[2 * i] = static_cast<char>('0' + i / 10);
            text[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
};
constexpr DigitPairs kPairs;

inline char* writePair(uint32_t value, char* out) {
    std::memcpy(out, kPairs.text + 2 * value, 2);
    return out + 2;
}

// "d.dddddddd" for digits below 10^9. digits / 10^8 as a 57-bit binary
// fraction; each multiplication by 100 brings the next two digits above the
// point. The rounded-up constant keeps every digit exact for all inputs
// below 10^9 (checked for every one of them).
inline char* writeNineDigits(uint32_t digits, char* out) {
    constexpr int kPoint = 57;
    constexpr uint64_t kScale = (uint64_t(1) << kPoint) / kHundredMillion + 1;
    constexpr uint64_t kFraction = (uint64_t(1) << kPoint) - 1;
    uint64_t fixed = digits * kScale;
    *out++ = static_cast<char>('0' + (fixed >> kPoint));
    *out++ = '.';
#pragma GCC unroll 4
    for (int pair = 0; pair < 4; ++pair) {
        fixed = (fixed & kFraction) * 100;
        out = writePair(static_cast<uint32_t>(fixed >> kPoint), out);
    }
    return out;
}

char* writeSpecial(bool negative, const char* text, char* out) {
    if (negative) *out++ = '-';
    size_t length = std::strlen(text);
    std::memcpy(out, text, length);
    return out + length;
}

// A binary fraction's rounding state: the integer part and how the dropped
// bits compare with one half.
struct Scaled {
    uint64_t whole;
    bool half;    // the first dropped bit
    bool sticky;  // any dropped bit after it
};

// floor(m * 5^q / 2^shift) with the dropped bits, exactly (q <= 55, the
// product fits 192 bits).
Scaled scaleUp(uint32_t mantissa, int q, int shift) {
    const u128 power = kPowers.five[q];
    const u128 low = static_cast<u128>(mantissa) * static_cast<uint64_t>(power);
    const u128 high = static_cast<u128>(mantissa) * static_cast<uint64_t>(power >> 64);
    const u128 middle = (low >> 64) + static_cast<uint64_t>(high);
    uint64_t words[3] = {static_cast<uint64_t>(low), static_cast<uint64_t>(middle),
                         static_cast<uint64_t>((high >> 64) + (middle >> 64))};
    if (shift <= 0) return {words[0] << -shift, false, false};
    auto bit = [&](int k) { return (words[k / 64] >> (k % 64)) & 1; };
    bool sticky = false;
    for (int word = 0; word < (shift - 1) / 64; ++word) sticky |= words[word] != 0;
    int rest = (shift - 1) % 64;
    sticky |= rest != 0 && (words[(shift - 1) / 64] << (64 - rest)) != 0;
    u128 top = (static_cast<u128>(words[2]) << 64) | words[1];
    uint64_t whole = shift >= 64 ? static_cast<uint64_t>(top >> (shift - 64))
                                 : static_cast<uint64_t>(((top << 64) | words[0]) >> shift);
    return {whole, bit(shift - 1) != 0, sticky};
}

// floor(m * 2^exponent / 10^k) with the remainder's comparison to one half,
// exactly (k >= 1, exponent >= k, m * 2^(exponent - k) below 2^128).
Scaled scaleDown(uint32_t mantissa, int exponent, int k) {
    const u128 numerator = static_cast<u128>(mantissa) << (exponent - k);
    const u128 divisor = kPowers.five[k];
    u128 whole, remainder;
    if ((numerator >> 64) == 0) {
        whole = static_cast<uint64_t>(numerator) / static_cast<uint64_t>(divisor);
        remainder = static_cast<uint64_t>(numerator) % static_cast<uint64_t>(divisor);
    } else {
        whole = numerator / divisor;
        remainder = numerator % divisor;
    }
    const u128 twice = remainder * 2;
    return {static_cast<uint64_t>(whole), twice >= divisor, twice != divisor && twice > divisor};
}

// value = mantissa * 2^exponent scaled by 10^q, for q of either sign.
__attribute__((noinline)) Scaled scale(uint32_t mantissa, int exponent, int q) {
    if (q >= 0) return scaleUp(mantissa, q, -(exponent + q));
    return scaleDown(mantissa, exponent, -q);
}

// The same as scale() from a 64-bit approximation of 10^q, when that decides
// the rounding: the approximation is below the truth by less than one unit
// of the mantissa, so the product m * 10^q lies in [product, product + m).
// Returns false when the true value could fall on either side of a half.
inline bool approximateScale(uint32_t mantissa, int exponent, int q, Scaled& result) {
    const DecimalPower& power = kDecimalPowers.power[q - kLowestPower];
    // Nine digits from a 24-bit mantissa times a 64-bit one leave 30 to 63
    // bits below the point; anything else goes the exact way.
    const int shift = -(exponent + power.exponent);
    if (shift <= 0 || shift >= 64) return false;
    const u128 product = static_cast<u128>(mantissa) * power.mantissa;
    const uint64_t half = uint64_t(1) << (shift - 1);
    const uint64_t fraction = static_cast<uint64_t>(product) & ((half << 1) - 1);
    result.whole = static_cast<uint64_t>(product >> shift);
    if (power.exact) {
        result.half = fraction >= half;
        result.sticky = fraction > half;
        return true;
    }
    if (fraction + mantissa <= half) {
        result.half = result.sticky = false;
        return true;
    }
    if (fraction > half) {
        result.half = result.sticky = true;
        return true;
    }
    return false;
}

// value = mantissa * 2^exponent scaled by 10^q, rounded state exact.
inline Scaled scaleFast(uint32_t mantissa, int exponent, int q) {
    Scaled result{};
    if (approximateScale(mantissa, exponent, q, result)) return result;
    return scale(mantissa, exponent, q);
}

char* writeExponent(int exponent, char* out) {
    *out++ = 'e';
    *out++ = exponent < 0 ? '-' : '+';
    return writePair(static_cast<uint32_t>(exponent < 0 ? -exponent : exponent), out);
}

// Denormals: the estimate from the top bit is exact or one low.
__attribute__((noinline)) uint32_t denormalDigits(uint32_t mantissa, int& decimal) {
    const int exponent = -149;
    const int topBit = exponent + 31 - __builtin_clz(mantissa);
    decimal = (topBit * 78913) >> 18;
    Scaled scaled = scaleFast(mantissa, exponent, 8 - decimal);
    if (scaled.whole >= kBillion) scaled = scaleFast(mantissa, exponent, 8 - ++decimal);
    const uint32_t digits = static_cast<uint32_t>(scaled.whole);
    return digits + (scaled.half & (scaled.sticky | (digits & 1)));
}

// The nine digits of a normal float the exact way, where the table's power
// could not decide the rounding (a tie, or too close to one) or the digits
// rounded up to 10^9 (then the exponent goes one up).
__attribute__((noinline)) uint32_t exactNormalDigits(uint32_t magnitude, int& decimal) {
    const uint32_t biased = magnitude >> 23;
    const uint32_t mantissa = (magnitude & 0x7fffff) | 0x800000;
    const Scaled scaled = scale(mantissa, static_cast<int>(biased) - 150, 8 - decimal);
    uint32_t digits = static_cast<uint32_t>(scaled.whole);
    digits += scaled.half & (scaled.sticky | (digits & 1));
    if (digits == kBillion) {
        digits = kHundredMillion;
        ++decimal;
    }
    return digits;
}

// The eight digits of value (below 10^8) as text, the first in the lowest
// byte: two halves of four digits in 32-bit lanes, split into pairs in
// 16-bit lanes, then into digits in bytes, by multiplying with reciprocals
// exact over each lane's range.
inline uint64_t eightDigits(uint32_t value) {
    const uint32_t high = value / 10000;
    const uint64_t halves = high | uint64_t(value - high * 10000) << 32;
    const uint64_t hundreds = ((halves * 10486) >> 20) & 0x0000007f0000007fULL;
    const uint64_t pairs = hundreds | (halves - hundreds * 100) << 16;
    const uint64_t tens = ((pairs * 103) >> 10) & 0x000f000f000f000fULL;
    return (tens | (pairs - tens * 10) << 8) | 0x3030303030303030ULL;
}

// "d.dddddddd" for digits in [10^8, 10^9), then the exponent's text.
inline char* writeDigitsAndExponent(uint32_t digits, uint32_t exponent, char* out) {
    const uint32_t first = digits / kHundredMillion;
    const uint16_t lead = static_cast<uint16_t>(('0' + first) | '.' << 8);
    const uint64_t rest = eightDigits(digits - first * kHundredMillion);
    std::memcpy(out, &lead, 2);
    std::memcpy(out + 2, &rest, 8);
    std::memcpy(out + 10, &exponent, 4);
    return out + 14;
}

// Zeros, denormals, infinities and NaNs, out of the common path.
__attribute__((noinline)) char* formatUncommon(uint32_t negative, uint32_t magnitude, char* out) {
    if (magnitude >= 0x7f800000)
        return writeSpecial(negative != 0, magnitude != 0x7f800000 ? "nan" : "inf", out);
    *out = '-';
    out += negative;
    if (magnitude == 0) {
        std::memcpy(out, "0.00000000e+00", 14);
        return out + 14;
    }
    int decimal;
    uint32_t digits = denormalDigits(magnitude, decimal);
    if (digits == kBillion) {  // rounded up to the next power of ten
        digits = kHundredMillion;
        ++decimal;
    }
    out = writeNineDigits(digits, out);
    return writeExponent(decimal, out);
}

}  // namespace

// A normal float m * 2^e: m * 2^e * 10^q, the nine digits and their
// fraction, as the upper and lower half of one 64 x 64-bit product of the
// shifted mantissa with the table's power. With an exact power (10^0 to
// 10^27: values from 1e-19 to 1e9) the fraction is exact, and a tie goes to
// the even digits; such ties are common (101011.9375, a float near
// atmospheric pressure, has ten digits ending in 5). An inexact power lies
// below 10^q by less than one unit, so the true product lies in [product,
// product + mantissa): the fraction decides the rounding unless it lies
// within that below one half.
static inline __attribute__((always_inline)) char* format8(float value, char* out) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const uint32_t negative = bits >> 31, magnitude = bits & 0x7fffffff;
    if (__builtin_expect(magnitude - 0x800000u >= 0x7f000000u, 0))
        return formatUncommon(negative, magnitude, out);
    *out = '-';
    out += negative;
    const uint32_t biased = magnitude >> 23;
    const DigitScale& entry =
        kDigitScales.scale[2 * biased + (magnitude >= kDecimalExponents.above[biased])];
    const uint64_t mantissa = ((magnitude & 0x7fffff) | 0x800000) << entry.lshift;
    const u128 product = static_cast<u128>(mantissa) * entry.power;
    constexpr uint64_t kHalf = uint64_t(1) << 63;
    const uint64_t fraction = static_cast<uint64_t>(product);
    const uint32_t whole = static_cast<uint32_t>(product >> 64);
    const bool exact = entry.inexact == 0;
    uint32_t digits = whole + ((fraction > kHalf) | ((fraction == kHalf) & exact & (whole & 1)));
    uint32_t exponent = entry.exponentText;
    const bool undecided = !exact & (fraction <= kHalf) & (fraction + mantissa >= kHalf);
    if (__builtin_expect(undecided | (digits == kBillion), 0)) {
        int decimal = entry.decimal;
        digits = exactNormalDigits(magnitude, decimal);
        exponent = exponentText(decimal);
    }
    return writeDigitsAndExponent(digits, exponent, out);
}

char* formatScientific8(float value, char* out) {
    return format8(value, out);
}

char* formatScientific8Fields(const float* const* columns, size_t count, size_t record, char* out) {
    static const bool kWide = wide::supported();
    if (kWide) return wide::fields(columns, count, record, out);
    // The columns are read across, one value from each: too many streams
    // for the hardware to foresee, so the next cache line of each is asked
    // for a few lines ahead (a prefetch past an array's end is harmless).
    constexpr size_t kAhead = 64 / sizeof(float);
    for (size_t column = 0; column < count; ++column) {
        __builtin_prefetch(reinterpret_cast<const void*>(
            reinterpret_cast<uintptr_t>(columns[column] + record) + kAhead * sizeof(float)));
        const float value = columns[column][record];
        if (value != FLT_MAX) out = format8(value, out);
        *out++ = ',';
    }
    return out;
}

char* formatScientific(float value, int precision, char* out) {
    if (precision == 8) return formatScientific8(value, out);
    const double promoted = value;
    if (std::isnan(promoted)) return writeSpecial(std::signbit(promoted), "nan", out);
    // Finite values and infinities: to_chars matches printf "%.*e" here.
    char* end = out + maxFieldBytes(precision);
    return std::to_chars(out, end, promoted, std::chars_format::scientific, precision).ptr;
}

char* formatScientificDouble(double value, int precision, char* out) {
    if (std::isnan(value)) return writeSpecial(std::signbit(value), "nan", out);
    char* end = out + maxFieldBytes(precision);
    return std::to_chars(out, end, value, std::chars_format::scientific, precision).ptr;
}

namespace {
// Whether a and b write the same text with that many digits after the point.
bool sameText(double a, double b, int digits) {
    // Apart by at least the larger one's last digit: different texts, known
    // without writing them (10^-digits times the larger is at least that
    // digit's unit; the margin covers the product's rounding).
    static const double kTenths[] = {1e-0, 1e-1,  1e-2,  1e-3,  1e-4,  1e-5,  1e-6,  1e-7, 1e-8,
                                     1e-9, 1e-10, 1e-11, 1e-12, 1e-13, 1e-14, 1e-15, 1e-16};
    const double larger = std::max(std::fabs(a), std::fabs(b));
    if (std::fabs(a - b) >= larger * kTenths[digits] * (1 + 1e-9)) return false;
    char textA[32], textB[32];
    const char* endA = formatScientificDouble(a, digits, textA);
    const char* endB = formatScientificDouble(b, digits, textB);
    return endA - textA == endB - textB && std::memcmp(textA, textB, endA - textA) == 0;
}
}  // namespace

int digitsToTellApart(const double* values, size_t count, int fewest) {
    constexpr int kMostDigits = 16;
    int digits = std::min(fewest, kMostDigits);
    const double* previous = nullptr;
    for (size_t i = 0; i < count; ++i) {
        const double& value = values[i];
        if (value == FLT_MAX || !std::isfinite(value)) continue;
        if (previous && *previous != value)
            while (digits < kMostDigits && sameText(*previous, value, digits)) ++digits;
        previous = &value;
    }
    return digits;
}

char* formatKeyInteger(float value, char* out) {
    if (std::isnan(value)) return out;
    int32_t whole;
    if (value >= 2147483648.0f)
        whole = INT32_MAX;
    else if (value < -2147483648.0f)
        whole = INT32_MIN;
    else
        whole = static_cast<int32_t>(value);
    return std::to_chars(out, out + 11, whole).ptr;
}

}  // namespace numberformat
}  // namespace owl
