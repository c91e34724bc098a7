#include "export/NumberFormat.h"

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

// The eight digits of value (below 10^8), zeros in front.
inline char* writeEightDigits(uint32_t value, char* out) {
    uint32_t high = value / 10000, low = value % 10000;
    out = writePair(high / 100, out);
    out = writePair(high % 100, out);
    out = writePair(low / 100, out);
    return writePair(low % 100, out);
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
Scaled scale(uint32_t mantissa, int exponent, int q) {
    if (q >= 0) return scaleUp(mantissa, q, -(exponent + q));
    return scaleDown(mantissa, exponent, -q);
}

char* writeExponent(int exponent, char* out) {
    *out++ = 'e';
    *out++ = exponent < 0 ? '-' : '+';
    return writePair(static_cast<uint32_t>(exponent < 0 ? -exponent : exponent), out);
}

}  // namespace

char* formatScientific8(float value, char* out) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = (bits >> 31) != 0;
    const uint32_t biased = (bits >> 23) & 0xff;
    uint32_t mantissa = bits & 0x7fffff;
    if (biased == 0xff) return writeSpecial(negative, mantissa != 0 ? "nan" : "inf", out);
    if (negative) *out++ = '-';
    if (biased == 0 && mantissa == 0) {
        std::memcpy(out, "0.00000000e+00", 14);
        return out + 14;
    }
    int exponent = -149;
    if (biased != 0) {
        mantissa |= 0x800000;
        exponent = static_cast<int>(biased) - 150;
    }
    // floor(log10(2^topBit)) is the decimal exponent or one below it.
    const int topBit = exponent + 31 - __builtin_clz(mantissa);
    int decimal = (topBit * 78913) >> 18;
    Scaled scaled = scale(mantissa, exponent, 8 - decimal);
    if (scaled.whole >= kBillion) scaled = scale(mantissa, exponent, 8 - ++decimal);
    uint32_t digits = static_cast<uint32_t>(scaled.whole);
    if (scaled.half && (scaled.sticky || (digits & 1) != 0)) ++digits;
    if (digits == kBillion) {
        digits = kHundredMillion;
        ++decimal;
    }
    *out++ = static_cast<char>('0' + digits / kHundredMillion);
    *out++ = '.';
    out = writeEightDigits(digits % kHundredMillion, out);
    return writeExponent(decimal, out);
}

char* formatScientific(float value, int precision, char* out) {
    if (precision == 8) return formatScientific8(value, out);
    const double promoted = value;
    if (std::isnan(promoted)) return writeSpecial(std::signbit(promoted), "nan", out);
    // Finite values and infinities: to_chars matches printf "%.*e" here.
    char* end = out + maxFieldBytes(precision);
    return std::to_chars(out, end, promoted, std::chars_format::scientific, precision).ptr;
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
