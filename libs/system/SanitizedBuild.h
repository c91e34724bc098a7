#pragma once
// Whether this build runs under AddressSanitizer or MemorySanitizer, which
// replace the allocator: memory tuning is left to them, and their checks
// must see every block.

namespace owl {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitizedBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
constexpr bool kSanitizedBuild = true;
#else
constexpr bool kSanitizedBuild = false;
#endif
#else
constexpr bool kSanitizedBuild = false;
#endif

}  // namespace owl
