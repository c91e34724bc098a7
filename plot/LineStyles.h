#pragma once
// The stroke of the n-th line of a plot: ten well separated colours, then
// the same colours dashed, dotted and dash-dotted, so that forty lines look
// different from each other before any style repeats.

#include "plot/Canvas.h"

namespace plot {

Stroke lineStroke(size_t index);

}  // namespace plot
