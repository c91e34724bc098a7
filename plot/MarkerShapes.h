#pragma once
// The outlines of the markers, relative to the point they mark, shared by
// both back ends so that SVG, PNG and PDF draw the same shapes.

#include <string>
#include <vector>

#include "plot/Canvas.h"

namespace plot {

// A closed polygon around (0, 0), in pixels, y downwards.
const std::vector<Point>& markerOutline(Marker shape);
// The id of the shape's definition in an SVG document.
std::string markerId(Marker shape);

}  // namespace plot
