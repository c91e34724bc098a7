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
    // Inline, with the column found by floor only when the point leaves the
    // open one: a long history gives millions of points per request.
    void add(Point point) {
        if (count_ == 0 || !(point.x >= column_ && point.x < column_ + 1)) enterColumn(point);
        if (point.y < lowest_.y) lowest_ = point, lowestAt_ = count_;
        if (point.y > highest_.y) highest_ = point, highestAt_ = count_;
        last_ = point;
        ++count_;
    }
    // The kept points so far (the open column included); starts afresh.
    std::vector<Point> take();

  private:
    void enterColumn(Point point);
    void closeColumn();

    std::vector<Point> kept_;
    // The current column: its first, lowest, highest and last point, and
    // the order in which they came (index within the column).
    double column_ = 0;
    size_t count_ = 0;
    Point first_, lowest_, highest_, last_;
    size_t lowestAt_ = 0, highestAt_ = 0;
};

// Points in pixel coordinates, in drawing order.
std::vector<Point> reduceToPixelColumns(const std::vector<Point>& points);

}  // namespace plot
