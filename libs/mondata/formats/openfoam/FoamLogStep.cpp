#include "libs/mondata/formats/openfoam/FoamLogStep.h"

#include <algorithm>

namespace mon {

void FoamLogStep::clear() {
    std::fill(prelude_.begin(), prelude_.end(), FLT_MAX);
    for (size_t i = 0; i < loopsInUse_; ++i) std::fill(loops_[i].begin(), loops_[i].end(), FLT_MAX);
    loopsInUse_ = 0;
}

void FoamLogStep::setSlotCount(size_t slots) {
    prelude_.resize(slots, FLT_MAX);
    for (auto& loop : loops_) loop.resize(slots, FLT_MAX);
}

void FoamLogStep::beginLoop() {
    if (loopsInUse_ == loops_.size()) loops_.emplace_back(prelude_.size(), FLT_MAX);
    ++loopsInUse_;
}

bool FoamLogStep::isEmpty() const {
    auto unset = [](double value) { return value == FLT_MAX; };
    return loopsInUse_ == 0 && std::all_of(prelude_.begin(), prelude_.end(), unset);
}

}  // namespace mon
