#include "libs/system/HeapPages.h"

#include <malloc.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <initializer_list>

#include "libs/system/SanitizedBuild.h"

namespace owl {

namespace {
constexpr size_t kStep = size_t{256} << 20;  // address space; pages are backed when written
constexpr size_t kHugePage = size_t{2} << 20;
constexpr size_t kProbe = size_t{64} << 10;  // below the size malloc maps on its own
constexpr int kMostProbes = 64;
// malloc's own defaults, restored once the step is taken (or refused).
constexpr int kDefaultTopPad = 128 << 10;
constexpr int kDefaultTrimThreshold = 128 << 10;

// Whether the process may take the step several times over: a job given a
// small address-space or data limit keeps its room for its data.
bool limitsAllowStep() {
    for (int resource : {RLIMIT_AS, RLIMIT_DATA}) {
        struct rlimit limit {};
        if (::getrlimit(resource, &limit) != 0) return false;
        if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < 8 * kStep) return false;
    }
    return true;
}

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
    if (kSanitizedBuild || !limitsAllowStep()) return;
    if (::mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * kStep)) == 0) return;
    if (::mallopt(M_TOP_PAD, static_cast<int>(kStep)) == 0) return;
    char* const before = growHeap();
    char* const after = heapEnd();
    ::mallopt(M_TOP_PAD, kDefaultTopPad);
    if (after <= before) {  // the heap could not grow: nothing to keep
        ::mallopt(M_TRIM_THRESHOLD, kDefaultTrimThreshold);
        return;
    }
    const uintptr_t from = (reinterpret_cast<uintptr_t>(before) + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t to = reinterpret_cast<uintptr_t>(after);
#ifdef MADV_HUGEPAGE
    if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#endif
}

}  // namespace owl
