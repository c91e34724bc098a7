#include "plot/LineReduction.h"

#include <algorithm>
#include <cmath>

namespace plot {

namespace {
// Appends the kept points of a column's points.
void keepColumn(const std::vector<Point>& points, std::vector<Point>& kept) {
    size_t lowest = 0, highest = 0;
    for (size_t i = 1; i < points.size(); ++i) {
        if (points[i].y < points[lowest].y) lowest = i;
        if (points[i].y > points[highest].y) highest = i;
    }
    const size_t chosen[] = {0, std::min(lowest, highest), std::max(lowest, highest),
                             points.size() - 1};
    size_t previous = points.size();
    for (size_t index : chosen) {
        if (index != previous) kept.push_back(points[index]);
        previous = index;
    }
}
}  // namespace

void ColumnReducer::add(Point point) {
    if (!column_.empty() && std::floor(point.x) != std::floor(column_.front().x)) closeColumn();
    column_.push_back(point);
}

void ColumnReducer::closeColumn() {
    if (!column_.empty()) keepColumn(column_, kept_);
    column_.clear();
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
