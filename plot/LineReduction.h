#pragma once
// Thins a line to what the pixels can show: of every run of consecutive
// points that fall into one pixel column it keeps the first, the lowest, the
// highest and the last, in their order. The polyline through the kept points
// covers the same pixels as the one through all points, so a million-point
// history draws as fast, and writes as small, as a few thousand points.

#include <vector>

#include "plot/Canvas.h"

namespace plot {

// Reduces points given one at a time, so that a long line never exists
// whole in pixel coordinates.
class ColumnReducer {
  public:
    void add(Point point);
    // The kept points so far (the open column included); starts afresh.
    std::vector<Point> take();

  private:
    void closeColumn();

    std::vector<Point> kept_;
    std::vector<Point> column_;  // the points of the current column
};

// Points in pixel coordinates, in drawing order.
std::vector<Point> reduceToPixelColumns(const std::vector<Point>& points);

}  // namespace plot
