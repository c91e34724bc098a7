#include "libs/system/HeapPages.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "libs/system/SanitizedBuild.h"

namespace owl {

namespace {
constexpr size_t kStep = size_t{256} << 20;  // address space; pages are backed when written
constexpr size_t kHugePage = size_t{2} << 20;
constexpr size_t kProbe = size_t{64} << 10;  // below the size malloc maps on its own
constexpr int kMostProbes = 64;

char* heapEnd() {
    return static_cast<char*>(::sbrk(0));
}

// Allocates small blocks until malloc extends the heap (by kStep, its top
// pad), frees them, and returns where the heap ended before.
char* growHeap() {
    char* const before = heapEnd();
    void* probes[kMostProbes];
    int count = 0;
    while (count < kMostProbes && heapEnd() == before) probes[count++] = std::malloc(kProbe);
    for (int i = 0; i < count; ++i) std::free(probes[i]);
    return before;
}
}  // namespace

void preferLargeHeapPages() {
    if (kSanitizedBuild) return;
    if (::mallopt(M_TOP_PAD, static_cast<int>(kStep)) == 0) return;
    if (::mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * kStep)) == 0) return;
    char* const before = growHeap();
    char* const after = heapEnd();
    const uintptr_t from = (reinterpret_cast<uintptr_t>(before) + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t to = reinterpret_cast<uintptr_t>(after);
#ifdef MADV_HUGEPAGE
    if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#endif
}

}  // namespace owl
