#pragma once
// Runs work(0..count-1) on up to `workers` threads, each index once; the
// first exception a call throws is rethrown on the calling thread. Called
// from inside another parallel loop, it runs on the calling thread alone.

#include <cstddef>
#include <functional>

namespace stats {

void parallelFor(size_t count, unsigned workers, const std::function<void(size_t)>& work);

// Threads worth using for per-variable statistics on this machine.
unsigned statsWorkers();

}  // namespace stats
