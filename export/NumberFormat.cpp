#include "export/NumberFormat.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>

namespace owl {
namespace numberformat {

namespace {

using u128 = unsigned __int128;

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

struct Powers {
    u128 five[56];
    constexpr Powers() : five() {
        five[0] = 1;
        for (int i = 1; i < 56; ++i) five[i] = five[i - 1] * 5;
    }
};
constexpr Powers kPowers;

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

// 10^q as a 64-bit mantissa with its top bit set times a power of two:
// 10^q = (mantissa + d) * 2^exponent with 0 <= d < 1, and d = 0 when exact.
struct DecimalPower {
    uint64_t mantissa;
    int exponent;
    bool exact;
};

// floor(2^bits / 5^power) to 64 significant bits, by long division in
// 32-bit limbs: dividing the truncated quotient by 5 again keeps it exact.
constexpr DecimalPower reciprocalOfFive(int power) {
    int bits = 0;  // bit length of 5^power
    for (u128 five = kPowers.five[power]; five != 0; five >>= 1) ++bits;
    const int total = 63 + bits;  // so the quotient has 64 bits
    uint32_t limbs[6] = {};       // limbs[0] most significant; 2^total in 192 bits
    limbs[5 - total / 32] = uint32_t(1) << (total % 32);
    for (int i = 0; i < power; ++i) {
        uint64_t remainder = 0;
        for (uint32_t& limb : limbs) {
            const uint64_t current = (remainder << 32) | limb;
            limb = static_cast<uint32_t>(current / 5);
            remainder = current % 5;
        }
    }
    const uint64_t quotient = (uint64_t(limbs[4]) << 32) | limbs[5];
    return {quotient, -(total + power), false};
}

constexpr DecimalPower powerOfFive(int power) {
    const u128 five = kPowers.five[power];
    int bits = 0;
    for (u128 rest = five; rest != 0; rest >>= 1) ++bits;
    if (bits <= 64) return {static_cast<uint64_t>(five << (64 - bits)), power - (64 - bits), true};
    const int dropped = bits - 64;
    const bool exact = (five & ((u128(1) << dropped) - 1)) == 0;
    return {static_cast<uint64_t>(five >> dropped), power + dropped, exact};
}

// 10^q for every q a float's nine digits need: 10^-31 .. 10^54.
constexpr int kLowestPower = -31;
struct DecimalPowers {
    DecimalPower power[86];
    constexpr DecimalPowers() : power() {
        for (int q = kLowestPower; q < kLowestPower + 86; ++q)
            power[q - kLowestPower] = q < 0 ? reciprocalOfFive(-q) : powerOfFive(q);
    }
};
constexpr DecimalPowers kDecimalPowers;

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

// The decimal exponent of every normal float, from its biased binary
// exponent: floor(log10(value)) is low[biased], or one more when the value's
// magnitude bits reach above[biased] (the smallest float of that binade at or
// above the next power of ten; never reached when no power of ten lies in
// the binade). Exact, so the scaling below runs once and never again.
struct DecimalExponents {
    int8_t low[256];
    uint32_t above[256];

    // ceil(10^k / 2^e) when it lies below 2^24, else 2^24 (beyond the binade).
    static constexpr uint32_t ceilPowerOverTwo(int k, int e) {
        // 10^k / 2^e = 5^k * 2^(k - e) for k >= 0; 2^(-e - j) / 5^j for k = -j.
        const u128 limit = u128(1) << 24;
        if (k >= 0) {
            const u128 five = kPowers.five[k];
            const int shift = k - e;
            if (shift >= 0)
                return shift >= 24 || (five << shift) >= limit ? uint32_t(limit)
                                                               : uint32_t(five << shift);
            const u128 divisor = u128(1) << -shift;
            const u128 quotient = (five + divisor - 1) / divisor;
            return quotient >= limit ? uint32_t(limit) : uint32_t(quotient);
        }
        const int j = -k, shift = -e - j;
        if (shift < 0) return 1;  // 10^k below 2^e: below any mantissa
        if (shift > 127) return uint32_t(limit);
        const u128 five = kPowers.five[j];
        const u128 quotient = ((u128(1) << shift) + five - 1) / five;
        return quotient >= limit ? uint32_t(limit) : uint32_t(quotient);
    }

    constexpr DecimalExponents() : low(), above() {
        for (int biased = 1; biased < 255; ++biased) {
            const int e = biased - 150;  // value = mantissa * 2^e, mantissa in [2^23, 2^24)
            const int decimal = ((e + 23) * 78913) >> 18;  // floor(log10(2^(e + 23))) or one below
            int d = decimal;
            // Settle d = floor(log10(2^(e + 23))) exactly: 10^(d + 1) > 2^(e + 23).
            if (ceilPowerOverTwo(d + 1, e) <= (uint32_t(1) << 23)) ++d;
            low[biased] = static_cast<int8_t>(d);
            const uint32_t threshold = ceilPowerOverTwo(d + 1, e);
            above[biased] = threshold >= (uint32_t(1) << 24)
                                ? UINT32_MAX
                                : (uint32_t(biased) << 23) | (threshold - (uint32_t(1) << 23));
        }
    }
};
constexpr DecimalExponents kDecimalExponents;

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

// The nine significant digits of a normal float, rounded half to even, and
// its decimal exponent.
inline uint32_t normalDigits(uint32_t magnitude, int& decimal) {
    const uint32_t biased = magnitude >> 23;
    const uint32_t mantissa = (magnitude & 0x7fffff) | 0x800000;
    const int exponent = static_cast<int>(biased) - 150;
    decimal = kDecimalExponents.low[biased] + (magnitude >= kDecimalExponents.above[biased]);
    const Scaled scaled = scaleFast(mantissa, exponent, 8 - decimal);
    const uint32_t digits = static_cast<uint32_t>(scaled.whole);
    return digits + (scaled.half & (scaled.sticky | (digits & 1)));
}

}  // namespace

static inline __attribute__((always_inline)) char* format8(float value, char* out) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const uint32_t negative = bits >> 31, magnitude = bits & 0x7fffffff;
    if (magnitude >= 0x7f800000)
        return writeSpecial(negative != 0, magnitude != 0x7f800000 ? "nan" : "inf", out);
    *out = '-';
    out += negative;
    if (magnitude == 0) {
        std::memcpy(out, "0.00000000e+00", 14);
        return out + 14;
    }
    int decimal;
    uint32_t digits = magnitude >= 0x800000 ? normalDigits(magnitude, decimal)
                                            : denormalDigits(magnitude, decimal);
    if (digits == kBillion) {  // rounded up to the next power of ten
        digits = kHundredMillion;
        ++decimal;
    }
    out = writeNineDigits(digits, out);
    return writeExponent(decimal, out);
}

char* formatScientific8(float value, char* out) {
    return format8(value, out);
}

char* formatScientific8Fields(const float* const* columns, size_t count, size_t record, char* out) {
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
