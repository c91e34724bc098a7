#include "libs/system/LargeBlocks.h"

#include <sys/mman.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "libs/system/SanitizedBuild.h"

namespace owl::largeblocks {

namespace {
constexpr size_t kHugePage = size_t{2} << 20;
constexpr size_t kSmallPage = 4096;
// Address space, not memory: only the pages written are ever backed.
constexpr size_t kMappingBytes = size_t{256} << 20;
constexpr size_t kBlockAlignment = 64;
// Released blocks give their pages back in batches of at least this many
// bytes, or all at once when their mapping empties: a call per block costs
// more than its pages when thousands are released, as at exit.
constexpr size_t kDiscardBatch = size_t{8} << 20;

size_t roundUp(size_t value, size_t multiple) {
    return (value + multiple - 1) / multiple * multiple;
}

// A mapping aligned to the large page, and the blocks carved from it so far.
struct Mapping {
    char* begin = nullptr;
    size_t size = 0;
    size_t used = 0;  // blocks are carved from begin + used
    size_t high = 0;  // the most ever used: pages past it were never written
    size_t live = 0;  // blocks not yet released
    std::vector<std::pair<char*, char*>> released;  // pages not given back yet
    size_t releasedBytes = 0;

    bool holds(const char* block) const { return block >= begin && block < begin + size; }
};

struct State {
    std::mutex mutex;
    std::vector<Mapping> mappings;  // the last is the one carved from
};

// Never destroyed: blocks may be released by other static objects at exit.
State& state() {
    static State* const shared = new State;
    return *shared;
}

Mapping mapAligned(size_t size) {
    const size_t reserved = size + kHugePage;
    void* raw = ::mmap(nullptr, reserved, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    char* const start = static_cast<char*>(raw);
    char* const begin =
        reinterpret_cast<char*>(roundUp(reinterpret_cast<uintptr_t>(start), kHugePage));
    if (begin > start) ::munmap(start, static_cast<size_t>(begin - start));
    char* const end = begin + size;
    if (start + reserved > end) ::munmap(end, static_cast<size_t>(start + reserved - end));
#ifdef MADV_HUGEPAGE
    ::madvise(begin, size, MADV_HUGEPAGE);  // a hint, refused harmlessly without large pages
#endif
    Mapping mapping;
    mapping.begin = begin;
    mapping.size = size;
    return mapping;
}

// A mapping for blocks of which the first takes size bytes; no larger than
// that block where address space is scarce (a limit on it).
Mapping mapForBlock(size_t size) {
    const size_t least = roundUp(size, kHugePage);
    try {
        return mapAligned(std::max(kMappingBytes, least));
    } catch (const std::bad_alloc&) {
        if (least >= kMappingBytes) throw;
        return mapAligned(least);
    }
}

// Gives the whole pages of [begin, end) back to the system; they read as
// zero if written again.
void discardPages(char* begin, char* end) {
    char* const from =
        reinterpret_cast<char*>(roundUp(reinterpret_cast<uintptr_t>(begin), kSmallPage));
    char* const to = reinterpret_cast<char*>(reinterpret_cast<uintptr_t>(end) & ~(kSmallPage - 1));
    if (to > from) ::madvise(from, static_cast<size_t>(to - from), MADV_DONTNEED);
}

// Gives back the pages of the released blocks, joining neighbours so that
// the pages they share go too.
void discardReleased(Mapping& mapping) {
    auto& ranges = mapping.released;
    std::sort(ranges.begin(), ranges.end());
    for (size_t i = 0; i < ranges.size();) {
        char* const begin = ranges[i].first;
        char* end = ranges[i].second;
        for (++i; i < ranges.size() && ranges[i].first <= end; ++i)
            end = std::max(end, ranges[i].second);
        discardPages(begin, end);
    }
    ranges.clear();
    mapping.releasedBytes = 0;
}

void releaseFrom(State& shared, size_t index, char* block, size_t size) {
    Mapping& mapping = shared.mappings[index];
    const bool newest = index + 1 == shared.mappings.size();
    if (--mapping.live == 0 && !newest) {
        ::munmap(mapping.begin, mapping.size);
        shared.mappings.erase(shared.mappings.begin() + static_cast<long>(index));
        return;
    }
    if (mapping.live == 0) {
        discardPages(mapping.begin, mapping.begin + mapping.high);
        mapping.used = mapping.high = 0;
        mapping.released.clear();
        mapping.releasedBytes = 0;
        return;
    }
    // The newest block's pages are kept for the next one carved in its place.
    if (newest && block + size == mapping.begin + mapping.used) {
        mapping.used -= size;
        return;
    }
    mapping.released.emplace_back(block, block + size);
    mapping.releasedBytes += size;
    if (mapping.releasedBytes >= kDiscardBatch) discardReleased(mapping);
}
}  // namespace

void* allocate(size_t bytes) {
    if (kSanitizedBuild || bytes < kLargeBytes) return ::operator new(bytes);
    const size_t size = roundUp(bytes, kBlockAlignment);
    State& shared = state();
    std::lock_guard<std::mutex> lock(shared.mutex);
    if (shared.mappings.empty() || shared.mappings.back().size - shared.mappings.back().used < size)
        shared.mappings.push_back(mapForBlock(size));
    Mapping& mapping = shared.mappings.back();
    char* const block = mapping.begin + mapping.used;
    mapping.used += size;
    mapping.high = std::max(mapping.high, mapping.used);
    ++mapping.live;
    return block;
}

void release(void* block, size_t bytes) noexcept {
    if (!block) return;
    if (kSanitizedBuild || bytes < kLargeBytes) return ::operator delete(block);
    char* const start = static_cast<char*>(block);
    State& shared = state();
    std::lock_guard<std::mutex> lock(shared.mutex);
    for (size_t i = 0; i < shared.mappings.size(); ++i)
        if (shared.mappings[i].holds(start))
            return releaseFrom(shared, i, start, roundUp(bytes, kBlockAlignment));
}

Usage usage() {
    State& shared = state();
    std::lock_guard<std::mutex> lock(shared.mutex);
    Usage result;
    result.mappings = shared.mappings.size();
    for (const Mapping& mapping : shared.mappings) result.liveBlocks += mapping.live;
    return result;
}

}  // namespace owl::largeblocks
