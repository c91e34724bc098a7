#include "libs/mondata/model/RowIndex.h"

#include <algorithm>

namespace mon {

int64_t RowIndex::endRecordAt(int position) const {
    const size_t next = static_cast<size_t>(position) + 1;
    return next < firstRecords_.size() ? firstRecords_[next] : rowCount();
}

int64_t RowIndex::recordFrom(int position, int loop) const {
    const int64_t first = firstRecordAt(position), end = endRecordAt(position);
    if (end - first == loopCountAt(position))  // no loop skipped: record = loop - 1
        return first + std::min<int64_t>(std::max(loop, 1) - 1, end - first);
    auto begin = loops_.begin();
    return std::lower_bound(begin + first, begin + end, loop) - begin;
}

int RowIndex::findStep(int step) const {
    auto it = std::lower_bound(steps_.begin(), steps_.end(), step);
    if (it == steps_.end() || *it != step) return -1;
    return static_cast<int>(it - steps_.begin());
}

int64_t RowIndex::record(int step, int loop) const {
    const int position = findStep(step);
    if (position < 0) return -1;
    if (loop == -1) return endRecordAt(position) - 1;
    const int64_t found = recordFrom(position, loop);
    return found < endRecordAt(position) && loopOfRecord(found) == loop ? found : -1;
}

int RowIndex::positionAfterStep(int64_t step) const {
    const auto it = std::upper_bound(steps_.begin(), steps_.end(), step,
                                     [](int64_t value, int stepHeld) { return value < stepHeld; });
    return static_cast<int>(it - steps_.begin());
}

int RowIndex::positionOfRecord(int64_t record) const {
    auto it = std::upper_bound(firstRecords_.begin(), firstRecords_.end(), record);
    return static_cast<int>(it - firstRecords_.begin()) - 1;
}

int64_t RowIndex::firstRecordFrom(int step, int loop) const {
    const auto it = std::lower_bound(steps_.begin(), steps_.end(), step);
    const int position = static_cast<int>(it - steps_.begin());
    if (it == steps_.end()) return rowCount();
    return *it == step ? recordFrom(position, loop) : firstRecordAt(position);
}

bool RowIndex::isAfterLast(int step, int loop) const {
    if (steps_.empty()) return true;
    if (step != steps_.back()) return step > steps_.back();
    return loop > loops_.back();
}

int64_t RowIndex::append(int step, int loop) {
    if (steps_.empty() || steps_.back() != step) {
        steps_.push_back(step);
        firstRecords_.push_back(rowCount());
    }
    loops_.push_back(loop);
    return rowCount();
}

// A step left without records is dropped whole: it presented only loops
// before (step, loop), and the record that replaces them presents those again.
int64_t RowIndex::truncateFrom(int step, int loop) {
    auto it = std::lower_bound(steps_.begin(), steps_.end(), step);
    size_t keepSteps = static_cast<size_t>(it - steps_.begin());
    int64_t keepRecords = keepSteps < steps_.size() ? firstRecords_[keepSteps] : rowCount();
    if (it != steps_.end() && *it == step) {
        const int64_t end = recordFrom(static_cast<int>(keepSteps), loop);
        if (end > keepRecords) ++keepSteps;
        keepRecords = end;
    }
    steps_.resize(keepSteps);
    firstRecords_.resize(keepSteps);
    loops_.resize(static_cast<size_t>(keepRecords));
    return rowCount();
}

}  // namespace mon
