// Checks the table's float formatter for all 2^32 bit patterns, on every
// core, against printf "%.8e" of the float promoted to double (what
// std::ostream << std::scientific << std::setprecision(8) writes; the unit
// tests compare samples with the stream itself), or against std::to_chars
// (scientific, precision 8), which the standard defines as that printf
// format and which is four times quicker; or, with "wide", the vector
// formatter of a row's fields (eight patterns at a time, as eight columns)
// against this formatter, where the processor runs it:
//   table_check_all [THREADS [printf|to_chars|wide]]

#include <atomic>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "export/NumberFormat.h"
#include "export/NumberFormatWide.h"

namespace {

std::atomic<uint64_t> mismatches{0};
bool useToChars = false;

int reference(float value, char* out, size_t size) {
    if (!useToChars) return std::snprintf(out, size, "%.8e", double(value));
    return int(std::to_chars(out, out + size, double(value), std::chars_format::scientific, 8).ptr -
               out);
}

void checkRange(uint64_t begin, uint64_t end) {
    char fast[32], expected[64];
    for (uint64_t pattern = begin; pattern < end; ++pattern) {
        const uint32_t bits = static_cast<uint32_t>(pattern);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        char* stop = owl::numberformat::formatScientific8(value, fast);
        const int length = reference(value, expected, sizeof expected);
        if (stop - fast != length || std::memcmp(fast, expected, length) != 0) {
            if (mismatches++ < 10) {
                std::printf("0x%08x: %.*s != %.*s\n", bits, int(stop - fast), fast, length,
                            expected);
                std::fflush(stdout);
            }
        }
    }
}

// Eight patterns a row: the fields as formatScientific8 and "," write them.
void checkRangeWide(uint64_t begin, uint64_t end) {
    char fast[8 * 32 + owl::numberformat::kFieldsOverrun], expected[8 * 32];
    float values[8];
    const float* columns[8];
    for (int i = 0; i < 8; ++i) columns[i] = &values[i];
    for (uint64_t pattern = begin; pattern < end; pattern += 8) {
        char* want = expected;
        for (int i = 0; i < 8; ++i) {
            const uint32_t bits = static_cast<uint32_t>(pattern + i);
            std::memcpy(&values[i], &bits, sizeof bits);
            if (bits != 0x7f7fffff) want = owl::numberformat::formatScientific8(values[i], want);
            *want++ = ',';
        }
        char* stop = owl::numberformat::wide::fields(columns, 8, 0, fast);
        if (stop - fast != want - expected || std::memcmp(fast, expected, want - expected) != 0) {
            if (mismatches++ < 10) {
                std::printf("0x%08x..: %.*s != %.*s\n", static_cast<uint32_t>(pattern),
                            int(stop - fast), fast, int(want - expected), expected);
                std::fflush(stdout);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    unsigned threads =
        argc > 1 ? unsigned(std::atoi(argv[1])) : std::thread::hardware_concurrency();
    if (threads == 0) threads = 1;
    useToChars = argc > 2 && std::strcmp(argv[2], "to_chars") == 0;
    const bool wide = argc > 2 && std::strcmp(argv[2], "wide") == 0;
    if (wide && !owl::numberformat::wide::supported()) {
        std::printf("this processor does not run the vector formatter\n");
        return 2;
    }
    const uint64_t total = uint64_t(1) << 32, chunk = 1 << 24;
    std::atomic<uint64_t> next{0};
    std::vector<std::thread> pool;
    for (unsigned i = 0; i < threads; ++i)
        pool.emplace_back([&] {
            for (uint64_t begin; (begin = next.fetch_add(chunk)) < total;) {
                (wide ? checkRangeWide : checkRange)(begin, begin + chunk);
                if ((begin / chunk) % 32 == 31)
                    std::fprintf(stderr, "%3.0f%%\n", 100.0 * (begin + chunk) / total);
            }
        });
    for (std::thread& thread : pool) thread.join();
    std::printf("%llu patterns, %llu mismatches\n", (unsigned long long)total,
                (unsigned long long)mismatches.load());
    return mismatches == 0 ? 0 : 1;
}
