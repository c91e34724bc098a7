#pragma once
// Draws one line into one panel: its pieces clipped to the frame and reduced
// to pixel columns, and the markers of what a line alone would hide:
//   - +inf and -inf as triangles at the top and bottom edge, NaN as a
//     diamond on the X axis, each at the X of the first record of a stretch
//     of them; the line breaks there;
//   - on a logarithmic axis, a stretch of values that are zero or negative
//     as a triangle at the bottom edge (the line goes on past them);
//   - a stretch of values beyond the value range (a start-up transient left
//     out of it) as an open chevron at the edge, at the X of its extreme
//     value;
//   - the points of a sparse line (LineStats::sparse), joined over the
//     line's own records, when there are few enough to tell apart.
// A dense line breaks where it has no value. A line of round-off (LinePlan)
// is drawn at zero.

#include "plot/AxisTicks.h"
#include "plot/Canvas.h"
#include "plot/Figure.h"
#include "plot/LinePlan.h"

namespace plot {

struct Frame {
    double left = 0, top = 0, right = 0, bottom = 0;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
};

struct Mapping {
    Axis x, y;
    Frame frame;
    // The pixel of a value pair, kept within a band around the frame.
    Point at(double xValue, double yValue) const;
    double xAt(double xValue) const;
};

struct PlacedMarker {
    Point at;
    Marker shape;
};

// Draws the line's pieces (the caller clips them to the frame) and returns
// its markers, which the caller draws unclipped, over every line.
std::vector<PlacedMarker> drawLine(Canvas& canvas, const FigureLine& line, const LinePlan& plan,
                                   const Mapping& mapping, bool reduce);

}  // namespace plot
