// Checks the table's float formatter against printf "%.8e" of the float
// promoted to double (what std::ostream << std::scientific <<
// std::setprecision(8) writes; the unit tests compare with the stream
// itself) for all 2^32 bit patterns, on every core. Takes minutes:
//   table_check_all [THREADS]

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "export/NumberFormat.h"

namespace {

std::atomic<uint64_t> mismatches{0};

void checkRange(uint64_t begin, uint64_t end) {
    char fast[32], reference[64];
    for (uint64_t pattern = begin; pattern < end; ++pattern) {
        const uint32_t bits = static_cast<uint32_t>(pattern);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        char* stop = owl::numberformat::formatScientific8(value, fast);
        const int length = std::snprintf(reference, sizeof reference, "%.8e", double(value));
        if (stop - fast != length || std::memcmp(fast, reference, length) != 0) {
            if (mismatches++ < 10)
                std::printf("0x%08x: %.*s != %s\n", bits, int(stop - fast), fast, reference);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    unsigned threads =
        argc > 1 ? unsigned(std::atoi(argv[1])) : std::thread::hardware_concurrency();
    if (threads == 0) threads = 1;
    const uint64_t total = uint64_t(1) << 32, chunk = 1 << 24;
    std::atomic<uint64_t> next{0};
    std::vector<std::thread> pool;
    for (unsigned i = 0; i < threads; ++i)
        pool.emplace_back([&] {
            for (uint64_t begin; (begin = next.fetch_add(chunk)) < total;) {
                checkRange(begin, begin + chunk);
                if ((begin / chunk) % 32 == 31)
                    std::fprintf(stderr, "%3.0f%%\n", 100.0 * (begin + chunk) / total);
            }
        });
    for (std::thread& thread : pool) thread.join();
    std::printf("%llu patterns, %llu mismatches\n", (unsigned long long)total,
                (unsigned long long)mismatches.load());
    return mismatches == 0 ? 0 : 1;
}
