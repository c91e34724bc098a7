#pragma once
// Memory for large arrays, such as a variable's values. Blocks of at least
// kLargeBytes are carved one after the other from big anonymous mappings
// that the kernel may back with 2 MB pages, so arrays allocated together
// (a run's columns, reserved at once) share a few large pages instead of
// taking thousands of 4 KB ones. On virtual machines the first write to
// each fresh 4 KB page costs microseconds, which made placing a loaded
// run's values cost as much as parsing them.
//
// Smaller blocks come from operator new (a released block gives back only
// its whole pages, so a small one would give back too little), and so does
// every block in
// sanitizer builds, whose checks must see them. Released blocks give their
// pages back to the system in batches of megabytes; a mapping is unmapped
// (or, the newest one, emptied) when its last block is released.

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

namespace owl {

namespace largeblocks {
constexpr size_t kLargeBytes = size_t{16} << 10;

// Throws std::bad_alloc when the system has no room.
void* allocate(size_t bytes);
// bytes as given to allocate().
void release(void* block, size_t bytes) noexcept;

struct Usage {
    size_t mappings = 0;    // mappings blocks are carved from
    size_t liveBlocks = 0;  // large blocks not yet released
};
Usage usage();
}  // namespace largeblocks

// A standard allocator over largeblocks, for containers of large arrays.
template <class T>
struct LargeBlockAllocator {
    using value_type = T;

    LargeBlockAllocator() = default;
    template <class U>
    LargeBlockAllocator(const LargeBlockAllocator<U>&) noexcept {}

    T* allocate(size_t count) {
        if (count > SIZE_MAX / sizeof(T)) throw std::bad_array_new_length();
        return static_cast<T*>(largeblocks::allocate(count * sizeof(T)));
    }
    void deallocate(T* block, size_t count) noexcept {
        largeblocks::release(block, count * sizeof(T));
    }
};

// The same for buffers that are written before they are read: elements made
// without a value are left as they are, not zeroed.
template <class T>
struct BufferAllocator : LargeBlockAllocator<T> {
    template <class U>
    struct rebind {
        using other = BufferAllocator<U>;
    };

    BufferAllocator() = default;
    template <class U>
    BufferAllocator(const BufferAllocator<U>&) noexcept {}

    template <class U>
    void construct(U* element) noexcept {
        ::new (static_cast<void*>(element)) U;
    }
    template <class U, class... Arguments>
    void construct(U* element, Arguments&&... arguments) {
        ::new (static_cast<void*>(element)) U(std::forward<Arguments>(arguments)...);
    }
};

template <class T, class U>
bool operator==(const LargeBlockAllocator<T>&, const LargeBlockAllocator<U>&) {
    return true;
}
template <class T, class U>
bool operator!=(const LargeBlockAllocator<T>&, const LargeBlockAllocator<U>&) {
    return false;
}

}  // namespace owl
