#pragma once
// A figure line's X or Y values, read-only: a column of the line's own,
// one it shares with the other lines of its figure (their common X), or a
// view of a run's values where the line shows them as they are (one record
// per step), which then must outlive the figure. A long history's figure
// then takes a few megabytes instead of a copy of every line: fresh memory
// costs a page fault and the zeroing of each page.

#include <cstddef>
#include <memory>
#include <utility>

#include "libs/mondata/model/FloatColumn.h"

namespace plot {

class LineValues {
  public:
    LineValues() = default;
    explicit LineValues(mon::FloatColumn values)
        : LineValues(std::make_shared<const mon::FloatColumn>(std::move(values))) {}
    explicit LineValues(std::shared_ptr<const mon::FloatColumn> shared)
        : owner_(shared), begin_(shared->data()), size_(shared->size()) {}
    // A view of values kept elsewhere.
    LineValues(const float* begin, size_t size) : begin_(begin), size_(size) {}

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const float& operator[](size_t i) const { return begin_[i]; }
    const float* begin() const { return begin_; }
    const float* end() const { return begin_ + size_; }

  private:
    std::shared_ptr<const mon::FloatColumn> owner_;
    const float* begin_ = nullptr;
    size_t size_ = 0;
};

}  // namespace plot
