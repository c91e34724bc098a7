#include "plot/LineReduction.h"

#include <algorithm>
#include <cmath>

namespace plot {

namespace {
// Appends the kept points of points[begin, end), which share a column.
void keepColumn(const std::vector<Point>& points, size_t begin, size_t end,
                std::vector<Point>& kept) {
    size_t lowest = begin, highest = begin;
    for (size_t i = begin + 1; i < end; ++i) {
        if (points[i].y < points[lowest].y) lowest = i;
        if (points[i].y > points[highest].y) highest = i;
    }
    size_t chosen[] = {begin, std::min(lowest, highest), std::max(lowest, highest), end - 1};
    size_t previous = end;
    for (size_t index : chosen) {
        if (index != previous) kept.push_back(points[index]);
        previous = index;
    }
}
}  // namespace

std::vector<Point> reduceToPixelColumns(const std::vector<Point>& points) {
    std::vector<Point> kept;
    size_t begin = 0;
    while (begin < points.size()) {
        const double column = std::floor(points[begin].x);
        size_t end = begin + 1;
        while (end < points.size() && std::floor(points[end].x) == column) ++end;
        keepColumn(points, begin, end, kept);
        begin = end;
    }
    return kept;
}

}  // namespace plot
