#include "libs/mondata/RowIndex.h"

#include <algorithm>

namespace mon {

int RowIndex::findStep(int step) const {
    auto it = std::lower_bound(steps_.begin(), steps_.end(), step);
    if (it == steps_.end() || *it != step) return -1;
    return static_cast<int>(it - steps_.begin());
}

int RowIndex::row(int step, int loop) const {
    int position = findStep(step);
    if (position < 0) return -1;
    int count = loopCounts_[position];
    if (loop == -1) return firstRows_[position] + count - 1;
    if (loop < 1 || loop > count) return -1;
    return firstRows_[position] + loop - 1;
}

int RowIndex::positionOfRow(int row) const {
    auto it = std::upper_bound(firstRows_.begin(), firstRows_.end(), row);
    return static_cast<int>(it - firstRows_.begin()) - 1;
}

bool RowIndex::isAfterLast(int step, int loop) const {
    if (steps_.empty()) return true;
    if (step != steps_.back()) return step > steps_.back();
    return loop > loopCounts_.back();
}

int RowIndex::append(int step, int loop) {
    if (!steps_.empty() && steps_.back() == step) {
        rowCount_ += loop - loopCounts_.back();
        loopCounts_.back() = loop;
    } else {
        steps_.push_back(step);
        firstRows_.push_back(rowCount_);
        loopCounts_.push_back(loop);
        rowCount_ += loop;
    }
    return rowCount_;
}

int RowIndex::truncateFrom(int step, int loop) {
    auto it = std::lower_bound(steps_.begin(), steps_.end(), step);
    size_t keep = static_cast<size_t>(it - steps_.begin());
    if (it != steps_.end() && *it == step && loop > 1) {
        loopCounts_[keep] = std::min(loopCounts_[keep], loop - 1);
        ++keep;
    }
    steps_.resize(keep);
    firstRows_.resize(keep);
    loopCounts_.resize(keep);
    rowCount_ = keep == 0 ? 0 : firstRows_.back() + loopCounts_.back();
    return rowCount_;
}

}  // namespace mon
