#include "libs/system/LargeBlocks.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "libs/system/HeapPages.h"
#include "libs/system/SanitizedBuild.h"

namespace lb = owl::largeblocks;

namespace {
constexpr size_t kBlock = size_t{1} << 20;

class LargeBlocks : public ::testing::Test {
  protected:
    void SetUp() override {
        if (owl::kSanitizedBuild) GTEST_SKIP() << "sanitizer build: blocks come from operator new";
        before_ = lb::usage();
    }
    // Every test releases what it allocates.
    void TearDown() override {
        if (!owl::kSanitizedBuild) {
            EXPECT_EQ(lb::usage().liveBlocks, before_.liveBlocks);
        }
    }
    lb::Usage before_;
};
}  // namespace

TEST_F(LargeBlocks, BlocksLieSideBySideAndTheNewestReleasedLeavesItsPlace) {
    char* first = static_cast<char*>(lb::allocate(kBlock));
    char* second = static_cast<char*>(lb::allocate(kBlock + 1));
    char* third = static_cast<char*>(lb::allocate(kBlock));
    EXPECT_EQ(second, first + kBlock);
    EXPECT_EQ(third, second + kBlock + 64);  // blocks start on cache lines
    std::memset(third, 7, kBlock);
    lb::release(third, kBlock);
    char* next = static_cast<char*>(lb::allocate(kBlock / 2));
    EXPECT_EQ(next, third);
    lb::release(next, kBlock / 2);
    lb::release(second, kBlock + 1);
    lb::release(first, kBlock);
}

TEST_F(LargeBlocks, AMappingGoesWhenItsLastBlockIsReleased) {
    // Larger than any shared mapping: it gets one of its own, after which
    // blocks are carved from a new one.
    const size_t huge = size_t{300} << 20;
    char* own = static_cast<char*>(lb::allocate(huge));
    char* after = static_cast<char*>(lb::allocate(kBlock));
    own[0] = own[huge - 1] = 1;  // the whole block is usable
    const size_t mappings = lb::usage().mappings;
    lb::release(own, huge);
    EXPECT_EQ(lb::usage().mappings, mappings - 1);
    lb::release(after, kBlock);
}

TEST_F(LargeBlocks, SmallBlocksComeFromTheHeap) {
    std::vector<float, owl::LargeBlockAllocator<float>> small(100, 1.5f);
    EXPECT_EQ(lb::usage().liveBlocks, before_.liveBlocks);
    std::vector<float, owl::LargeBlockAllocator<float>> large(lb::kLargeBytes, 2.5f);
    EXPECT_EQ(lb::usage().liveBlocks, before_.liveBlocks + 1);
}

// Threads allocating and releasing at once never get overlapping blocks.
TEST_F(LargeBlocks, ThreadsGetBlocksOfTheirOwn) {
    std::vector<std::thread> threads;
    std::vector<int> overwritten(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &overwritten] {
            for (int round = 0; round < 200; ++round) {
                const size_t bytes = lb::kLargeBytes + static_cast<size_t>(round % 7) * 4096;
                auto* block = static_cast<unsigned char*>(lb::allocate(bytes));
                std::memset(block, t + 1, bytes);
                std::this_thread::yield();
                for (size_t i = 0; i < bytes; i += 512)
                    if (block[i] != t + 1) ++overwritten[static_cast<size_t>(t)];
                lb::release(block, bytes);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(overwritten, std::vector<int>(4, 0));
}

namespace {
size_t residentBytes() {
    unsigned long size = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> size >> resident;
    return resident * 4096;
}

bool largePagesOffered() {
    std::ifstream setting("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string text;
    std::getline(setting, text);
    return text.find("[never]") == std::string::npos && !text.empty();
}

// The "THPeligible" value of the mapping that holds the address, from
// /proc/self/smaps: 1 when it may take large pages, -1 when no mapping
// holds it.
int largePagesEligible(const void* address) {
    const auto at = reinterpret_cast<uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        uintptr_t begin = 0, end = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> begin >> dash >> end && dash == '-')
            inside = begin <= at && at < end;
        if (inside && line.rfind("THPeligible:", 0) == 0) return std::atoi(line.c_str() + 12);
    }
    return -1;
}

}  // namespace

// Blocks released in the middle of a mapping give their memory back once a
// batch of megabytes is released, not only when the whole mapping empties.
TEST_F(LargeBlocks, ReleasedBlocksGiveTheirMemoryBack) {
    std::vector<char*> blocks;
    for (int i = 0; i < 24; ++i) {
        blocks.push_back(static_cast<char*>(lb::allocate(kBlock)));
        std::memset(blocks.back(), 1, kBlock);
    }
    char* kept = static_cast<char*>(lb::allocate(kBlock));  // the mapping stays in use
    const size_t before = residentBytes();
    for (char* block : blocks) lb::release(block, kBlock);
    EXPECT_GT(before, residentBytes() + 12 * kBlock);
    lb::release(kept, kBlock);
}

TEST(HeapPages, TheHeapGrowsOnceByALargeStepOfferedForLargePages) {
    if (owl::kSanitizedBuild) GTEST_SKIP() << "sanitizers bring their own allocator";
    if (!largePagesOffered()) GTEST_SKIP() << "this kernel offers no large pages";
    char* const before = static_cast<char*>(::sbrk(0));
    owl::preferLargeHeapPages();
    char* const after = static_cast<char*>(::sbrk(0));
    ASSERT_GE(after - before, 256 << 20);
    EXPECT_EQ(largePagesEligible(after - 1), 1);
    // Allocations go on in the grown heap, without growing it again.
    void* blocks[1000];
    for (void*& block : blocks) std::memset(block = std::malloc(1000), 1, 1000);
    EXPECT_EQ(::sbrk(0), after);
    for (void* block : blocks) std::free(block);
}
