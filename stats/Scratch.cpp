#include "stats/Scratch.h"

#include <algorithm>

namespace stats {

namespace {
// The thread's free buffers; a buffer in use belongs to its Scratch.
thread_local std::vector<std::unique_ptr<std::vector<double>>> pool;
}  // namespace

// The smallest free buffer that is large enough, else the largest (grown).
Scratch::Scratch(size_t size) : size_(size) {
    auto best = pool.end();
    for (auto it = pool.begin(); it != pool.end(); ++it) {
        const size_t have = (*it)->size();
        if (best == pool.end()) {
            best = it;
            continue;
        }
        const size_t bestHave = (*best)->size();
        const bool fits = have >= size, bestFits = bestHave >= size;
        if ((fits && (!bestFits || have < bestHave)) || (!fits && !bestFits && have > bestHave))
            best = it;
    }
    if (best == pool.end()) {
        buffer_ = std::make_unique<std::vector<double>>();
    } else {
        buffer_ = std::move(*best);
        pool.erase(best);
    }
    if (buffer_->size() < size) buffer_->resize(size);
}

Scratch::~Scratch() {
    if (buffer_) pool.push_back(std::move(buffer_));
}

}  // namespace stats
