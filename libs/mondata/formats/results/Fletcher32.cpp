#include "libs/mondata/formats/results/Fletcher32.h"

#include <cstring>

// Vectorized for the processor it runs on: the checksum is summed over
// blocks of up to 360 16-bit words as HDF5 does, but within a block as a
// plain and a weighted sum, which the compiler turns into vector code. Not
// under ThreadSanitizer, whose runtime is not up yet when the dynamic loader
// calls the clones' resolver.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && !defined(__SANITIZE_THREAD__)
#define OWL_VECTORIZED \
    __attribute__((target_clones("arch=x86-64-v4", "avx2", "default"), optimize("O3")))
#else
#define OWL_VECTORIZED
#endif

namespace mon::results {

namespace {
// HDF5's end-around-carry reduction, kept exactly so that the result is the
// very value it computes.
inline uint32_t fold(uint32_t sum) {
    return (sum & 0xffff) + (sum >> 16);
}
}  // namespace

// HDF5 adds each big-endian word w to sum1 and then sum1 to sum2, folding
// both after every 360 words. Over a block of n words that adds n * sum1 +
// sum (n - i) w_i to sum2, all modulo 2^32 as in its 32-bit arithmetic.
OWL_VECTORIZED uint32_t fletcher32(const void* data, size_t bytes) {
    const uint8_t* word = static_cast<const uint8_t*>(data);
    size_t words = bytes / 2;
    uint32_t sum1 = 0, sum2 = 0;
    while (words > 0) {
        const uint32_t block = words > 360 ? 360 : static_cast<uint32_t>(words);
        uint32_t plain = 0, weighted = 0;
        for (uint32_t i = 0; i < block; ++i) {
            const uint32_t value = uint32_t(word[2 * i]) << 8 | word[2 * i + 1];
            plain += value;
            weighted += (block - i) * value;
        }
        sum2 = fold(sum2 + block * sum1 + weighted);
        sum1 = fold(sum1 + plain);
        word += 2 * block;
        words -= block;
    }
    if (bytes % 2) {
        sum1 += uint32_t(*word) << 8;
        sum2 += sum1;
        sum1 = fold(sum1);
        sum2 = fold(sum2);
    }
    return fold(sum2) << 16 | fold(sum1);
}

bool fletcher32Matches(const void* data, size_t bytes, const void* stored) {
    const uint8_t* text = static_cast<const uint8_t*>(stored);
    const uint32_t expected = uint32_t(text[0]) | uint32_t(text[1]) << 8 | uint32_t(text[2]) << 16 |
                              uint32_t(text[3]) << 24;
    const uint32_t sum = fletcher32(data, bytes);
    const uint32_t swapped = (sum & 0xff00ff00) >> 8 | (sum & 0x00ff00ff) << 8;
    return expected == sum || expected == swapped;
}

}  // namespace mon::results
