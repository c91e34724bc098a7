#include "export/NumberFormatWide.h"

// GCC 12's AVX-512 headers leave the unused parts of some results
// undefined on purpose, which its warnings take for uninitialized reads.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

#include <algorithm>
#include <cfloat>
#include <cstdint>
#include <cstring>

#include "export/DecimalScales.h"
#include "export/NumberFormat.h"

// The scalar formatter's arithmetic (NumberFormat.cpp) on eight values in
// the 64-bit lanes of 512-bit registers: the decimal exponent and the power
// of ten from small tables held in registers, the 31 x 64-bit product from
// two 32 x 32-bit ones, the nine digits split into text by multiplying with
// reciprocals. Each value's field is laid out in 16 bytes
// ("-d.dddddddde+dd,"), and the bytes a field does not have (the sign of a
// positive value, all but the "," of a missing one) are squeezed out before
// storing. A group with a value the scalar formatter takes out of its common
// path (zeros excepted) is left to it whole.

#define OWL_WIDE __attribute__((target("avx512f,avx512bw,avx512dq,avx512vl,avx512vbmi2")))

namespace owl::numberformat::wide {

namespace {

using namespace scales;

constexpr uint32_t kFloatMaxBits = 0x7f7fffff;

OWL_WIDE inline __m512i broadcast(uint64_t value) {
    return _mm512_set1_epi64(static_cast<long long>(value));
}

// The eight digits of values below 10^8, as text in each lane, the first in
// its lowest byte: halves of four digits in 32-bit lanes, pairs in 16-bit
// lanes, digits in bytes.
OWL_WIDE inline __m512i eightDigits(__m512i value) {
    const __m512i high = _mm512_srli_epi64(_mm512_mul_epu32(value, broadcast(0xd1b71759)), 45);
    const __m512i low = _mm512_sub_epi64(value, _mm512_mul_epu32(high, broadcast(10000)));
    const __m512i halves = _mm512_or_si512(high, _mm512_slli_epi64(low, 32));
    const __m512i hundreds =
        _mm512_srli_epi32(_mm512_mullo_epi32(halves, _mm512_set1_epi32(10486)), 20);
    const __m512i pairs = _mm512_or_si512(
        hundreds,
        _mm512_slli_epi32(
            _mm512_sub_epi32(halves, _mm512_mullo_epi32(hundreds, _mm512_set1_epi32(100))), 16));
    const __m512i tens = _mm512_srli_epi16(_mm512_mullo_epi16(pairs, _mm512_set1_epi16(103)), 10);
    const __m512i ones = _mm512_sub_epi16(pairs, _mm512_mullo_epi16(tens, _mm512_set1_epi16(10)));
    return _mm512_or_si512(_mm512_or_si512(tens, _mm512_slli_epi16(ones, 8)),
                           _mm512_set1_epi8('0'));
}

// Lookups in tables of 80 32-bit entries held in five registers: each
// 64-bit lane's entry, by the index in its lower half, lands in that lower
// half. Permuting registers takes a few instructions where gathering from
// memory takes dozens of cycles.
struct Table80 {
    __m512i part[5];
};

OWL_WIDE inline Table80 loadTable(const uint32_t* entries) {
    Table80 table;
    for (int i = 0; i < 5; ++i) table.part[i] = _mm512_loadu_si512(entries + 16 * i);
    return table;
}

// Which third of a table an index falls in.
struct Thirds {
    __mmask8 second;  // 32 and up
    __mmask8 third;   // 64 and up
};

OWL_WIDE inline Thirds thirdsOf(__m512i index) {
    return {_mm512_cmpge_epu64_mask(index, broadcast(32)),
            _mm512_cmpge_epu64_mask(index, broadcast(64))};
}

OWL_WIDE inline __m512i lookUp(const Table80& table, __m512i index, Thirds thirds) {
    __m512i entry = _mm512_permutex2var_epi32(table.part[0], index, table.part[1]);
    entry = _mm512_mask_mov_epi64(entry, thirds.second,
                                  _mm512_permutex2var_epi32(table.part[2], index, table.part[3]));
    return _mm512_mask_mov_epi64(entry, thirds.third,
                                 _mm512_permutexvar_epi32(index, table.part[4]));
}

// The tables, by d + 38 for a float's lower decimal exponent d, and by
// q + 30 for the power 10^q its nine digits need: the bits of the smallest
// float at or above 10^(d + 1) (infinity's beyond the largest float), and
// the 64-bit mantissa of 10^q in two halves.
constexpr int kLowestDecimal = -38, kLowestQ = 8 - 38;
struct WideTables {
    uint32_t threshold[80];
    uint32_t powerLow[80];
    uint32_t powerHigh[80];
    constexpr WideTables() : threshold(), powerLow(), powerHigh() {
        for (int i = 0; i < 80; ++i) threshold[i] = 0x7f800000;
        for (int biased = 254; biased >= 1; --biased) {
            const int decimal = kDecimalExponents.low[biased];
            uint32_t& first = threshold[decimal - kLowestDecimal];
            if (kDecimalExponents.above[biased] != UINT32_MAX)
                first = kDecimalExponents.above[biased];
            // A binade that starts at a higher decimal exponent starts at or
            // above every threshold below it.
            for (int lower = kLowestDecimal; lower < decimal; ++lower)
                if (threshold[lower - kLowestDecimal] > uint32_t(biased) << 23)
                    threshold[lower - kLowestDecimal] = uint32_t(biased) << 23;
        }
        for (int i = 0; i < 80 && kLowestQ + i - kLowestPower < 86; ++i) {
            const uint64_t mantissa = kDecimalPowers.power[kLowestQ + i - kLowestPower].mantissa;
            powerLow[i] = static_cast<uint32_t>(mantissa);
            powerHigh[i] = static_cast<uint32_t>(mantissa >> 32);
        }
    }
};
inline constexpr WideTables kWideTables;

// The arithmetic below stands in for the scalar formatter's tables: the
// lower decimal exponent of each binade, floor(q log2 10) for the power's
// binary exponent, and which powers are exact.
constexpr int lowerDecimal(int biased) {
    return ((biased - 127) * 78913) >> 18;
}
constexpr int powerExponent(int q) {
    return ((q * 1741647) >> 19) - 63;
}
constexpr bool tablesAgree() {
    for (int biased = 1; biased < 255; ++biased) {
        const int decimal = lowerDecimal(biased);
        if (decimal != kDecimalExponents.low[biased]) return false;
        const uint32_t threshold = kWideTables.threshold[decimal - kLowestDecimal];
        const uint32_t above = kDecimalExponents.above[biased];
        if (above == UINT32_MAX ? threshold <= ((uint32_t(biased) << 23) | 0x7fffff)
                                : threshold != above)
            return false;
        for (int upper = 0; upper < 2; ++upper) {
            const int q = 8 - decimal - upper;
            const DecimalPower& power = kDecimalPowers.power[q - kLowestPower];
            const DigitScale& scale = kDigitScales.scale[2 * biased + upper];
            if (power.exponent != powerExponent(q) || power.exact != (q >= 0 && q <= 27) ||
                scale.lshift != biased + powerExponent(q) - 86)
                return false;
        }
    }
    return true;
}
static_assert(tablesAgree(), "the vector formatter's arithmetic differs from the tables");

// The value at record of each of eight columns, or of the first lanes of
// them (the other lanes zero). The next cache line of each column is asked
// for ahead of use (see formatScientific8Fields).
OWL_WIDE inline __m256i valuesAt(const float* const* columns, size_t record, int lanes) {
    if (lanes == 8) {
        for (int i = 0; i < 8; ++i) __builtin_prefetch(columns[i] + record + 16);
        return _mm256_castps_si256(_mm256_set_ps(
            columns[7][record], columns[6][record], columns[5][record], columns[4][record],
            columns[3][record], columns[2][record], columns[1][record], columns[0][record]));
    }
    alignas(32) float values[8] = {};
    for (int i = 0; i < lanes; ++i) {
        __builtin_prefetch(columns[i] + record + 16);
        values[i] = columns[i][record];
    }
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(values));
}

// The fields of eight columns (or of the first lanes of them) at out;
// nullptr (nothing written that counts) when a value needs the scalar
// formatter.
OWL_WIDE inline __attribute__((always_inline)) char* formatEight(
    const float* const* columns, size_t record, int lanes, char* out, const Table80& thresholds,
    const Table80& powerLow, const Table80& powerHigh) {
    const __m256i values = valuesAt(columns, record, lanes);

    const __m512i bits = _mm512_cvtepu32_epi64(values);
    const __m512i magnitude = _mm512_and_si512(bits, broadcast(0x7fffffff));
    const __mmask8 negative = _mm512_test_epi64_mask(bits, broadcast(0x80000000));
    const __mmask8 missing = _mm512_cmpeq_epi64_mask(bits, broadcast(kFloatMaxBits));
    const __mmask8 zero = _mm512_cmpeq_epi64_mask(magnitude, _mm512_setzero_si512());
    const __mmask8 normal = _mm512_cmplt_epu64_mask(
        _mm512_sub_epi64(magnitude, broadcast(0x800000)), broadcast(0x7f000000));
    if (static_cast<__mmask8>(~(normal | zero)) != 0) return nullptr;

    // The decimal exponent: the binade's lower one, or one more at and above
    // the binade's threshold. Zeros take the exponent 0.
    const __m512i biased =
        _mm512_mask_mov_epi64(_mm512_srli_epi64(magnitude, 23), zero, broadcast(127));
    const __m512i lower = _mm512_srai_epi64(
        _mm512_mul_epi32(_mm512_sub_epi64(biased, broadcast(127)), broadcast(78913)), 18);
    const __m512i lowerIndex = _mm512_sub_epi64(lower, broadcast(kLowestDecimal));
    const __m512i threshold = _mm512_and_si512(lookUp(thresholds, lowerIndex, thirdsOf(lowerIndex)),
                                               broadcast(0xffffffff));
    const __mmask8 upper = _mm512_cmpge_epu64_mask(magnitude, threshold);
    const __m512i decimal = _mm512_mask_add_epi64(lower, upper, lower, broadcast(1));

    // 10^q = 10^(8 - decimal), and the mantissa shifted as the table's
    // lshift shifts it: biased + floor(q log2 10) - 149.
    const __m512i q = _mm512_sub_epi64(broadcast(8), decimal);
    const __m512i powerIndex = _mm512_sub_epi64(q, broadcast(kLowestQ));
    const Thirds powerThirds = thirdsOf(powerIndex);
    const __m512i low = lookUp(powerLow, powerIndex, powerThirds);
    const __m512i high = lookUp(powerHigh, powerIndex, powerThirds);
    const __m512i lshift = _mm512_sub_epi64(
        _mm512_add_epi64(biased, _mm512_srai_epi64(_mm512_mul_epi32(q, broadcast(1741647)), 19)),
        broadcast(149));
    const __m512i mantissa = _mm512_sllv_epi64(
        _mm512_or_si512(_mm512_and_si512(magnitude, broadcast(0x7fffff)), broadcast(0x800000)),
        lshift);

    // (shifted mantissa) * power: below 2^31 times 64 bits.
    const __m512i lowProduct = _mm512_mul_epu32(mantissa, low);
    const __m512i highProduct = _mm512_mul_epu32(mantissa, high);
    const __m512i fraction = _mm512_add_epi64(lowProduct, _mm512_slli_epi64(highProduct, 32));
    __m512i digits = _mm512_srli_epi64(highProduct, 32);
    const __m512i one = broadcast(1);
    digits =
        _mm512_mask_add_epi64(digits, _mm512_cmplt_epu64_mask(fraction, lowProduct), digits, one);

    // Rounding, as the scalar formatter decides it; powers other than 10^0
    // to 10^27 are inexact.
    const __m512i half = broadcast(uint64_t(1) << 63);
    const __mmask8 inexact = _mm512_cmpgt_epu64_mask(q, broadcast(27));
    const __mmask8 tieToOdd = _mm512_cmpeq_epu64_mask(fraction, half) &
                              _mm512_test_epi64_mask(digits, one) & static_cast<__mmask8>(~inexact);
    digits = _mm512_mask_add_epi64(digits, _mm512_cmpgt_epu64_mask(fraction, half) | tieToOdd,
                                   digits, one);
    const __mmask8 undecided = inexact & _mm512_cmple_epu64_mask(fraction, half) &
                               _mm512_cmpge_epu64_mask(_mm512_add_epi64(fraction, mantissa), half);
    const __mmask8 carried = _mm512_cmpeq_epi64_mask(digits, broadcast(1000000000));
    if ((undecided | carried) & normal & static_cast<__mmask8>(~missing)) return nullptr;
    digits = _mm512_maskz_mov_epi64(static_cast<__mmask8>(~zero), digits);

    // "d." and eight digits, then "e", the exponent's sign and two digits, ",".
    const __m512i first = _mm512_srli_epi64(_mm512_mul_epu32(digits, broadcast(1441151881)), 57);
    const __m512i text =
        eightDigits(_mm512_sub_epi64(digits, _mm512_mul_epu32(first, broadcast(100000000))));
    const __m512i size = _mm512_abs_epi64(decimal);
    const __m512i tens = _mm512_srli_epi64(_mm512_mul_epu32(size, broadcast(103)), 10);
    const __m512i ones = _mm512_sub_epi64(size, _mm512_mul_epu32(tens, broadcast(10)));
    __m512i exponent = _mm512_or_si512(
        _mm512_or_si512(broadcast(uint64_t('e') | uint64_t('0') << 16 | uint64_t('0') << 24),
                        _mm512_slli_epi64(tens, 16)),
        _mm512_slli_epi64(ones, 24));
    exponent = _mm512_or_si512(
        exponent, _mm512_mask_mov_epi64(broadcast(uint64_t('+') << 8),
                                        _mm512_cmplt_epi64_mask(decimal, _mm512_setzero_si512()),
                                        broadcast(uint64_t('-') << 8)));
    const __m512i head = _mm512_or_si512(
        _mm512_or_si512(broadcast('-' | '.' << 16),
                        _mm512_slli_epi64(_mm512_add_epi64(first, broadcast('0')), 8)),
        _mm512_slli_epi64(text, 24));
    const __m512i tail = _mm512_or_si512(
        _mm512_or_si512(_mm512_srli_epi64(text, 40), _mm512_slli_epi64(exponent, 24)),
        broadcast(uint64_t(',') << 56));
    const __m512i fieldsLow =
        _mm512_permutex2var_epi64(head, _mm512_set_epi64(11, 3, 10, 2, 9, 1, 8, 0), tail);
    const __m512i fieldsHigh =
        _mm512_permutex2var_epi64(head, _mm512_set_epi64(15, 7, 14, 6, 13, 5, 12, 4), tail);

    // The bytes each field keeps, 16 bits a field.
    __m512i keep = broadcast(0xfffe);
    keep = _mm512_mask_mov_epi64(keep, negative, broadcast(0xffff));
    keep = _mm512_mask_mov_epi64(keep, missing, broadcast(0x8000));
    keep = _mm512_maskz_mov_epi64(static_cast<__mmask8>((1u << lanes) - 1), keep);
    const __m128i masks = _mm512_cvtepi64_epi16(keep);
    const uint64_t keepLow = static_cast<uint64_t>(_mm_cvtsi128_si64(masks));
    const uint64_t keepHigh = static_cast<uint64_t>(_mm_extract_epi64(masks, 1));
    _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(keepLow, fieldsLow));
    out += __builtin_popcountll(keepLow);
    _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(keepHigh, fieldsHigh));
    return out + __builtin_popcountll(keepHigh);
}

__attribute__((noinline)) char* scalarFields(const float* const* columns, size_t count,
                                             size_t record, char* out) {
    for (size_t column = 0; column < count; ++column) {
        const float value = columns[column][record];
        if (value != FLT_MAX) out = formatScientific8(value, out);
        *out++ = ',';
    }
    return out;
}

}  // namespace

bool supported() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl") &&
           __builtin_cpu_supports("avx512vbmi2");
}

OWL_WIDE char* fields(const float* const* columns, size_t count, size_t record, char* out) {
    if (count < 4) return scalarFields(columns, count, record, out);
    const Table80 thresholds = loadTable(kWideTables.threshold);
    const Table80 powerLow = loadTable(kWideTables.powerLow);
    const Table80 powerHigh = loadTable(kWideTables.powerHigh);
    for (size_t column = 0; column < count; column += 8) {
        const int lanes = static_cast<int>(std::min<size_t>(8, count - column));
        char* end =
            formatEight(columns + column, record, lanes, out, thresholds, powerLow, powerHigh);
        out = end ? end : scalarFields(columns + column, static_cast<size_t>(lanes), record, out);
    }
    return out;
}

}  // namespace owl::numberformat::wide
