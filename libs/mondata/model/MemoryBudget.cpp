#include "libs/mondata/model/MemoryBudget.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

namespace mon {

namespace {
uint64_t processLimit(int resource) {
    struct rlimit limit {};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return UINT64_MAX;
    return static_cast<uint64_t>(limit.rlim_cur);
}

uint64_t physicalMemory() {
    const long pages = ::sysconf(_SC_PHYS_PAGES), pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return UINT64_MAX;
    return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
}

uint64_t& budget() {
    static uint64_t bytes =
        std::min({physicalMemory(), processLimit(RLIMIT_AS), processLimit(RLIMIT_DATA)});
    return bytes;
}
}  // namespace

uint64_t memoryBudget() {
    return budget();
}

void limitMemoryBudget(uint64_t bytes) {
    budget() = std::min(budget(), bytes);
}

}  // namespace mon
