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
    auto unset = [](float value) { return value == FLT_MAX; };
    return loopsInUse_ == 0 && std::all_of(prelude_.begin(), prelude_.end(), unset);
}

void FoamLogStep::writeTo(FoamRecordSink& sink, int step, double time,
                          const std::function<int(size_t slot)>& columnOf) const {
    if (loopsInUse_ == 0) {
        sink.beginRecord(step, 1, time);
        writeLoop(sink, nullptr, columnOf);
    }
    for (size_t i = 0; i < loopsInUse_; ++i) {
        sink.beginRecord(step, static_cast<int>(i) + 1, time);
        writeLoop(sink, &loops_[i], columnOf);
    }
}

void FoamLogStep::writeLoop(FoamRecordSink& sink, const std::vector<float>* loop,
                            const std::function<int(size_t slot)>& columnOf) const {
    for (size_t slot = 0; slot < prelude_.size(); ++slot) {
        float value = loop && (*loop)[slot] != FLT_MAX ? (*loop)[slot] : prelude_[slot];
        if (value == FLT_MAX) continue;
        const int column = columnOf(slot);
        if (column >= 0) sink.setValue(column, value);
    }
}

}  // namespace mon
