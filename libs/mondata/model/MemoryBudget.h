#pragma once
// How much memory a run's data may take: the machine's physical memory, or
// less when the process is limited (ulimit -v, -d). Readers refuse a run
// whose values would not fit with a clear message, instead of failing
// part-way through allocating them.

#include <cstdint>

namespace mon {

// In bytes; computed once.
uint64_t memoryBudget();
// Lowers the budget for the rest of the process (fuzzing and tests, where the
// machine's memory is not what may be used).
void limitMemoryBudget(uint64_t bytes);

}  // namespace mon
