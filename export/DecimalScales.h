#pragma once
// Tables for writing floats in scientific notation with nine significant
// digits, computed at compile time: powers of five and of ten, the decimal
// exponent of every binade, and for each binade and decimal exponent what
// the digits need. Shared by the scalar and the vector formatter.

#include <cstdint>

namespace owl::numberformat::scales {

using u128 = unsigned __int128;

struct Powers {
    u128 five[56];
    constexpr Powers() : five() {
        five[0] = 1;
        for (int i = 1; i < 56; ++i) five[i] = five[i - 1] * 5;
    }
};
inline constexpr Powers kPowers;

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
inline constexpr int kLowestPower = -31;
struct DecimalPowers {
    DecimalPower power[86];
    constexpr DecimalPowers() : power() {
        for (int q = kLowestPower; q < kLowestPower + 86; ++q)
            power[q - kLowestPower] = q < 0 ? reciprocalOfFive(-q) : powerOfFive(q);
    }
};
inline constexpr DecimalPowers kDecimalPowers;

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
inline constexpr DecimalExponents kDecimalExponents;

// "e+05" for a decimal exponent of two digits, first character in the
// lowest byte.
constexpr uint32_t exponentText(int decimal) {
    const uint32_t magnitude = static_cast<uint32_t>(decimal < 0 ? -decimal : decimal);
    return uint32_t('e') | uint32_t(decimal < 0 ? '-' : '+') << 8 |
           uint32_t('0' + magnitude / 10) << 16 | uint32_t('0' + magnitude % 10) << 24;
}

// What the nine digits of a normal float need, by its biased binary
// exponent and its decimal exponent (the lower or the upper one its binade
// can have): 10^q = 10^(8 - decimal) as a 64-bit mantissa and the shift
// that places the float's mantissa so that the 128-bit product of the two
// holds the nine digits in its upper half and the fraction in its lower
// half; and the exponent's text. One load gives the common case all it
// needs. The fields after power read as one little-endian 64-bit word too.
struct DigitScale {
    uint64_t power = 0;         // 10^q = (power + d) * 2^(86 - biased - lshift), 0 <= d < 1
    uint32_t exponentText = 0;  // as exponentText(decimal)
    uint8_t lshift = 0;         // 1 to 7 for every normal float
    uint8_t inexact = 0;        // 0xff when d > 0, else 0
    int8_t decimal = 0;
    uint8_t unused = 0;
};

struct DigitScales {
    DigitScale scale[512];  // [2 * biased + (magnitude >= above[biased])]
    constexpr DigitScales() : scale() {
        for (int biased = 1; biased < 255; ++biased)
            for (int upper = 0; upper < 2; ++upper) {
                const int decimal = kDecimalExponents.low[biased] + upper;
                const DecimalPower& power = kDecimalPowers.power[8 - decimal - kLowestPower];
                DigitScale& entry = scale[2 * biased + upper];
                entry.power = power.mantissa;
                entry.exponentText = exponentText(decimal);
                // m * 2^(biased - 150) * 10^q = m * power * 2^(biased - 150 + exponent)
                // = (m << lshift) * power / 2^64.
                entry.lshift = static_cast<uint8_t>(64 - (150 - biased - power.exponent));
                entry.inexact = power.exact ? 0 : 0xff;
                entry.decimal = static_cast<int8_t>(decimal);
            }
    }
};
inline constexpr DigitScales kDigitScales;

// Nine digits need 30 bits above the point, and the shifted mantissa must
// fit 32 bits for the vector formatter's 32 x 32-bit multiplications.
constexpr bool shiftsFit() {
    for (int biased = 1; biased < 255; ++biased)
        for (int upper = 0; upper < 2; ++upper) {
            const int lshift = kDigitScales.scale[2 * biased + upper].lshift;
            if (lshift < 1 || lshift > 7) return false;
        }
    return true;
}
static_assert(shiftsFit(), "a mantissa shift outside 1..7");

}  // namespace owl::numberformat::scales
