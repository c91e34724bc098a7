#include "stats/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "libs/system/UsableCores.h"

namespace stats {

namespace {
// Set on the threads of a parallel loop: a loop inside one (the statistics
// of each run of a study) runs on its own thread, since the outer loop
// already has the cores busy.
thread_local bool insideParallelLoop = false;
}  // namespace

void parallelFor(size_t count, unsigned workers, const std::function<void(size_t)>& work) {
    const size_t threads = insideParallelLoop ? 1 : std::min<size_t>(workers, count);
    if (threads <= 1) {
        for (size_t i = 0; i < count; ++i) work(i);
        return;
    }
    std::atomic<size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto worker = [&] {
        insideParallelLoop = true;
        for (size_t i; (i = next++) < count;) {
            try {
                work(i);
            } catch (...) {
                std::lock_guard<std::mutex> lock(failureLock);
                if (!failure) failure = std::current_exception();
                next = count;  // the others stop after their current index
            }
        }
        insideParallelLoop = false;
    };
    std::vector<std::thread> pool;
    for (size_t t = 1; t < threads; ++t) pool.emplace_back(worker);
    worker();
    for (std::thread& thread : pool) thread.join();
    if (failure) std::rethrow_exception(failure);
}

unsigned statsWorkers() {
    return std::min(owl::usableCores(), 8u);
}

}  // namespace stats
