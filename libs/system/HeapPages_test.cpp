#include "libs/system/HeapPages.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "libs/system/SanitizedBuild.h"

namespace {

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
