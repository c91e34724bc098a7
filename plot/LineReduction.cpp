#include "plot/LineReduction.h"

#include <algorithm>
#include <cmath>

namespace plot {

// Each point updates the column's four candidates as it comes, so that a
// long line is reduced without holding a column's points.
// The column of floor(x): the open one (an infinite x stays in its own), or
// a new one after the open one is closed.
void ColumnReducer::enterColumn(Point point) {
    const double column = std::floor(point.x);
    if (count_ > 0 && column != column_) closeColumn();
    if (count_ == 0) {
        column_ = column;
        first_ = lowest_ = highest_ = point;
        lowestAt_ = highestAt_ = 0;
    }
}

// Keeps the first, the lowest and the highest in their order, and the last,
// each once.
void ColumnReducer::closeColumn() {
    if (count_ == 0) return;
    const bool lowFirst = lowestAt_ <= highestAt_;
    const std::pair<size_t, Point> chosen[] = {
        {0, first_},
        lowFirst ? std::make_pair(lowestAt_, lowest_) : std::make_pair(highestAt_, highest_),
        lowFirst ? std::make_pair(highestAt_, highest_) : std::make_pair(lowestAt_, lowest_),
        {count_ - 1, last_}};
    size_t previous = count_;
    for (const auto& [index, point] : chosen) {
        if (index != previous) kept_.push_back(point);
        previous = index;
    }
    count_ = 0;
}

std::vector<Point> ColumnReducer::take() {
    closeColumn();
    std::vector<Point> points;
    points.swap(kept_);
    return points;
}

std::vector<Point> reduceToPixelColumns(const std::vector<Point>& points) {
    ColumnReducer reducer;
    for (const Point& point : points) reducer.add(point);
    return reducer.take();
}

}  // namespace plot
